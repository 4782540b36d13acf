// The kanji code commands of the main window: converting the lines of the
// line range to Shift-JIS, JIS or EUC or encoding them (uuencode, BinHex,
// Base64), and showing the code of the selected character.
#include <QApplication>

#include "app/main_window.h"
#include "app/progress_pump.h"
#include "kanji/code_conversion.h"
#include "platform/codec/sjis_codec.h"
#include "platform/error_handler.h"

namespace tabulo::app {

void TfmTabulo::registerKanjiCommands() {
    const std::pair<const char*, kanji::TargetCode> items[] = {
        {"S", kanji::TargetCode::ShiftJis}, {"J", kanji::TargetCode::Jis},
        {"E", kanji::TargetCode::Euc},      {"U", kanji::TargetCode::UUencode},
        {"H", kanji::TargetCode::BinHex},   {"B", kanji::TargetCode::Base64},
    };
    for (const auto& [name, target] : items) {
        addCommand(QString::fromLatin1(name), [this, target = target](QAction*) { convertCodes(target); });
    }
    addCommand(QStringLiteral("CharCord"), [this](QAction*) { showCharacterCode(); });
}

void TfmTabulo::convertCodes(kanji::TargetCode target) {
    const QString status = QStringLiteral("To ShiftJisCode");
    showProgress(status, QString());
    const std::size_t lineCount = static_cast<std::size_t>(m_document.Lines().Count());
    editor::widenToWholeLines(m_document);
    const std::int64_t caretTarget = m_document.SelStart() + m_document.SelLength();
    const std::optional<editor::LineRange> range = editor::lineRange(m_document);
    if (!range) return;
    beginBulkEdit(true);
    ProgressPump pump(m_bulk, [this](const QString& a, const QString& b) { showProgress(a, b); });
    // Converted so far, then the rest as it was: a stop leaves both.
    std::vector<std::string> lines = linesOf(range->first, range->last);
    for (std::size_t k = 0; k < lines.size(); ++k) {
        lines[k] = kanji::convertLine(lines[k], target);
        const std::size_t index = static_cast<std::size_t>(range->first) + k;
        if (!pump.step([&] { return std::pair{status, QString::number(lineCount - index - 1)}; })) break;
    }
    writeBackLines(range->first, range->last, lines);
    endBulkEdit(true);
    m_document.SetSelStart(caretTarget);
}

void TfmTabulo::showCharacterCode() {
    const std::optional<std::string> message = kanji::characterCodeMessage(m_document.SelectedText());
    if (!message) return;
    platform::prompts().message(QString::fromStdString(platform::SjisCodec::instance().toUtf8(*message)));
}

}  // namespace tabulo::app
