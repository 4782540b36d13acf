// The grep listing: for every matching line three document lines, the
// searched file's path, "Line=" with the line number, a space, a tab and the
// line's text, and an empty line.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "regex/txt_file.h"

namespace tabulo::search {

// "Line=12 \tabc" for a hit on line 12 reading abc.
std::string listingLineOf(const regex::RE_LineInfo_t& hit);

// Appends the three lines of one hit; fileLine is the path as the document
// shows it (Shift-JIS).
void appendListingEntry(std::vector<std::string>& lines, const std::string& fileLine,
                        const regex::RE_LineInfo_t& hit);

// The line number of a "Line=" line of a listing; nothing for any other line.
std::optional<std::size_t> listingLineNumber(std::string_view line);

}  // namespace tabulo::search
