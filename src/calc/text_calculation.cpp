// Line splitting and the report line for each calculation outcome.
#include "calc/text_calculation.h"

#include "calc/calc_exception.h"
#include "calc/calc_messages.h"
#include "calc/line_calculation.h"

namespace tabulo::calc {

namespace {

std::string reportLine(TExprCompo& calc, std::string_view line, const Utf8ToSjis& toSjis) {
    try {
        const LineCalcOutcome outcome = calculateLine(calc, line);
        switch (outcome.kind) {
        case LineCalcOutcome::Kind::Value: return outcome.resultText;
        case LineCalcOutcome::Kind::Assignment: return outcome.normalised + toSjis(kStoredSuffix);
        case LineCalcOutcome::Kind::GraphTag:
            return toSjis(kGraphQuestionPrefix) + outcome.graphSpec + toSjis(kGraphQuestionSuffix);
        case LineCalcOutcome::Kind::NotExpression: break;
        }
        return toSjis(kNotExpressionMessage);
    } catch (const ECalcFault& fault) {
        return toSjis(fault.what());
    }
}

}  // namespace

std::optional<std::string> calculationReport(TExprCompo& calc, std::string_view lineSjis, const Utf8ToSjis& toSjis) {
    if (normaliseCalcText(lineSjis).empty()) return std::nullopt;
    return reportLine(calc, lineSjis, toSjis);
}

std::string calculateText(TExprCompo& calc, std::string_view textSjis, const Utf8ToSjis& toSjis) {
    const std::size_t eof = textSjis.find('\x1A');
    if (eof != std::string_view::npos) textSjis = textSjis.substr(0, eof);
    std::string out;
    std::size_t pos = 0;
    while (pos < textSjis.size()) {
        const std::size_t brk = textSjis.find_first_of("\r\n", pos);
        const std::size_t lineEnd = brk == std::string_view::npos ? textSjis.size() : brk;
        const std::string_view line = textSjis.substr(pos, lineEnd - pos);
        pos = lineEnd;
        if (pos < textSjis.size()) {
            pos += textSjis.compare(pos, 2, "\r\n") == 0 ? 2 : 1;
        }
        if (std::optional<std::string> report = calculationReport(calc, line, toSjis)) {
            out += *report;
            out += '\n';
        }
    }
    return out;
}

}  // namespace tabulo::calc
