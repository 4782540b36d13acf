// Kanji code detection. The scan looks at byte pairs that only one of EUC and
// Shift-JIS can produce and stops at the first decisive one; pairs that both
// can produce leave the code undecided (6) and the scan goes on.
#include <algorithm>
#include <cstddef>

#include "kanji/byte_classes.h"
#include "kanji/kanji_code.h"

namespace tabulo::kanji {
namespace {

bool in(unsigned char c, unsigned char lo, unsigned char hi) { return c >= lo && c <= hi; }

bool isBinaryByte(unsigned char c) { return c < 8 || c == 0xFF; }

}  // namespace

int InCodeCheck(std::string_view text) {
    const auto* s = reinterpret_cast<const unsigned char*>(text.data());
    const std::size_t n = text.size();
    if (n < 2) return kCodeNone;

    // The last byte is left out here and in the scan: every rule that reads
    // a second byte can then do so without a bounds check.
    const std::size_t binaryLimit = std::min<std::size_t>(STRICT_CHECK_LEN, n - 1);
    for (std::size_t i = 0; i < binaryLimit; ++i) {
        if (isBinaryByte(s[i])) return kCodeBinary;
    }

    int code = kCodeNone;
    std::size_t i = 0;
    while ((code == kCodeNone || code == kCodeUndecided) && i + 1 < n) {
        const unsigned char c = s[i++];
        if (c == detail::kEsc) {
            const unsigned char d = s[i++];
            if (d == '$' && i < n) {
                const unsigned char e = s[i++];
                if (e == 'B') code = kCodeJisB;
                else if (e == '@') code = kCodeJisAt;
            }
        } else if (isBinaryByte(c)) {
            code = kCodeBinary;
        } else if (c <= 0x7F) {
            // 7-bit text decides nothing.
        } else if (in(c, 0x81, 0x8D) || in(c, 0x8F, 0x9F)) {
            code = kCodeSjis;
        } else if (c == 0x8E) {
            // EUC half-width katakana prefix, or a Shift-JIS lead byte.
            const unsigned char d = s[i++];
            if (in(d, 0x40, 0x7E) || in(d, 0x80, 0xA0) || in(d, 0xE0, 0xFC)) code = kCodeSjis;
            else if (in(d, 0xA1, 0xDF)) code = kCodeUndecided;
        } else if (in(c, 0xA1, 0xDF)) {
            // Shift-JIS half-width katakana, or an EUC first byte.
            const unsigned char d = s[i++];
            if (in(d, 0xF0, 0xFE)) {
                code = kCodeEuc;
            } else if (in(d, 0xA1, 0xDF)) {
                code = kCodeUndecided;
            } else if (in(d, 0xE0, 0xEF)) {
                // Katakana followed by a Shift-JIS lead byte, or an EUC
                // character: the bytes that follow may tell.
                code = kCodeUndecided;
                while (i < n && code == kCodeUndecided && s[i] >= 0x40) {
                    const unsigned char e = s[i++];
                    if (in(e, 0x81, 0x8D) || in(e, 0x8F, 0x9C)) code = kCodeSjis;
                    else if (e == 0xFD || e == 0xFE) code = kCodeEuc;
                }
            } else if (d <= 0x9F) {
                code = kCodeSjis;
            }
        } else if (in(c, 0xF0, 0xFE)) {
            code = kCodeEuc;
        } else if (in(c, 0xE0, 0xEF)) {
            const unsigned char d = s[i++];
            if (in(d, 0x40, 0x7E) || in(d, 0x80, 0xA0)) code = kCodeSjis;
            else if (d == 0xFD || d == 0xFE) code = kCodeEuc;
            else if (in(d, 0xA1, 0xFC)) code = kCodeUndecided;
        }
    }
    return code;
}

}  // namespace tabulo::kanji
