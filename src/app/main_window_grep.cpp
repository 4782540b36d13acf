// The grep command (Ctrl+G) and the tag jump (F12). The grep asks for a
// pattern and the files, searches them in the order the dialog returns them
// and writes the listing into a new document, with its progress in the
// status bar and the stop item answered while it runs; files it cannot
// search are named in the status bar and skipped. With the box's
// "文字コード自動判定" checked each file is read in its own kanji code
// (Shift-JIS, EUC, JIS or UTF-8) and listed in Shift-JIS. The tag jump
// opens what the caret's line names: text files in a second copy of the
// program (a listing's "Line=" line at that line), anything else through
// RunShell.
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QStatusBar>
#include <climits>

#include "app/file_filter.h"
#include "app/main_window.h"
#include "app/progress_pump.h"
#include "sjis/sjis_codec.h"
#include "platform/error_handler.h"
#include "platform/local_path.h"
#include "platform/run_shell.h"
#include "search/engine/grep_listing.h"
#include "search/engine/multi_file_grep.h"
#include "search/engine/name_text.h"
#include "search/engine/tag_jump.h"
#include "search/window/set_files_dialog.h"

namespace tabulo::app {

namespace {

constexpr int kSkippedMessageMs = 15000;
// Hits listed below a full screen only move the scroll bar, yet every
// change repaints the editor; those go into the document this often.
constexpr qint64 kListingBelowScreenMs = 500;
constexpr int kSkippedNamesShown = 3;

}  // namespace

void TfmTabulo::registerSearchCommands() {
    m_grep1.SetUseFuzzyCharDic(false);
    m_grep1.SetUseSynonymDic(false);
    m_setFiles = new search::TfmSetFiles(this);
    addCommand(QStringLiteral("Grep"), [this](QAction*) { grepCommand(); });
    addCommand(QStringLiteral("TagJump"), [this](QAction*) { tagJump(); });
}

void TfmTabulo::grepCommand() {
    if (!newDocument()) return;
    const std::optional<QString> pattern = platform::prompts().inputWithCheck(
        QStringLiteral("テキストファイル検索 Grep"), QStringLiteral("検索する文字列 (正規表現[A-Za-z]等が使えます)"),
        QString(), QStringLiteral("文字コード自動判定"), m_grepDetectsCodes);
    if (!pattern) return;
    const std::optional<std::string> bytes =
        sjis::SjisCodec::instance().fromUtf16(pattern->toStdU16String());
    if (!bytes) {
        platform::prompts().message(QStringLiteral("検索する文字列に Shift-JIS で表せない文字があります"));
        return;
    }
    m_grep1.SetRegExp(*bytes);  // a pattern error ends the command here
    const QStringList files =
        platform::prompts().openFiles(QStringLiteral("Grep"), QString(), mainFileFilter(), kAllFilesFilterEntry);
    if (!files.isEmpty()) {
        searchFiles(files, m_grepDetectsCodes ? search::GrepEncoding::Detect : search::GrepEncoding::ShiftJis);
    }
    if (m_document.Lines().Count() == 0) platform::prompts().message(QStringLiteral("見つかりませんでした!"));
    m_document.SetModified(false);  // the listing can go without a save question
}

void TfmTabulo::searchFiles(const QStringList& files, search::GrepEncoding encoding) {
    std::vector<std::string> paths;
    paths.reserve(static_cast<std::size_t>(files.size()));
    for (const QString& file : files) paths.push_back(platform::toLocalPath(file));

    std::vector<std::string> pending;  // listing lines not yet in the document
    std::string fileLine;              // the current file as the listing shows it
    std::size_t fileIndex = 0;
    std::size_t hits = 0;
    QStringList skipped;
    statusBar()->clearMessage();
    QElapsedTimer sinceFlush;
    sinceFlush.start();
    const auto flush = [&] {
        if (pending.empty()) return;
        m_document.replaceLines(m_document.Lines().Count(), 0, std::move(pending), editor::BreakKind::LineBreak);
        pending.clear();
        sinceFlush.restart();
    };
    const auto flushIfSeen = [&] {
        if (m_document.Lines().Count() < m_document.VisibleRows() ||
            sinceFlush.elapsed() >= kListingBelowScreenMs) {
            flush();
        }
    };
    // Between files, after each block and before each hit: at most every few
    // tens of milliseconds the hits so far go into the document, the progress
    // shows and events run, so the stop item answers at once while thousands
    // of small files do not spend their time in the event loop.
    ProgressPump pump(m_bulk, [this](const QString& a, const QString& b) { showProgress(a, b); });
    // Made once: the pump runs before every hit.
    const std::function<std::pair<QString, QString>()> progressTexts = [&] {
        flushIfSeen();
        return std::pair{QStringLiteral("Grep %1/%2").arg(fileIndex + 1).arg(paths.size()), QString::number(hits)};
    };
    const auto pumpEvents = [&] {
        const bool goOn = pump.step(progressTexts);
        if (!goOn) m_grep1.SetCancel(true);
        return goOn;
    };

    search::GrepFileEvents events;
    events.beforeFile = [&](std::size_t index, const std::string& path) {
        fileIndex = index;
        m_grepFile = platform::fromLocalPath(path);
        fileLine = search::documentTextOfFileName(path);
        return pumpEvents();
    };
    events.onHit = [&](const std::string&, const regex::RE_LineInfo_t& hit) {
        search::appendListingEntry(pending, fileLine, hit);
        ++hits;
    };
    events.onSkipped = [&](const std::string& path, const std::string&) {
        skipped << platform::fromLocalPath(path);
    };

    beginBulkEdit(false);
    m_grep1.setEventPump([&] { pumpEvents(); });
    try {
        search::grepFiles(m_grep1, paths, events, encoding);
    } catch (...) {
        m_grep1.setEventPump({});
        endBulkEdit(false);
        throw;
    }
    m_grep1.setEventPump({});
    flush();
    endBulkEdit(false);
    m_document.SetSelStart(0);
    if (!skipped.isEmpty()) {
        const QString more = skipped.size() > kSkippedNamesShown ? QStringLiteral(", ...") : QString();
        statusBar()->showMessage(QStringLiteral("検索できないファイルを飛ばしました (%1): ").arg(skipped.size()) +
                                     skipped.mid(0, kSkippedNamesShown).join(QStringLiteral(", ")) + more,
                                 kSkippedMessageMs);
    }
}

void TfmTabulo::tagJump() {
    const int count = m_document.Lines().Count();
    const int line = m_document.LineIndexOfRow(m_document.Row());
    if (line < 0 || line >= count) return;
    const std::string text = m_document.Lines().Get(line);
    std::optional<std::string> above;
    if (line > 0) above = m_document.Lines().Get(line - 1);
    const search::TagJump jump = search::planTagJump(text, above);
    switch (jump.action) {
    case search::TagJumpAction::None: break;
    case search::TagJumpAction::OpenText:
        platform::openInSecondCopy(
            {platform::fromLocalPath(jump.target), false, static_cast<int>(std::min<std::size_t>(jump.line, INT_MAX))});
        break;
    case search::TagJumpAction::RunShell: platform::runShell(platform::fromLocalPath(jump.target), {}); break;
    }
}

void TfmTabulo::goToLine(int line) {
    const int index = std::min(line, m_document.Lines().Count()) - 1;
    if (index < 0) return;
    const int row = m_document.firstRowOfLine(index);
    m_document.SetRow(row);
    m_document.SetTopRow(row);
}

}  // namespace tabulo::app
