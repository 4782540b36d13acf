// Steps of the line calculation that do not touch the window.
#include "calc/line_calculation.h"

#include "calc/result_format.h"
#include "sjis/sjis_char.h"

namespace tabulo::calc {

namespace {

enum class Blank { None, Space, Tab, FullWidthSpace };

Blank blankAt(std::string_view s, std::size_t pos, std::size_t len) {
    if (len == 2) {
        return s[pos] == '\x81' && s[pos + 1] == '\x40' ? Blank::FullWidthSpace : Blank::None;
    }
    if (s[pos] == ' ') return Blank::Space;
    if (s[pos] == '\t') return Blank::Tab;
    return Blank::None;
}

int graphTagOf(std::string_view s) {
    if (s.size() < 3 || s[0] != '[' || s[2] != ']') return -1;
    switch (s[1]) {
    case 'G': case 'g': return 0;
    case 'T': case 't': return 1;
    case 'R': case 'r': return 2;
    default: return -1;
    }
}

}  // namespace

std::string normaliseCalcText(std::string_view lineSjis) {
    // First pass finds the characters between the blanks at both ends; the
    // second copies them without spaces and full-width spaces.
    std::size_t begin = lineSjis.size();
    std::size_t end = 0;
    for (std::size_t i = 0; i < lineSjis.size();) {
        const std::size_t len = sjis::charLengthAtCheckingTrail(lineSjis, i);
        if (blankAt(lineSjis, i, len) == Blank::None) {
            if (begin == lineSjis.size()) begin = i;
            end = i + len;
        }
        i += len;
    }
    std::string out;
    for (std::size_t i = begin; i < end;) {
        const std::size_t len = sjis::charLengthAtCheckingTrail(lineSjis, i);
        const Blank blank = blankAt(lineSjis, i, len);
        if (blank != Blank::Space && blank != Blank::FullWidthSpace) out.append(lineSjis.substr(i, len));
        i += len;
    }
    return out;
}

std::string replaceCaretByPower(std::string_view textSjis) {
    std::string out;
    out.reserve(textSjis.size());
    for (std::size_t i = 0; i < textSjis.size();) {
        const std::size_t len = sjis::charLengthAtCheckingTrail(textSjis, i);
        if (len == 1 && textSjis[i] == '^') {
            out += "**";
        } else {
            out.append(textSjis.substr(i, len));
        }
        i += len;
    }
    return out;
}

LineCalcOutcome calculateLine(TExprCompo& calc, std::string_view lineSjis) {
    LineCalcOutcome outcome;
    outcome.normalised = normaliseCalcText(lineSjis);
    const int tag = graphTagOf(outcome.normalised);
    if (tag >= 0) {
        outcome.kind = LineCalcOutcome::Kind::GraphTag;
        outcome.graphTag = tag;
        outcome.graphSpec = outcome.normalised.substr(3);
        return outcome;
    }
    if (outcome.normalised.empty()) return outcome;
    outcome.normalised = replaceCaretByPower(outcome.normalised);
    calc.SetExpression(outcome.normalised);
    calc.Execute();
    if (!calc.Valid()) return outcome;
    if (calc.IsAssign()) {
        outcome.kind = LineCalcOutcome::Kind::Assignment;
    } else {
        outcome.kind = LineCalcOutcome::Kind::Value;
        outcome.resultText = formatResult(calc.Value());
    }
    return outcome;
}

void defineConstants(TExprCompo& calc) {
    static const char* const kConstants[] = {
        "pi=arcsin(1)*2", "e=exp(1)", "c=299792458", "g=9.80665", "deg=pi/180", "k=273.15", "hp=101325",
    };
    for (const char* assignment : kConstants) {
        calc.SetExpression(assignment);
        calc.Execute();
    }
}

}  // namespace tabulo::calc
