// The line-range commands of the main window: sort, duplicate, blank-line
// and blank-edge removal, fixing soft wraps as line breaks, and the C
// function-length report. The line logic is the core's; here each command
// takes its lines from the document, runs inside a bulk edit with progress
// in the status bar and the stop request honoured, and writes the result
// back as one change (so one undo step).
#include <QApplication>
#include <QLabel>
#include <new>

#include "app/main_window.h"
#include "app/progress_pump.h"
#include "app/work_files.h"
#include "platform/error_handler.h"
#include "os/files/safe_save.h"
#include "platform/folders.h"
#include "platform/run_shell.h"
#include "textops/function_length.h"
#include "textops/line_delete.h"
#include "textops/line_sort.h"
#include "textops/messages.h"
#include "textops/trim_blanks.h"

namespace tabulo::app {

namespace {

QString text(std::string_view utf8) {
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

QString programTitle() {
    return QString::fromStdString(platform::programFileName());
}

}  // namespace

void TfmTabulo::registerLineCommands() {
    addCommand(QStringLiteral("Sort"), [this](QAction*) { sortCommand(textops::SortOrder::Ascending); });
    addCommand(QStringLiteral("SortR"), [this](QAction*) { sortCommand(textops::SortOrder::Descending); });
    addCommand(QStringLiteral("DelLine"), [this](QAction*) {
        rangeCommand(textops::kStatusDeleteDuplicates, textops::kDeletedSuffix, true,
                     [](auto& lines, auto range, const auto& progress) {
                         return textops::deleteDuplicateLines(lines, range, progress);
                     });
    });
    addCommand(QStringLiteral("DelNullLine"), [this](QAction*) {
        rangeCommand(textops::kStatusDeleteBlanks, textops::kDeletedSuffix, false,
                     [](auto& lines, auto range, const auto& progress) {
                         return textops::deleteBlankLines(lines, range, progress);
                     });
    });
    addCommand(QStringLiteral("DelSpaceRL"), [this](QAction*) {
        rangeCommand(textops::kStatusTrim, textops::kProcessedSuffix, false,
                     [](auto& lines, auto range, const auto& progress) {
                         return textops::trimLines(lines, range, progress);
                     });
    });
    addCommand(QStringLiteral("AddReturn"), [this](QAction*) { fixSoftWraps(); });
    addCommand(QStringLiteral("FuncLen"), [this](QAction*) { functionLengths(); });
}

void TfmTabulo::showProgress(const QString& panel0, const QString& panel1) {
    m_panels[0]->setText(panel0);
    m_panels[1]->setText(panel1);
}

void TfmTabulo::showCount(std::size_t count, std::string_view suffix) {
    if (const auto message = textops::countMessage(count, suffix)) platform::prompts().message(text(*message));
}

void TfmTabulo::sortCommand(textops::SortOrder order) {
    if (m_document.textLength() == 0) return;
    const auto n = static_cast<std::size_t>(m_document.Lines().Count());
    platform::Answer answer;
    if (!textops::sortNeedsWarning(n)) {
        editor::widenToWholeLines(m_document);
        answer = platform::prompts().confirm(text(textops::kSortConfirmText), programTitle(),
                                             platform::Buttons::YesCancel, platform::Icon::Question);
    } else {
        answer = platform::prompts().confirm(text(textops::sortWarningText(n)), programTitle(),
                                             platform::Buttons::YesCancel, platform::Icon::Warning);
    }
    if (answer != platform::Answer::Yes) return;
    const std::int64_t caretTarget = m_document.SelStart() + m_document.SelLength();
    const std::optional<editor::LineRange> range = editor::lineRange(m_document);
    if (!range) return;

    showProgress(text(textops::kStatusGetMemory), QString());
    std::vector<std::string> lines;
    try {
        lines = linesOf(range->first, range->last);
    } catch (const std::bad_alloc&) {
        platform::prompts().message(text(textops::kOutOfMemoryText));
        return;
    }
    beginBulkEdit(true);
    ProgressPump pump(m_bulk, [this](const QString& a, const QString& b) { showProgress(a, b); });
    textops::LineResult result;
    try {
        result = textops::sortLines(lines, {0, lines.size() - 1}, order, [&](const textops::Progress& p) {
            return pump.step([&] {
                return std::pair{text(textops::sortingStatusText(static_cast<std::size_t>(range->first) + p.line, n)),
                                 QString()};
            });
        });
    } catch (const std::bad_alloc&) {
        endBulkEdit(true);
        platform::prompts().message(text(textops::kOutOfMemoryText));
        return;
    }
    // A stopped sort puts every line back: the document stays as it was.
    if (!result.stopped) writeBackLines(range->first, range->last, lines);
    endBulkEdit(true);
    m_document.SetSelStart(caretTarget);
}

void TfmTabulo::rangeCommand(std::string_view status, std::string_view suffix, bool withLineAbove,
                             const RangeFunction& function) {
    editor::widenToWholeLines(m_document);
    const std::int64_t caretTarget = m_document.SelStart() + m_document.SelLength();
    const std::optional<editor::LineRange> range = editor::lineRange(m_document);
    if (!range) return;
    // Duplicate removal compares the range's first line with the line above it.
    const int from = withLineAbove && range->first > 0 ? range->first - 1 : range->first;
    std::vector<std::string> lines = linesOf(from, range->last);
    const std::size_t above = static_cast<std::size_t>(range->first - from);
    const std::size_t lineCount = static_cast<std::size_t>(m_document.Lines().Count());

    showProgress(text(status), QString());
    beginBulkEdit(true);
    ProgressPump pump(m_bulk, [this](const QString& a, const QString& b) { showProgress(a, b); });
    const textops::LineResult result =
        function(lines, {above, lines.size() - 1}, [&](const textops::Progress& p) {
            return pump.step([&] {
                const std::size_t index = static_cast<std::size_t>(from) + p.line;
                const std::size_t shown = suffix == textops::kDeletedSuffix ? p.count : lineCount - index - 1;
                return std::pair{text(status), QString::number(shown)};
            });
        });
    lines.erase(lines.begin(), lines.begin() + static_cast<std::ptrdiff_t>(above));
    writeBackLines(range->first, range->last, lines);
    endBulkEdit(true);
    showCount(result.count, suffix);
    m_document.SetSelStart(caretTarget);
}

std::vector<std::string> TfmTabulo::linesOf(int first, int last) {
    std::vector<std::string> lines;
    lines.reserve(static_cast<std::size_t>(std::max(0, last - first + 1)));
    for (int i = first; i <= last; ++i) lines.push_back(m_document.Lines().Get(i));
    return lines;
}

void TfmTabulo::writeBackLines(int first, int last, const std::vector<std::string>& lines) {
    const bool lastHasBreak = m_document.Lines().hasLineBreak(last);
    m_document.replaceLines(first, last - first + 1, lines,
                            lastHasBreak ? editor::BreakKind::LineBreak : editor::BreakKind::EndOfText);
}

void TfmTabulo::fixSoftWraps() {
    editor::widenToWholeLines(m_document);
    const std::int64_t caretTarget = m_document.SelStart() + m_document.SelLength();
    const std::int64_t length = m_document.textLength();
    if (length >= 200000) {
        const platform::Answer answer = platform::prompts().confirm(
            QString::number(length) +
                QStringLiteral("回の作業で時間がかかります。Script処理を薦めます。\r\n実行しますか？"),
            programTitle(), platform::Buttons::YesCancel, platform::Icon::Warning);
        if (answer != platform::Answer::Yes) return;
    }
    const int startRow = m_document.selectionStart().row;
    const int endRow = std::min(m_document.selectionEnd().row, m_document.RowCount() - 1);
    showProgress(QStringLiteral("Add Return"), QString());
    beginBulkEdit(false);
    std::vector<std::string> rows;
    rows.reserve(static_cast<std::size_t>(std::max(0, endRow - startRow + 1)));
    for (int row = startRow; row <= endRow; ++row) rows.emplace_back(m_document.rowText(row));
    // Every row becomes a line of its own; nothing is lost if the user stops,
    // because the rows are written back in one change.
    m_document.SetWordWrap(false);
    m_document.replaceLines(0, m_document.Lines().Count(), rows, editor::BreakKind::LineBreak);
    m_document.SetSelStart(caretTarget);
    endBulkEdit(false);
    showCount(rows.size(), textops::kProcessedSuffix);
}

void TfmTabulo::functionLengths() {
    const std::string report = platform::workFolder() + "L.$";
    // Work files of earlier commands go too, so no stale result is shown.
    deleteWorkFiles(QString::fromStdString(platform::workFolder()),
                    QString::fromStdString(platform::programFolder()), QString::fromStdString(report));
    showProgress(text(textops::kStatusCountFunctions), QString());
    const int count = m_document.Lines().Count();
    const std::vector<std::string> lines = linesOf(0, count - 1);
    m_bulk.begin(false);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    ProgressPump pump(m_bulk, [this](const QString& a, const QString& b) { showProgress(a, b); });
    const textops::FunctionReport result = textops::countFunctionLines(lines, [&](const textops::Progress& p) {
        return pump.step([&] {
            return std::pair{text(textops::kStatusCountFunctions),
                             QString::number(static_cast<std::size_t>(count) - p.line - 1)};
        });
    });
    QApplication::restoreOverrideCursor();
    m_bulk.end(false);
    // A work file only its owner may read: it holds the document's text.
    try {
        os::saveFileBytes(report, result.text, os::SaveOptions{.privateFile = true, .attributesFrom = {}, .followLink = true, .recoveryFolder = {}});
    } catch (const std::exception&) {
        platform::prompts().message(QStringLiteral("can't open ") + QString::fromStdString(report));
        return;
    }
    platform::runSecondCopy({QString::fromStdString(report)});
}

}  // namespace tabulo::app
