// Bytes as printable ASCII with \xNN escapes, for failure messages and
// fuzzer reports about Shift-JIS, EUC and JIS text.
#pragma once

#include <string>
#include <string_view>

namespace tabulo::testing {

inline std::string showBytes(std::string_view bytes) {
    static const char kHex[] = "0123456789ABCDEF";
    std::string out;
    for (const char ch : bytes) {
        const auto c = static_cast<unsigned char>(ch);
        if (c >= 0x20 && c < 0x7F && c != '\\') {
            out.push_back(static_cast<char>(c));
        } else {
            out += "\\x";
            out.push_back(kHex[c >> 4]);
            out.push_back(kHex[c & 15]);
        }
    }
    return out;
}

}  // namespace tabulo::testing
