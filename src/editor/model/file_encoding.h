// The encoding of the file a document came from. The document itself is
// always Shift-JIS; a document converted from a UTF-8 file remembers it, so
// that a save can offer to write UTF-8 back.
#pragma once

#include <string_view>

namespace tabulo::editor {

enum class FileEncoding { ShiftJis, Utf8 };

// "Shift-JIS", "UTF-8": how the program names the encoding to the user.
constexpr std::string_view fileEncodingName(FileEncoding encoding) {
    return encoding == FileEncoding::Utf8 ? "UTF-8" : "Shift-JIS";
}

}  // namespace tabulo::editor
