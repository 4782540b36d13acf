// The texts the line commands show: questions, result messages and the
// status-bar words of a running command. Messages are UTF-8 for the window;
// the result message is shown only when its count is not 0.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace tabulo::textops {

inline constexpr std::string_view kSortConfirmText = "行の先頭をキーにして並び替えをします";
inline constexpr std::string_view kSortWarningSuffix = "行を本当にSortしますか？時間がかかるよ！";
inline constexpr std::string_view kOutOfMemoryText = "作業メモリーの確保が出来ませんでした";
inline constexpr std::string_view kNoDigitsText = "数字桁数の指定 * がありません";
inline constexpr std::string_view kDeletedSuffix = "行削除しました";
inline constexpr std::string_view kProcessedSuffix = "行処理しました";

// Status-bar words of the running commands (first panel).
inline constexpr std::string_view kStatusGetMemory = "Get Memory";
inline constexpr std::string_view kStatusDeleteDuplicates = "Del Line";
inline constexpr std::string_view kStatusDeleteBlanks = "Del Null";
inline constexpr std::string_view kStatusTrim = "Del SpLine";
inline constexpr std::string_view kStatusCountFunctions = "Count Function";

// The warning before sorting a document of more than kSortWarningLineCount lines.
inline std::string sortWarningText(std::size_t documentLineCount) {
    return std::to_string(documentLineCount) + std::string(kSortWarningSuffix);
}

// "Sorting i/n": i is the 0-based index of the line just placed, n the document's line count.
inline std::string sortingStatusText(std::size_t index, std::size_t documentLineCount) {
    return "Sorting " + std::to_string(index) + "/" + std::to_string(documentLineCount);
}

// "Add " followed by InsertSequence::label() (Shift-JIS bytes for the status bar).
inline std::string insertStatusText(std::string_view label) {
    return "Add " + std::string(label);
}

// "3行削除しました" / "3行処理しました"; nullopt when count is 0 (no message then).
inline std::optional<std::string> countMessage(std::size_t count, std::string_view suffix) {
    if (count == 0) return std::nullopt;
    return std::to_string(count) + std::string(suffix);
}

}  // namespace tabulo::textops
