#include "search/engine/grep_listing.h"

#include <charconv>

namespace tabulo::search {

namespace {
constexpr std::string_view kLinePrefix = "Line=";
constexpr std::string_view kLineSeparator = " \t";
}  // namespace

std::string listingLineOf(const regex::RE_LineInfo_t& hit) {
    std::string line(kLinePrefix);
    line += std::to_string(hit.LineNo);
    line += kLineSeparator;
    line += hit.Line;
    return line;
}

void appendListingEntry(std::vector<std::string>& lines, const std::string& fileLine,
                        const regex::RE_LineInfo_t& hit) {
    lines.push_back(fileLine);
    lines.push_back(listingLineOf(hit));
    lines.emplace_back();
}

std::optional<std::size_t> listingLineNumber(std::string_view line) {
    if (!line.starts_with(kLinePrefix)) return std::nullopt;
    const char* first = line.data() + kLinePrefix.size();
    const char* last = line.data() + line.size();
    std::size_t number = 0;
    const auto [end, error] = std::from_chars(first, last, number);
    if (error != std::errc() || end == first || *first == '+' || number == 0) return std::nullopt;
    if (std::string_view(end, static_cast<std::size_t>(last - end)).substr(0, kLineSeparator.size()) !=
        kLineSeparator) {
        return std::nullopt;
    }
    return number;
}

}  // namespace tabulo::search
