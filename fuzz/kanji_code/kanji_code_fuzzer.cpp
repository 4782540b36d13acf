// Fuzz target of the kanji code unit. The raw input goes through InCodeCheck
// and every converter (each source and target code, each line-break
// convention, the code conversion command's line conversion and the
// character code message), which must not fail and must keep their stated
// results. The same bytes also spell a text of ASCII and JIS X 0208
// characters in Shift-JIS, which SJIS -> EUC -> SJIS, SJIS -> JIS -> SJIS,
// EUC -> JIS and the MIME header words must all give back unchanged. The
// UTF-8 conversions must keep every character they do not report lost, and
// every streaming conversion fed in small blocks must give the whole text's
// bytes.
#include <algorithm>
#include <string>
#include <string_view>

#include "common/fuzz_check.h"
#include "kanji/code_conversion.h"
#include "kanji/jconvert.h"
#include "kanji/jis_table.h"
#include "kanji/utf8_code.h"
#include "kanji/utf8_stream.h"

using namespace tabulo::kanji;
using tabulo::fuzz::check;

namespace {

const std::vector<testing::JisChar>& jisChars() {
    static const std::vector<testing::JisChar> chars = testing::jisX0208Chars();
    return chars;
}

void rawConversions(std::string_view text) {
    const int code = InCodeCheck(text);
    check(code >= kCodeNone && code <= kCodeUndecided, "InCodeCheck gives a code from 0 to 6", text);
    if (text.size() <= 1) check(code == kCodeNone, "a text of one byte is never decided", text);

    for (int target = 0; target <= 7; ++target) {
        const std::string converted = ConvertJCode(text, target);
        if (code == target || code == kCodeNone || code == kCodeBinary || code == kCodeUndecided ||
            (target != kCodeJisB && target != kCodeEuc && target != kCodeSjis)) {
            check(converted == text, "ConvertJCode leaves what it cannot or need not convert", text);
        }
    }
    for (int source = 0; source <= 7; ++source) {
        for (int target : {kCodeJisB, kCodeEuc, kCodeSjis}) (void)StrictConvertJCode(text, source, target);
    }
    (void)jis2euc(text);
    (void)jis2sjis(text);
    (void)euc2jis83(text);
    (void)sjis2jis83(text);
    (void)euc2sjis(text);
    (void)sjis2euc(text);
    if (text.size() >= 2) {
        const auto a = static_cast<unsigned char>(text[0]);
        const auto b = static_cast<unsigned char>(text[1]);
        check(ToSjis(a, b).size() == 2 && ToJis(a, b).size() == 2, "one character gives two bytes", text);
    }

    const int breaks = ReturnCodeCheck(text);
    check(breaks >= kReturnNone && breaks <= kReturnLf, "ReturnCodeCheck gives 0 to 3", text);
    for (int target = 0; target <= 4; ++target) {
        const std::string converted = ConvertReturnCode(text, target);
        if (breaks == kReturnNone || breaks == target) {
            check(converted == text, "ConvertReturnCode leaves text in the target convention", text);
        } else if (target >= kReturnCrLf && target <= kReturnLf && !(breaks == kReturnCrLf && target == kReturnCr)) {
            // (CR LF to CR is left out: a CR LF followed by a lone LF turns
            // into a new CR LF, as replacing occurrences must.)
            check(ReturnCodeCheck(converted) == target, "converted line breaks are detected as the target", text);
        } else {
            check(converted.size() < text.size(), "removing line breaks shortens the text", text);
        }
        for (int source = 0; source <= 4; ++source) (void)StrictConvertReturnCode(text, source, target);
    }

    for (TargetCode target : {TargetCode::ShiftJis, TargetCode::Jis, TargetCode::Euc, TargetCode::UUencode,
                              TargetCode::BinHex, TargetCode::Base64}) {
        (void)convertLine(text, target);
    }
    const auto message = characterCodeMessage(text);
    check(message.has_value() == !text.empty(), "the character code message exists for a selection", text);

    const Utf8Conversion utf8 = sjis2utf8(text);
    if (utf8.lost == 0) {
        const Utf8Conversion back = utf82sjis(utf8.text);
        check(back.lost == 0 && sjis2utf8(back.text).text == utf8.text,
              "Shift-JIS -> UTF-8 -> Shift-JIS keeps every character", text);
    }
    const Utf8Conversion sjis = utf82sjis(text);
    check(sjis.lost == 0 || sjis.firstLost < text.size(), "the first lost character lies in the text", text);
    if (sjis.lost == 0 && IsUtf8Text(text)) {
        check(sjis2utf8(sjis.text).lost == 0, "UTF-8 that converts has a Shift-JIS reading", text);
    }
}

// The text fed in blocks of 1 to 8 bytes (the size chosen by its first
// byte), as the streaming subcommands read it.
template <class Stream>
std::string inBlocks(Stream& stream, std::string_view text) {
    const std::size_t size = text.empty() ? 1 : 1 + static_cast<unsigned char>(text[0]) % 8;
    std::string out;
    for (std::size_t pos = 0;; pos += size) {
        const std::string_view block = text.substr(std::min(pos, text.size()), size);
        const bool last = pos + size >= text.size();
        stream.convert(block, last, out);
        if (last) return out;
    }
}

// Every streaming conversion gives the bytes of the whole text at once.
void streamedConversions(std::string_view text) {
    for (int source : {kCodeJisB, kCodeEuc, kCodeSjis}) {
        for (int target : {kCodeJisB, kCodeEuc, kCodeSjis}) {
            KanjiCodeStream stream(source, target);
            check(inBlocks(stream, text) == StrictConvertJCode(text, source, target),
                  "the kanji code stream gives the whole text's bytes", text);
        }
    }
    Sjis2Utf8Stream toUtf8;
    check(inBlocks(toUtf8, text) == sjis2utf8(text).text, "the UTF-8 stream gives the whole text's bytes", text);
    Utf82SjisStream fromUtf8;
    check(inBlocks(fromUtf8, text) == utf82sjis(text).text, "the Shift-JIS stream gives the whole text's bytes", text);
    struct Decoder {
        Base64LineDecoder decoder;
        void convert(std::string_view piece, bool last, std::string& out) { decoder.decode(piece, last, out); }
    } base64;
    check(inBlocks(base64, text) == decodeLine(text, MailEncoding::Base64),
          "the Base64 line decoder gives the whole line's bytes", text);
}

// ASCII bytes (an ESC stands for x, as a JIS text could not tell it from an
// escape sequence) and, for a byte with its top bit set, one JIS X 0208
// character chosen by it and the next byte.
std::string sjisText(std::string_view bytes, bool& anyKanji, bool& anyControl) {
    std::string out;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        if (b < 0x80) {
            out += b == 0x1B ? 'x' : static_cast<char>(b);
            if (b < 8) anyControl = true;
            continue;
        }
        const unsigned next = i + 1 < bytes.size() ? static_cast<unsigned char>(bytes[++i]) : 0;
        const testing::JisChar c = jisChars()[((b & 0x7Fu) << 8 | next) % jisChars().size()];
        const std::string sjis = ToSjis(c.row, c.cell);
        const std::string back = ToJis(static_cast<unsigned char>(sjis[0]), static_cast<unsigned char>(sjis[1]));
        check(static_cast<unsigned char>(back[0]) == c.row && static_cast<unsigned char>(back[1]) == c.cell,
              "ToJis inverts ToSjis", sjis);
        out += sjis;
        anyKanji = true;
    }
    return out;
}

