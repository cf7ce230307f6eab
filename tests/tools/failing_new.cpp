// Linked into a test build of Postpone only: operator new fails (throws
// std::bad_alloc) once POSTPONE_TEST_ALLOC_LIMIT allocations have been made,
// so that a test can run out of memory at every point of a run.
#include <windows.h>

#include <cstdlib>
#include <new>

namespace {

long allocationsLeft = -2;  // -2: not read yet; -1: no limit

bool MayAllocate() {
    if (allocationsLeft == -2) {
        char value[32];
        const DWORD length = GetEnvironmentVariableA("POSTPONE_TEST_ALLOC_LIMIT", value, sizeof value);
        allocationsLeft = (length > 0 && length < sizeof value) ? std::atol(value) : -1;
    }
    if (allocationsLeft == -1) return true;
    if (allocationsLeft == 0) return false;
    --allocationsLeft;
    return true;
}

}  // namespace

void* operator new(std::size_t size) {
    void* memory = MayAllocate() ? std::malloc(size ? size : 1) : nullptr;
    if (memory == nullptr) throw std::bad_alloc();
    return memory;
}

void* operator new[](std::size_t size) {
    return operator new(size);
}

void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    return MayAllocate() ? std::malloc(size ? size : 1) : nullptr;
}

void* operator new[](std::size_t size, const std::nothrow_t& tag) noexcept {
    return operator new(size, tag);
}

void operator delete(void* memory) noexcept {
    std::free(memory);
}

void operator delete[](void* memory) noexcept {
    std::free(memory);
}

void operator delete(void* memory, std::size_t) noexcept {
    std::free(memory);
}

void operator delete[](void* memory, std::size_t) noexcept {
    std::free(memory);
}
