// Any line of a record of starts: the checker's reader never crashes on it,
// and what it reads back is written and read again unchanged.
#include "fuzz_support.h"
#include "run_record.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    RecordLine line;
    if (!ParseRecordLine(text, &line)) return 0;
    const std::string written = FormatRecordLine(line);
    RecordLine again;
    FUZZ_CHECK(ParseRecordLine(written, &again));
    FUZZ_CHECK(FormatRecordLine(again) == written);
    FUZZ_CHECK(again.list == line.list && again.entry == line.entry && again.outcome == line.outcome);
    return 0;
}
