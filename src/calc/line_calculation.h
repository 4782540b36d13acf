// The line calculation without the window: normalise one line of the
// document, recognise a graph tag, turn "^" into "**", evaluate, and say what
// the window has to do (insert a result, report a stored variable, ask about
// a graph, or say the line is not an expression). Also the seven predefined
// constants. The window's F9 and `tabulo-cli calc` both call this.
#pragma once

#include <string>
#include <string_view>

#include "calc/expr_compo.h"

namespace tabulo::calc {

struct LineCalcOutcome {
    enum class Kind { NotExpression, Value, Assignment, GraphTag };
    Kind kind = Kind::NotExpression;
    std::string normalised;  // the line after trim/blank removal (and ^ -> ** for expressions)
    std::string resultText;  // Kind::Value: formatResult(Value)
    int graphTag = -1;       // Kind::GraphTag: 0 G, 1 T, 2 R
    std::string graphSpec;   // Kind::GraphTag: normalised without its first three characters
};

// Evaluates one line (Shift-JIS bytes, without its line break). Arithmetic
// faults leave as ECalcFault; nothing is stored then.
LineCalcOutcome calculateLine(TExprCompo& calc, std::string_view lineSjis);

// Trims spaces, tabs and full-width spaces at both ends, then removes every
// space and full-width space left inside; tabs inside stay.
std::string normaliseCalcText(std::string_view lineSjis);

// Replaces every single-byte "^" character by "**"; the trail byte 0x5E of a
// double-byte character (as in タ) is left alone.
std::string replaceCaretByPower(std::string_view textSjis);

// Evaluates the assignments of pi, e, c, g, deg, k and hp, in that order.
void defineConstants(TExprCompo& calc);

}  // namespace tabulo::calc
