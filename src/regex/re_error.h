// The exception every pattern error raises: the message the user is shown
// and the 1-based byte position in the pattern where the error was found.
#pragma once

#include <cstddef>
#include <stdexcept>
#include <string>

namespace tabulo::regex {

class ERegExpParser : public std::runtime_error {
public:
    ERegExpParser(const std::string& message, std::size_t position)
        : std::runtime_error(message), m_position(position) {}

    std::size_t position() const { return m_position; }

private:
    std::size_t m_position;
};

namespace messages {
inline constexpr const char* kBadDoubleByte = "不正な２バイト文字コードです。";
inline constexpr const char* kBackslashAtEnd = "\"\\\"の次には文字が必要です。";
inline constexpr const char* kBadHex = "不正な１６進数コード表記です。";
inline constexpr const char* kBadOctal = "不正な８進数コード表記です。";
inline constexpr const char* kNoRightBracket = "右ブラケット\"]\"が必要です";
inline constexpr const char* kBadRange = "不正なキャラクタ範囲です";
inline constexpr const char* kBadClass = "不正なキャラクタクラス指定です。";
inline constexpr const char* kNoRightParen = "右(閉じ)括弧が必要です";
inline constexpr const char* kAtomNeeded = "普通の文字、または左括弧\"(\"が必要です";
inline constexpr const char* kExtraChars = "正規表現に余分な文字があります";
// Resource bounds (regex/re_limits.h): a pattern beyond them is refused
// rather than compiled in unbounded memory or stack.
inline constexpr const char* kTooLong = "正規表現が長すぎます";
inline constexpr const char* kTooDeep = "括弧の入れ子が深すぎます";
}  // namespace messages

}  // namespace tabulo::regex
