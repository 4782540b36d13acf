// The insert-strings command: a fixed string, numbers from a template, or
// the members of a sequence inserted at one column of every line of the
// line range, the column shown as a red line while the dialog is open.
#include "app/insert_str_dialog.h"
#include "app/main_window.h"
#include "app/progress_pump.h"
#include "app/window_placement.h"
#include "editor/view/editor_view.h"
#include "sjis/sjis_codec.h"
#include "platform/error_handler.h"
#include "platform/typed_text.h"
#include "textops/insert_strings.h"
#include "textops/messages.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QSpinBox>

namespace tabulo::app {

void TfmTabulo::registerInsertCommands() {
    m_insertStr = new TfmInsertStr(this);
    connect(m_insertStr, &TfmInsertStr::columnShown, this,
            [this](std::optional<int> column) {
                std::vector<editor::TEditor::TVerticalLine> lines;
                if (column) lines.push_back({*column, Qt::red});
                m_editor->setVerticalLines(std::move(lines));
            });
    addCommand(QStringLiteral("AddString"), [this](QAction*) { insertStringsCommand(); });
}

void TfmTabulo::insertStringsCommand() {
    editor::widenToWholeLines(m_document);
    m_insertStr->prepare(m_document.VisibleColumns());
    m_insertStr->adjustSize();
    m_insertStr->move(placeDialog(frameGeometry(), m_insertStr->frameGeometry(), 0).topLeft());
    m_runDialog(*m_insertStr);
    if (m_insertStr->result() != QDialog::Accepted) return;

    editor::widenToWholeLines(m_document);
    const auto& codec = sjis::SjisCodec::instance();
    const std::string text = platform::sjisOfTypedText(m_insertStr->textEdit().text());
    const std::optional<textops::InsertSequence> sequence = textops::InsertSequence::make(m_insertStr->kind(), text);
    if (!sequence) {
        platform::prompts().message(QString::fromUtf8(textops::kNoDigitsText.data(),
                                                      static_cast<qsizetype>(textops::kNoDigitsText.size())));
        return;
    }
    const std::int64_t caretTarget = m_document.SelStart() + m_document.SelLength();
    const std::size_t lineCount = static_cast<std::size_t>(m_document.Lines().Count());
    const QString status = QString::fromStdString(codec.toUtf8(textops::insertStatusText(sequence->label())));
    showProgress(status, QString());
    const std::optional<editor::LineRange> range = editor::lineRange(m_document);
    if (!range) return;
    std::vector<std::string> lines = linesOf(range->first, range->last);

    beginBulkEdit(true);
    ProgressPump pump(m_bulk, [this](const QString& a, const QString& b) { showProgress(a, b); });
    textops::InsertOptions options;
    options.column = static_cast<std::size_t>(m_insertStr->columnSpin().value());
    options.intoEmptyLines = m_insertStr->insertIntoEmptyLines().isChecked();
    const textops::LineResult result =
        textops::insertStrings(lines, {0, lines.size() - 1}, *sequence, options, [&](const textops::Progress& p) {
            return pump.step([&] {
                const std::size_t index = static_cast<std::size_t>(range->first) + p.line;
                return std::pair{status, QString::number(lineCount - index - 1)};
            });
        });
    writeBackLines(range->first, range->last, lines);
    endBulkEdit(true);
    showCount(result.count, textops::kProcessedSuffix);
    m_document.SetSelStart(caretTarget);
}

}  // namespace tabulo::app
