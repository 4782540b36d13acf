// The line calculation's own texts (UTF-8), for the window and the command
// line alike.
#pragma once

namespace tabulo::calc {

inline constexpr const char* kNotExpressionMessage = "関数・計算式ではありません";
// Follows the normalised assignment: "r=12 を記憶しました".
inline constexpr const char* kStoredSuffix = " を記憶しました";
// Around the graph specification: "関数 x^2 をグラフで表しますか？".
inline constexpr const char* kGraphQuestionPrefix = "関数 ";
inline constexpr const char* kGraphQuestionSuffix = " をグラフで表しますか？";

}  // namespace tabulo::calc
