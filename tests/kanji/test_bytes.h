// Small helpers for byte-string tests of the kanji code unit: readable
// failure output and fixture files.
#pragma once

#include <fstream>
#include <iterator>
#include <string>
#include <string_view>

#include "support/show_bytes.h"

namespace tabulo::kanji::testing {

using ::tabulo::testing::showBytes;

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
