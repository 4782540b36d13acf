// The line calculation command (F9, Ctrl+Enter): evaluates the caret's line
// and writes the result below it, stores assignments, or offers to draw a
// graph for a line that starts with a graph tag.
#include "app/main_window.h"
#include "calc/calc_messages.h"
#include "calc/line_calculation.h"
#include "graph/window/func_window.h"
#include "sjis/sjis_codec.h"
#include "platform/error_handler.h"
#include "platform/folders.h"

namespace tabulo::app {

namespace {

QString fromSjis(const std::string& bytes) {
    return QString::fromStdString(sjis::SjisCodec::instance().toUtf8(bytes));
}

}  // namespace

bool TfmTabulo::calculateLine() {
    const int line = m_document.LineIndexOfRow(m_document.Row());
    if (line < 0 || line >= m_document.Lines().Count()) return false;
    // An arithmetic fault leaves here for the general error handler; the
    // document is untouched then.
    const calc::LineCalcOutcome outcome = calc::calculateLine(m_calc, m_document.Lines().Get(line));
    switch (outcome.kind) {
    case calc::LineCalcOutcome::Kind::NotExpression:
        return false;
    case calc::LineCalcOutcome::Kind::GraphTag: {
        m_tag = outcome.graphTag;
        const QString question = QString::fromUtf8(calc::kGraphQuestionPrefix) + fromSjis(outcome.graphSpec) +
                                 QString::fromUtf8(calc::kGraphQuestionSuffix);
        const platform::Answer answer = platform::prompts().confirm(
            question, QString::fromStdString(platform::programFileName()), platform::Buttons::YesNo);
        if (answer == platform::Answer::Yes) {
            const std::string specification = calc::normaliseCalcText(outcome.graphSpec);
            showGraphWindow(&specification);
        }
        return true;
    }
    case calc::LineCalcOutcome::Kind::Value:
        if (line + 1 < m_document.Lines().Count()) {
            m_document.Lines().Insert(line + 1, outcome.resultText);
        } else {
            m_document.Lines().Add(outcome.resultText);
        }
        showRowsUpTo(m_document.firstRowOfLine(line + 2) - 1);  // the result, below the line
        return true;
    case calc::LineCalcOutcome::Kind::Assignment:
        platform::prompts().message(fromSjis(outcome.normalised) + QString::fromUtf8(calc::kStoredSuffix));
        // Curves that use the variable follow its new value.
        if (m_func->isVisible()) m_func->redraw();
        return true;
    }
    return false;
}

void TfmTabulo::showRowsUpTo(int row) {
    const int bottom = m_document.TopRow() + m_document.VisibleRows() - 1;
    if (row > bottom) m_document.SetTopRow(m_document.TopRow() + row - bottom);
}

void TfmTabulo::runLineCalculation() {
    if (!calculateLine()) platform::prompts().message(QString::fromUtf8(calc::kNotExpressionMessage));
}

}  // namespace tabulo::app
