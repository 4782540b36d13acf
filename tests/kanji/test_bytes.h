// Small helpers for byte-string tests of the kanji code unit: readable
// failure output and fixture files.
#pragma once

#include <fstream>
#include <iterator>
#include <string>
#include <string_view>

namespace tabulo::kanji::testing {

// Shows bytes as printable ASCII with \xNN escapes, for failure messages.
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

inline std::string readFixture(const std::string& name) {
    std::ifstream file(std::string(TABULO_TEST_DATA_DIR) + "/kanji/" + name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), {});
}

}  // namespace tabulo::kanji::testing

// Compares byte strings and prints both escaped on failure.
#define EXPECT_BYTES(actual, expected)                                      \
    EXPECT_EQ(::tabulo::kanji::testing::showBytes(actual),                  \
              ::tabulo::kanji::testing::showBytes(expected))
#define ASSERT_BYTES(actual, expected)                                      \
    ASSERT_EQ(::tabulo::kanji::testing::showBytes(actual),                  \
              ::tabulo::kanji::testing::showBytes(expected))
