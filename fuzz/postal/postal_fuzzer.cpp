// Fuzz target of the KEN_ALL reader and the postal conversion. Input: a
// flags byte, a length byte pair and that many bytes of the address file,
// then lines to convert (split at line feeds). With flag 1 a well-formed
// record is added whose code is the first seven digits of the input and
// whose names are the first line's words, so that both conversions find it.
// A line that is not converted stays as it was; a converted code line starts
// with the postal mark; a line grows by at most the address file's longest
// record past the line limit; a refused address raises only the pattern
// error.
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "common/fuzz_check.h"
#include "regex/re_error.h"
#include "search/engine/postal_conversion.h"

using namespace tabulo::search;
using tabulo::fuzz::check;

namespace {

const std::string& scratchFile() {
    static const std::string path = tabulo::fuzz::scratchPath("postal");
    return path;
}

std::vector<std::string> splitAt(const std::string& text, char separator) {
    std::vector<std::string> pieces(1);
    for (const char c : text) {
        if (c == separator) {
            pieces.emplace_back();
        } else {
            pieces.back() += c;
        }
    }
    return pieces;
}

std::string quoted(const std::string& field) { return "\"" + field + "\""; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    tabulo::fuzz::ByteReader in(data, size);
    const std::uint8_t flags = in.byte();
    const std::size_t fileBytes = in.byte() * 256u + in.byte();
    std::string file = in.take(fileBytes);
    const std::vector<std::string> lines = splitAt(in.rest(), '\n');

    if (flags & 1) {
        std::string digits;
        for (const char c : lines.front()) {
            if (c >= '0' && c <= '9' && digits.size() < 7) digits += c;
        }
        digits.resize(7, '0');
        std::vector<std::string> names = splitAt(lines.front(), ' ');
        names.resize(3);
        file += "\r\n13113,\"150  \"," + quoted(digits) + ",\"a\",\"b\",\"c\"," + quoted(names[0]) + "," +
                quoted(names[1]) + "," + quoted(names[2]) + ",0,0,0,0,0,0\r\n";
    }
    std::size_t longestRecord = 0;
    for (const std::string& record : splitAt(file, '\n')) longestRecord = std::max(longestRecord, record.size());
    std::ofstream(scratchFile(), std::ios::binary | std::ios::trunc) << file;

    PostalConverter converter;
    for (const std::string& original : lines) {
        std::string line = original;
        PostalStatus status = PostalStatus::NotFound;
        try {
            status = converter.convert(line, scratchFile());
        } catch (const tabulo::regex::ERegExpParser&) {
            check(line == original, "a refused address leaves the line as it was", original);
            continue;
        }
        check(status != PostalStatus::MissingFile, "the address file is there", original);
        if (status == PostalStatus::NotFound || status == PostalStatus::EmptyLine ||
            status == PostalStatus::BadAddress) {
            check(line == original, "a line that is not converted stays as it was", original);
        } else {
            check(line.compare(0, 2, "\x81\xa7") == 0, "a converted line starts with the postal mark", line);
        }
        check(line.size() <= original.size() + 256 + longestRecord, "a line grows by a bounded amount", line);
    }
    std::remove(scratchFile().c_str());
    return 0;
}
