// The "関数の行数(C,C++)" report: for every C or C++ function of a text, the
// number of non-blank lines of its body, found only from braces in the first
// column, so it works on any source without parsing it.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "textops/line_command.h"

namespace tabulo::textops {

// The name a line would give the function it declares: the last identifier
// (ASCII letters, digits, '_', not starting with a digit) before the first
// '('; empty when the line has no '(' or a '#' comes first. Double-byte
// characters are skipped whole, so their trail bytes never count as letters.
std::string functionNameOfLine(std::string_view line);

struct FunctionReport {
    std::string text;  // one "%5d\t%s\n" line per function: body length, name
    bool stopped = false;
};

// Reads every line of the text in order. A body runs from a line starting
// with '{' to the next line starting with '}'; it is reported when that line
// has no ';' (not the end of a struct or initialiser) and at least one
// non-blank line stands between the previous first-column brace (or the start
// of the text) and the '{'. Progress is reported after every line (count is
// the number of functions reported so far); a stopped run returns the report
// lines written until then.
FunctionReport countFunctionLines(const std::vector<std::string>& lines, const ProgressFn& progress = {});

}  // namespace tabulo::textops
