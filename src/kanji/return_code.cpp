// Line-break conventions: detection by the first break, and replacement of
// every break of one convention by another.
#include "kanji/return_code.h"

namespace tabulo::kanji {
namespace {

std::string_view breakOf(int convention) {
    switch (convention) {
    case kReturnCrLf: return "\r\n";
    case kReturnCr: return "\r";
    case kReturnLf: return "\n";
    default: return {};
    }
}

}  // namespace

int ReturnCodeCheck(std::string_view text) {
    const std::size_t at = text.find_first_of("\r\n");
    if (at == std::string_view::npos) return kReturnNone;
    if (text[at] == '\n') return kReturnLf;
    return at + 1 < text.size() && text[at + 1] == '\n' ? kReturnCrLf : kReturnCr;
}

std::string StrictConvertReturnCode(std::string_view text, int source, int target) {
    const std::string_view from = breakOf(source);
    if (from.empty() || source == target) return std::string(text);
    const std::string_view to = breakOf(target);
    std::string out;
    out.reserve(text.size() + text.size() / 16);
    std::size_t pos = 0;
    for (std::size_t at; (at = text.find(from, pos)) != std::string_view::npos;
         pos = at + from.size()) {
        out.append(text, pos, at - pos);
        out.append(to);
    }
    out.append(text, pos);
    return out;
}

std::string ConvertReturnCode(std::string_view text, int target) {
    return StrictConvertReturnCode(text, ReturnCodeCheck(text), target);
}

}  // namespace tabulo::kanji
