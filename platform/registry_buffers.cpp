#include "registry_buffers.h"

RegistryBuffers FirstRegistryBuffers(uint32_t longestName, uint32_t longestData) {
    const uint64_t name = 2 * static_cast<uint64_t>(longestName) + 2;
    return RegistryBuffers{name < kLargestValueName ? static_cast<uint32_t>(name) : kLargestValueName,
                           longestData < kLargestValueData ? longestData + 2 : kLargestValueData};
}

bool GrowRegistryBuffers(RegistryBuffers* buffers, uint32_t dataNeeded) {
    if (dataNeeded > buffers->data) {
        if (dataNeeded > kLargestValueData) return false;
        buffers->data = dataNeeded + 2;
        return true;
    }
    if (buffers->name >= kLargestValueName) return false;
    const uint64_t doubled = 2 * static_cast<uint64_t>(buffers->name);
    buffers->name = doubled < kLargestValueName ? static_cast<uint32_t>(doubled) : kLargestValueName;
    return true;
}
