// The graph specification: one line of curve texts separated by ";". Before
// sampling it is cleaned of blanks, checked against the size limits and
// rewritten so that the sampling variables x and t become the calculator
// variables _X_ and _T_; each curve then yields the expressions to evaluate
// and the label written beside the graph. All text is Shift-JIS bytes and is
// walked by characters, so a trail byte that looks like x, t or ^ is never
// touched.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "graph/engine/graph_kind.h"

namespace tabulo::graph {

inline constexpr std::size_t kMaxSpecificationBytes = 1022;
inline constexpr std::size_t kMaxCurveBytes = 255;

// Over-long specifications are refused as a whole, never cut: a cut curve
// text would draw a different function than the one written.
enum class SpecificationStatus { Ok, Empty, TooLong, CurveTooLong };

// The message shown for a refused specification (UTF-8); empty for Ok and
// Empty.
const char* specificationMessage(SpecificationStatus status);

struct CurveExpressions {
    std::string x;  // Parametric: before the first ","; Polar: r; Function: empty
    std::string y;  // Function: f(x); Parametric: after the first ","; Polar: r
    std::string label;
};

struct PreparedSpecification {
    SpecificationStatus status = SpecificationStatus::Empty;
    // In drawing order: the last curve text first.
    std::vector<CurveExpressions> curves;
};

// Replaces every occurrence of `from` that starts on a character boundary,
// repeating on the result until none is left.
std::string replaceAllRepeated(std::string_view text, std::string_view from, std::string_view to);

// Cleaning, ";" in front, and the rewrite rules: ^ -> **, x -> _X_,
// t -> _T_, e_X_p -> exp, _T_an -> tan, sqr_T_ -> sqrt.
std::string rewriteSpecification(std::string_view cleaned);

// The label of one curve from its (rewritten) expressions.
std::string curveLabel(GraphKind kind, std::string_view xExpression, std::string_view yExpression);

PreparedSpecification prepareSpecification(std::string_view specificationSjis, GraphKind kind);

}  // namespace tabulo::graph
