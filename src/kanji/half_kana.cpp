// Half-width katakana to their full-width JIS X 0208 forms, used when a text
// is written as JIS (7-bit JIS has no half-width katakana).
#include "kanji/byte_classes.h"

namespace tabulo::kanji::detail {
namespace {

// Indexed by the half-width byte - 0xA1: ｡｢｣､･ｦ ｧｨｩｪｫｬｭｮｯ ｰ ｱ..ﾝ ﾞﾟ.
constexpr unsigned short kHalfKanaJis[0xDF - 0xA1 + 1] = {
    0x2123, 0x2156, 0x2157, 0x2122, 0x2126, 0x2572,                  // ｡｢｣､･ｦ
    0x2521, 0x2523, 0x2525, 0x2527, 0x2529, 0x2563, 0x2565, 0x2567,  // ｧｨｩｪｫｬｭｮ
    0x2543, 0x213C,                                                  // ｯｰ
    0x2522, 0x2524, 0x2526, 0x2528, 0x252A,                          // ｱｲｳｴｵ
    0x252B, 0x252D, 0x252F, 0x2531, 0x2533,                          // ｶｷｸｹｺ
    0x2535, 0x2537, 0x2539, 0x253B, 0x253D,                          // ｻｼｽｾｿ
    0x253F, 0x2541, 0x2544, 0x2546, 0x2548,                          // ﾀﾁﾂﾃﾄ
    0x254A, 0x254B, 0x254C, 0x254D, 0x254E,                          // ﾅﾆﾇﾈﾉ
    0x254F, 0x2552, 0x2555, 0x2558, 0x255B,                          // ﾊﾋﾌﾍﾎ
    0x255E, 0x255F, 0x2560, 0x2561, 0x2562,                          // ﾏﾐﾑﾒﾓ
    0x2564, 0x2566, 0x2568,                                          // ﾔﾕﾖ
    0x2569, 0x256A, 0x256B, 0x256C, 0x256D,                          // ﾗﾘﾙﾚﾛ
    0x256F, 0x2573,                                                  // ﾜﾝ
    0x212B, 0x212C,                                                  // ﾞﾟ
};

constexpr unsigned char kVoicedMark = 0xDE;
constexpr unsigned char kSemiVoicedMark = 0xDF;

}  // namespace

unsigned halfKanaToJis(unsigned char kana) { return kHalfKanaJis[kana - 0xA1]; }

unsigned voicedKanaToJis(unsigned char kana, unsigned char mark) {
    const bool kaToTo = kana >= 0xB6 && kana <= 0xC4;  // ｶ to ﾄ: ガ to ド
    const bool haToHo = kana >= 0xCA && kana <= 0xCE;  // ﾊ to ﾎ: バ/パ to ボ/ポ
    if (mark == kVoicedMark) {
        if (kana == 0xB3) return 0x2574;  // ｳﾞ: ヴ
        if (kaToTo || haToHo) return halfKanaToJis(kana) + 1;
    } else if (mark == kSemiVoicedMark && haToHo) {
        return halfKanaToJis(kana) + 2;
    }
    return 0;
}

}  // namespace tabulo::kanji::detail
