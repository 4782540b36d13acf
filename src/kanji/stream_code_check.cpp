// The text is cut after bytes that InCodeCheck's scan always consumes last in
// a step: 7-bit bytes below 0x40 other than ESC and "$" (which an escape
// sequence reads on from) and other than the binary bytes (which decide when
// read first). The pair, katakana and escape rules never read across such a
// byte from before it, so checking the pieces one after another gives the
// same steps as checking the whole text.
#include "kanji/stream_code_check.h"

#include "kanji/kanji_code.h"

namespace tabulo::kanji {

namespace {

bool isCutByte(unsigned char c) {
    return c >= 8 && c < 0x40 && c != 0x1B && c != '$';
}

}  // namespace

void StreamCodeCheck::check(std::string_view chunk) {
    const int code = InCodeCheck(chunk);
    if (code == kCodeUndecided) {
        m_undecided = true;
    } else if (code != kCodeNone) {
        m_decided = code;
    }
}

bool StreamCodeCheck::feed(std::string_view bytes) {
    if (m_decided != 0) return true;
    m_held.append(bytes);
    // The first chunk must hold more than the binary test's bytes; later
    // chunks start behind the padding of the same length.
    constexpr std::size_t start = STRICT_CHECK_LEN;
    std::size_t cut = m_held.size();
    while (cut > start && !isCutByte(static_cast<unsigned char>(m_held[cut - 1]))) --cut;
    if (cut <= start) return false;
    check(std::string_view(m_held).substr(0, cut));
    if (m_first) {
        m_held.replace(0, cut, STRICT_CHECK_LEN, ' ');
        m_first = false;
    } else {
        m_held.erase(STRICT_CHECK_LEN, cut - STRICT_CHECK_LEN);
    }
    return m_decided != 0;
}

int StreamCodeCheck::finish() {
    if (m_decided == 0 && (m_first || m_held.size() > static_cast<std::size_t>(STRICT_CHECK_LEN))) check(m_held);
    m_held.clear();
    if (m_decided != 0) return m_decided;
    return m_undecided ? kCodeUndecided : kCodeNone;
}

}  // namespace tabulo::kanji
