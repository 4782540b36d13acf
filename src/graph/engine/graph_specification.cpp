#include "graph/engine/graph_specification.h"

#include "calc/line_calculation.h"
#include "sjis/sjis_char.h"

namespace tabulo::graph {

namespace {

// The position of the first occurrence of `from` that starts on a character
// boundary, or npos.
std::size_t findAtCharacter(std::string_view text, std::string_view from) {
    for (std::size_t i = 0; i < text.size(); i += sjis::charLengthAtCheckingTrail(text, i)) {
        if (text.substr(i, from.size()) == from) return i;
    }
    return std::string_view::npos;
}

std::vector<std::string_view> splitCurves(std::string_view text) {
    std::vector<std::string_view> pieces;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= text.size();) {
        if (i == text.size() || text[i] == ';') {
            if (i > start) pieces.push_back(text.substr(start, i - start));
            start = i + 1;
            ++i;
        } else {
            i += sjis::charLengthAtCheckingTrail(text, i);
        }
    }
    return pieces;
}

}  // namespace

const char* specificationMessage(SpecificationStatus status) {
    switch (status) {
    case SpecificationStatus::TooLong: return "関数式が長すぎます（全体で1022バイトまでです）";
    case SpecificationStatus::CurveTooLong: return "関数式が長すぎます（１つの式は255バイトまでです）";
    case SpecificationStatus::Ok:
    case SpecificationStatus::Empty: break;
    }
    return "";
}

std::string replaceAllRepeated(std::string_view text, std::string_view from, std::string_view to) {
    std::string out(text);
    for (std::size_t pos = findAtCharacter(out, from); pos != std::string_view::npos; pos = findAtCharacter(out, from)) {
        out.replace(pos, from.size(), to);
    }
    return out;
}

std::string rewriteSpecification(std::string_view cleaned) {
    std::string text = ";" + calc::replaceCaretByPower(cleaned);
    text = replaceAllRepeated(text, "x", "_X_");
    text = replaceAllRepeated(text, "t", "_T_");
    text = replaceAllRepeated(text, "e_X_p", "exp");
    text = replaceAllRepeated(text, "_T_an", "tan");
    text = replaceAllRepeated(text, "sqr_T_", "sqrt");
    return text;
}

std::string curveLabel(GraphKind kind, std::string_view xExpression, std::string_view yExpression) {
    const std::string x = replaceAllRepeated(xExpression, "**", "^");
    const std::string y = replaceAllRepeated(yExpression, "**", "^");
    std::string label;
    switch (kind) {
    case GraphKind::Parametric: label = "x=" + x + " : y=" + y; break;
    case GraphKind::Polar: label = "r=" + y; break;
    default: label = "y=" + y; break;
    }
    label = replaceAllRepeated(label, "_X_", "x");
    return replaceAllRepeated(label, "_T_", "t");
}

PreparedSpecification prepareSpecification(std::string_view specificationSjis, GraphKind kind) {
    PreparedSpecification prepared;
    if (specificationSjis.empty()) return prepared;
    const std::string cleaned = calc::normaliseCalcText(specificationSjis);
    if (cleaned.size() > kMaxSpecificationBytes) {
        prepared.status = SpecificationStatus::TooLong;
        return prepared;
    }
    for (std::string_view piece : splitCurves(cleaned)) {
        if (piece.size() > kMaxCurveBytes) {
            prepared.status = SpecificationStatus::CurveTooLong;
            return prepared;
        }
    }
    const std::string text = rewriteSpecification(cleaned);
    const std::vector<std::string_view> pieces = splitCurves(text);
    prepared.status = pieces.empty() ? SpecificationStatus::Empty : SpecificationStatus::Ok;
    for (auto piece = pieces.rbegin(); piece != pieces.rend(); ++piece) {
        CurveExpressions curve;
        if (kind == GraphKind::Parametric) {
            const std::size_t comma = findAtCharacter(*piece, ",");
            if (comma == std::string_view::npos) {
                curve.y = std::string(*piece);
            } else {
                curve.x = std::string(piece->substr(0, comma));
                curve.y = std::string(piece->substr(comma + 1));
            }
        } else if (kind == GraphKind::Polar) {
            curve.x = curve.y = std::string(*piece);
        } else {
            curve.y = std::string(*piece);
        }
        curve.label = curveLabel(kind, curve.x, curve.y);
        prepared.curves.push_back(std::move(curve));
    }
    return prepared;
}

}  // namespace tabulo::graph
