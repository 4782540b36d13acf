// Runs the line calculation over a whole text, line by line, and writes what
// F9 would show or insert for each line, one output line per input line that
// is not blank: the result, "<line> を記憶しました", the graph question, "関数・
// 計算式ではありません" or an arithmetic fault's message. Variables persist from
// line to line. This is the engine of `tabulo-cli calc`.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "calc/expr_compo.h"

namespace tabulo::calc {

// Converts one of the calculator's UTF-8 texts to Shift-JIS.
using Utf8ToSjis = std::function<std::string(std::string_view utf8)>;

// What one line (without its break) gives: nothing for a blank line,
// otherwise the report line without its break.
std::optional<std::string> calculationReport(TExprCompo& calc, std::string_view lineSjis, const Utf8ToSjis& toSjis);

// textSjis: Shift-JIS lines broken by CR LF, lone CR or lone LF; a 0x1A byte
// ends the text. Returns Shift-JIS lines, each ended by LF.
std::string calculateText(TExprCompo& calc, std::string_view textSjis, const Utf8ToSjis& toSjis);

}  // namespace tabulo::calc
