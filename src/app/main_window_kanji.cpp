// The kanji code commands of the main window: converting the lines of the
// line range to Shift-JIS, JIS or EUC, encoding them (uuencode, BinHex,
// Base64) and decoding them again, and showing the code of the selected
// character. The UTF-8 items are in main_window_utf8.cpp.
#include <QApplication>

#include "app/main_window.h"
#include "app/progress_pump.h"
#include "kanji/code_conversion.h"
#include "sjis/sjis_codec.h"
#include "platform/error_handler.h"

namespace tabulo::app {
namespace {

// Decoded bytes as document lines: every CR LF, lone CR or lone LF in them
// starts a new line, so n breaks give n + 1 lines (the last may be empty).
void appendAsLines(std::string_view bytes, std::vector<std::string>& out) {
    std::size_t start = 0;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] != '\r' && bytes[i] != '\n') continue;
        out.emplace_back(bytes.substr(start, i - start));
        if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
        start = i + 1;
    }
    out.emplace_back(bytes.substr(start));
}

}  // namespace

void TfmTabulo::registerKanjiCommands() {
    const std::pair<const char*, kanji::TargetCode> items[] = {
        {"S", kanji::TargetCode::ShiftJis}, {"J", kanji::TargetCode::Jis},
        {"E", kanji::TargetCode::Euc},      {"U", kanji::TargetCode::UUencode},
        {"H", kanji::TargetCode::BinHex},   {"B", kanji::TargetCode::Base64},
    };
    for (const auto& [name, target] : items) {
        addCommand(QString::fromLatin1(name), [this, target = target](QAction*) { convertCodes(target); });
    }
    const std::pair<const char*, kanji::MailEncoding> decoders[] = {
        {"DecodeUU", kanji::MailEncoding::UUencode},
        {"DecodeBinHex", kanji::MailEncoding::BinHex},
        {"DecodeBase64", kanji::MailEncoding::Base64},
    };
    for (const auto& [name, encoding] : decoders) {
        addCommand(QString::fromLatin1(name), [this, encoding = encoding](QAction*) { decodeLines(encoding); });
    }
    addCommand(QStringLiteral("ToUtf8"), [this](QAction*) { convertUtf8Range(true); });
    addCommand(QStringLiteral("FromUtf8"), [this](QAction*) { convertUtf8Range(false); });
    addCommand(QStringLiteral("CharCord"), [this](QAction*) { showCharacterCode(); });
}

void TfmTabulo::convertRange(const LineConverter& convert, const std::function<bool()>& confirmWrite) {
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
    const std::vector<std::string> lines = linesOf(range->first, range->last);
    std::vector<std::string> converted;
    converted.reserve(lines.size());
    std::size_t k = 0;
    while (k < lines.size()) {
        const int index = range->first + static_cast<int>(k);
        convert(lines[k], index, converted);
        ++k;
        if (!pump.step([&] { return std::pair{status, QString::number(lineCount - static_cast<std::size_t>(index) - 1)}; })) {
            break;
        }
    }
    converted.insert(converted.end(), lines.begin() + static_cast<std::ptrdiff_t>(k), lines.end());
    if (!confirmWrite || confirmWrite()) writeBackLines(range->first, range->last, converted);
    endBulkEdit(true);
    m_document.SetSelStart(caretTarget);
}

void TfmTabulo::convertCodes(kanji::TargetCode target) {
    convertRange([target](std::string_view line, int, std::vector<std::string>& out) {
        out.push_back(kanji::convertLine(line, target));
    });
}

// Each line is decoded on its own, inverting the encoding items; line breaks
// in the decoded bytes start new document lines.
void TfmTabulo::decodeLines(kanji::MailEncoding encoding) {
    convertRange([encoding](std::string_view line, int, std::vector<std::string>& out) {
        appendAsLines(kanji::decodeLine(line, encoding), out);
    });
}

void TfmTabulo::showCharacterCode() {
    const std::optional<std::string> message = kanji::characterCodeMessage(m_document.SelectedText());
    if (!message) return;
    platform::prompts().message(QString::fromStdString(sjis::SjisCodec::instance().toUtf8(*message)));
}

}  // namespace tabulo::app