bool hasMarker(std::string_view text) {
    static constexpr std::string_view kMarker = "=?ISO-2022-JP?B?";
    std::string upper(text);
    for (char& c : upper) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    return upper.find(kMarker) != std::string::npos;
}

void roundTrips(std::string_view bytes) {
    bool anyKanji = false;
    bool anyControl = false;
    const std::string text = sjisText(bytes, anyKanji, anyControl);
    const std::string euc = sjis2euc(text);
    const std::string jis = sjis2jis83(text);
    check(euc2sjis(euc) == text, "SJIS -> EUC -> SJIS gives the text back", text);
    check(jis2sjis(jis) == text, "SJIS -> JIS -> SJIS gives the text back", text);
    check(euc2jis83(euc) == jis, "EUC -> JIS equals SJIS -> JIS", text);
    check(jis2euc(jis) == euc, "JIS -> EUC equals SJIS -> EUC", text);
    if (anyKanji && !anyControl) {
        check(InCodeCheck(jis) == kCodeJisB, "JIS output is detected as JIS", text);
        check(ConvertJCode(jis, kCodeSjis) == text, "detected JIS converts back to the text", text);
        if (InCodeCheck(text) == kCodeSjis) {
            check(ConvertJCode(text, kCodeJisB) == jis, "detected Shift-JIS converts to JIS", text);
        }
    }
    if (!hasMarker(text)) {
        check(jis2sjis(DecodeHeaderString(CreateHeaderString(text))) == text,
              "MIME header words decode to the text", text);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    rawConversions(input);
    streamedConversions(input);
    roundTrips(input);
    return 0;
}
