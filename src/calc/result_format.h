// The text the line calculation writes for a result: 15 significant digits,
// fixed notation for decimal exponents -3..15 (value = 0.d1d2... x 10^E),
// scientific notation ("1.5E-7", "1E15") otherwise. Independent of the
// process locale.
#pragma once

#include <string>

namespace tabulo::calc {

// Non-finite values, which the evaluator never returns, are written "INF",
// "-INF" and "NAN".
std::string formatResult(long double value);

}  // namespace tabulo::calc
