// UTF-8 files in the main window. A file that is UTF-8 is offered for
// conversion to Shift-JIS when it is opened; a converted document remembers
// it (shown in the status bar) and its save asks whether to write UTF-8 back.
// The "→ UTF-8" and "UTF-8 →" items convert the lines of the line range.
// Characters that do not survive a conversion are counted and the user
// decides before any of them is replaced.
#include <QLabel>
#include <algorithm>

#include "app/main_window.h"
#include "kanji/kanji_code.h"
#include "kanji/utf8_code.h"
#include "sjis/sjis_codec.h"
#include "platform/error_handler.h"
#include "platform/folders.h"
#include "platform/local_path.h"
#include "platform/typed_text.h"

namespace tabulo::app {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

QString boxTitle() {
    return QString::fromStdString(platform::programFileName());
}

// How many characters of well-formed UTF-8 text Shift-JIS cannot hold, and
// the first of them ("最初は 3 行 5 文字目の U+1F600 です。").
QString lostCharacterText(std::size_t count, std::size_t line, const kanji::TextPlace& place) {
    return QStringLiteral("Shift-JIS にない文字が %1 個あります。最初は %2 行 %3 文字目の %4 です。")
        .arg(count)
        .arg(line)
        .arg(place.character)
        .arg(platform::unicodeName(place.codePoint));
}

// The same for Shift-JIS bytes that are no character and so have no Unicode
// form.
QString lostByteText(std::size_t count, std::size_t line, const kanji::TextPlace& place) {
    return QStringLiteral("Unicode にない文字 (バイト) が %1 個あります。最初は %2 行 %3 バイト目です。")
        .arg(count)
        .arg(line)
        .arg(place.byte);
}

bool agreed(const QString& text) {
    return platform::prompts().confirm(text, boxTitle(), platform::Buttons::YesNo) == platform::Answer::Yes;
}

// Whether every line is UTF-8 and at least one holds a non-ASCII character.
bool documentIsUtf8(const editor::EditorModel& document) {
    bool nonAscii = false;
    for (int i = 0; i < document.Lines().Count(); ++i) {
        const std::string line = document.Lines().Get(i);
        if (!sjis::isWellFormedUtf8(line)) return false;
        nonAscii = nonAscii || std::any_of(line.begin(), line.end(), [](char c) { return (c & 0x80) != 0; });
    }
    return nonAscii;
}

}  // namespace

void TfmTabulo::setUpFileEncoding() {
    m_encodingPanel =
        addStatusPanel(QStringLiteral("StatusPanelEncoding"), 70, QStringLiteral("読み込んだファイルの文字コード"));
}

void TfmTabulo::refreshFileEncoding() {
    if (!m_encodingPanel) return;
    const std::string_view name = editor::fileEncodingName(m_document.fileEncoding());
    m_encodingPanel->setText(QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size())));
}

// Declining the replacement of characters Shift-JIS cannot hold opens the
// file unconverted: the bytes stay as they are, so nothing is lost and a
// save writes them back unchanged.
void TfmTabulo::offerUtf8Conversion(const QString& path) {
    if (!documentIsUtf8(m_document)) return;
    if (!agreed(QStringLiteral("ファイル %1 は UTF-8 で書かれています。\n"
                               "Shift-JIS に変換して編集しますか？（いいえ: 変換せずにそのまま開きます）")
                    .arg(platform::displayPath(path)))) {
        return;
    }
    std::string text = m_document.GetTextStr();
    const bool bom = text.starts_with(kByteOrderMark);
    if (bom) text.erase(0, kByteOrderMark.size());
    const kanji::Utf8Conversion result = kanji::utf82sjis(text);
    if (result.lost != 0) {
        const kanji::TextPlace place = kanji::placeOf(text, result.firstLost);
        if (!agreed(lostCharacterText(result.lost, place.line, place) +
                    QStringLiteral("\n〓 に置き換えて変換しますか？（いいえ: 変換せずにそのまま開きます）"))) {
            return;
        }
    }
    m_lookAlikes = kanji::lookAlikesIn(text);
    m_utf8Bom = bom;
    m_document.LoadFromText(result.text);
    m_document.setFileEncoding(editor::FileEncoding::Utf8);
}

std::optional<std::string> TfmTabulo::bytesToSave(editor::FileEncoding& written) {
    written = editor::FileEncoding::ShiftJis;
    const platform::Answer answer = platform::prompts().confirm(
        QStringLiteral("この文書は UTF-8 のファイルを Shift-JIS に変換したものです。\n"
                       "UTF-8 に戻して保存しますか？（いいえ: Shift-JIS で保存します）"),
        boxTitle(), platform::Buttons::YesNoCancel);
    if (answer == platform::Answer::Cancel) return std::nullopt;
    if (answer == platform::Answer::No) return std::string();
    const std::string text = m_document.fileText();
    kanji::Utf8Conversion result = kanji::sjis2utf8(text);
    if (result.lost != 0) {
        const kanji::TextPlace place = kanji::placeOf(text, result.firstLost);
        if (!agreed(lostByteText(result.lost, place.line, place) +
                    QStringLiteral("\nU+FFFD に置き換えて UTF-8 で保存しますか？（いいえ: 保存しません）"))) {
            return std::nullopt;
        }
    }
    written = editor::FileEncoding::Utf8;
    return (m_utf8Bom ? std::string(kByteOrderMark) : std::string()) +
           kanji::restoreLookAlikes(std::move(result.text), m_lookAlikes);
}

// Each line is converted on its own. A line already in the target code
// stays as it is: "→ UTF-8" leaves UTF-8 lines alone and takes JIS and EUC
// lines through Shift-JIS; "UTF-8 →" converts only UTF-8 lines. When some
// characters would not survive, the user is asked before any line changes.
void TfmTabulo::convertUtf8Range(bool toUtf8) {
    std::size_t lost = 0;
    std::size_t firstLine = 0;
    kanji::TextPlace firstPlace;
    convertRange(
        [&](std::string_view line, int index, std::vector<std::string>& out) {
            if (toUtf8 == kanji::IsUtf8Text(line)) {
                out.emplace_back(line);
                return;
            }
            const std::string source = toUtf8 ? kanji::ConvertJCode(line, kanji::kCodeSjis) : std::string(line);
            kanji::Utf8Conversion result = toUtf8 ? kanji::sjis2utf8(source) : kanji::utf82sjis(source);
            if (result.lost != 0 && lost == 0) {
                firstLine = static_cast<std::size_t>(index) + 1;
                firstPlace = kanji::placeOf(source, result.firstLost);
            }
            lost += result.lost;
            out.push_back(std::move(result.text));
        },
        [&] {
            if (lost == 0) return true;
            return agreed(toUtf8 ? lostByteText(lost, firstLine, firstPlace) +
                                       QStringLiteral("\nU+FFFD に置き換えて変換しますか？（いいえ: 変換しません）")
                                 : lostCharacterText(lost, firstLine, firstPlace) +
                                       QStringLiteral("\n〓 に置き換えて変換しますか？（いいえ: 変換しません）"));
        });
}

}  // namespace tabulo::app
