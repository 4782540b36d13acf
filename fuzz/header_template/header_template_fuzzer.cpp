// Fuzz target of the print header and footer templates. Input: a page
// number byte, a file-name length byte, the file name, then the template.
// Expanding must not crash; a template in which every "%" is doubled gives
// the text back (for well-formed Shift-JIS, where no trail byte is a "%");
// "%p", "%f" and "%%" give the page number, the file name and "%"; and the
// result is never longer than the template with every field at its widest.
#include <string>

#include "common/fuzz_check.h"
#include "print/engine/header_template.h"

using tabulo::fuzz::check;
using tabulo::print::DateTime;
using tabulo::print::ParseHeader;

namespace {

bool isLead(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }
bool isTrail(unsigned char b) { return b >= 0x40 && b <= 0xFC && b != 0x7F; }

bool wellFormed(const std::string& text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (!isLead(static_cast<unsigned char>(text[i]))) continue;
        if (i + 1 >= text.size() || !isTrail(static_cast<unsigned char>(text[i + 1]))) return false;
        ++i;
    }
    return true;
}

std::string doublePercents(const std::string& text) {
    std::string out;
    for (const char c : text) {
        out += c;
        if (c == '%') out += '%';
    }
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    tabulo::fuzz::ByteReader in(data, size);
    const int page = in.byte() * 37;
    const std::string fileName = in.take(in.byte());
    const std::string templ = in.rest();
    const DateTime when{2026, 12, 11, 9, 5, 7};

    const std::string expanded = ParseHeader(templ, page, fileName, when);
    // Each "%" and the character after it (at most two bytes) give at most
    // the file name or a number; every other byte gives itself.
    const std::size_t widest = std::max<std::size_t>(fileName.size(), 12);
    check(expanded.size() <= templ.size() * std::max<std::size_t>(widest, 1) + widest,
          "an expansion is bounded by the template and its fields", templ);

    if (wellFormed(templ)) {
        check(ParseHeader(doublePercents(templ), page, fileName, when) == templ,
              "a template with every % doubled expands to itself", templ);
    }
    check(ParseHeader("%p", page, fileName, when) == std::to_string(page), "%p is the page number");
    check(ParseHeader("%f", page, fileName, when) == fileName, "%f is the file name", fileName);
    check(ParseHeader("[%%]", page, fileName, when) == "[%]", "%% is one %");
    return 0;
}
