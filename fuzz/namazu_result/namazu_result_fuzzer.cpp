// Fuzz target of the reading of namazu's output. Input: an index count byte,
// then the output as namazu wrote it (EUC-JP text with summary lines that
// start with a file path). The Shift-JIS document made of it keeps every
// line (as many line feeds), is bounded in size, and leaves printable ASCII
// text as it was; the no-index check never counts more failures than the
// output names.
#include <algorithm>
#include <string>

#include "common/fuzz_check.h"
#include "search/engine/namazu_command.h"

using tabulo::fuzz::check;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    tabulo::fuzz::ByteReader in(data, size);
    const std::size_t indexes = in.byte() % 4;
    const std::string output = in.rest();

    const std::string document = tabulo::search::namazuResultDocument(output);
    check(std::count(document.begin(), document.end(), '\n') == std::count(output.begin(), output.end(), '\n'),
          "the document keeps every line", output);
    // A character of EUC-JP or of a UTF-8 path becomes at most a few bytes.
    check(document.size() <= 4 * output.size() + 4, "the document is bounded by the output", output);
    const bool printable = std::all_of(output.begin(), output.end(), [](char c) {
        return c == '\n' || c == '\t' || (c >= 0x20 && c < 0x7F);
    });
    if (printable) check(document == output, "printable ASCII stays as it was", output);

    const bool noIndex = tabulo::search::namazuFoundNoIndex(output, indexes);
    if (output.find("(can't open the index)") == std::string::npos) {
        check(!noIndex, "no index is missing when namazu says so nowhere", output);
    }
    return 0;
}
