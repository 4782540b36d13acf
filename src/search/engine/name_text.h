// File names where they meet documents. The file system spells names in
// UTF-8; a document is Shift-JIS. A name written into a document (a grep
// listing, a Cat header) is converted to Shift-JIS, and a name read from a
// document (the tag jump) is converted back. A character that has no form on
// the other side keeps its bytes, so no name is ever lost to a conversion.
#pragma once

#include <string>
#include <string_view>

namespace tabulo::search {

// UTF-8 file-system bytes to Shift-JIS document text.
std::string documentTextOfFileName(std::string_view fileName);

// Shift-JIS document text to UTF-8 file-system bytes.
std::string fileNameOfDocumentText(std::string_view text);

}  // namespace tabulo::search
