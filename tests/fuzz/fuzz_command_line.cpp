// Any bytes as the platform's command line: name removal, the tokenizer and
// the switch parser must neither crash nor read out of bounds.
#include "command_line.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FreshState();
    const std::string line(reinterpret_cast<const char*>(data), size);
    CommandTail = RemoveProgramName(line);
    FUZZ_CHECK(CommandTail.size() <= line.size());

    // ParameterAt walks the same parameters as the tokenizer.
    size_t position = 0;
    Parameter parameter;
    int count = 0;
    while (NextParameter(CommandTail, &position, &parameter) && count < 64) {
        ++count;
        FUZZ_CHECK(ParameterAt(count) == parameter.text);
        FUZZ_CHECK(parameter.rawStart <= parameter.rawEnd && parameter.rawEnd <= CommandTail.size());
    }
    const bool help = AsksForHelp(CommandTail);
    FUZZ_CHECK(ParseCommandLine() == !help);
    FUZZ_CHECK(Fake.boxes.size() == (help ? 1u : 0u));
    return 0;
}
