// KanjiCodeStream over every cutting of a text into blocks (block sizes 1, 2,
// 3 and 4096 after shifts of 0 to 3 bytes): text the peers convert gives
// their bytes, and damaged text (cut characters, escapes cut or unknown,
// bytes outside the code at the edges) gives what the whole text gives.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "block_feed.h"
#include "kanji/jis_table.h"
#include "kanji/kanji_code.h"
#include "kanji/peer_tool.h"
#include "kanji/test_bytes.h"

namespace tabulo::kanji {
namespace {

using testing::PeerTool;
using testing::toolInstalled;

void expectEveryCutting(const std::string& input, int source, int target, const std::string& expected) {
    for (const std::size_t blockSize : testing::kBlockSizes) {
        for (std::size_t shift = 0; shift <= testing::kMaxShift; ++shift) {
            for (const bool emptyLast : {false, true}) {
                KanjiCodeStream stream(source, target);
                ASSERT_BYTES(testing::fedInBlocks(stream, input, shift, blockSize, emptyLast), expected)
                    << source << " to " << target << ", block " << blockSize << ", shift " << shift;
            }
        }
    }
}

// Two rows of JIS X 0208 (kana and kanji), ASCII between, CR LF and LF, and
// with kana the half-width katakana with and without voicing marks.
std::string sjisText(bool withHalfKana) {
    std::string text = "ab ";
    for (const auto& c : testing::jisX0208Chars()) {
        if (c.row == 0x24 || c.row == 0x30) text += ToSjis(c.row, c.cell);
        if (c.cell == 0x7E && (c.row == 0x24 || c.row == 0x30)) text += "\r\nxy\n";
    }
    if (withHalfKana) text += "\xB6\xDE\xCA\xDF\xB1z\xB3\xDE\xDE\xDF\r\n";
    return text + "end";
}

TEST(KanjiCodeStream, EveryCuttingGivesThePeersBytes) {
    if (!toolInstalled("iconv") || !toolInstalled("nkf")) GTEST_SKIP() << "iconv or nkf is not installed";
    PeerTool peer;
    const std::string sjis = sjisText(true);
    const std::string plainSjis = sjisText(false);
    const auto euc = peer.filter("iconv -f SHIFT_JIS -t EUC-JP", sjis);
    // nkf writes half-width katakana as full-width JIS as we do, ending kanji
    // mode with ESC ( B where we write ESC ( J.
    auto jis = peer.filter("nkf -S -j", sjis);
    const auto plainJis = peer.filter("iconv -f SHIFT_JIS -t ISO-2022-JP", plainSjis);
    const auto plainEuc = peer.filter("iconv -f SHIFT_JIS -t EUC-JP", plainSjis);
    ASSERT_TRUE(euc && jis && plainJis && plainEuc);
    for (std::size_t at; (at = jis->find("\x1B(B")) != std::string::npos;) (*jis)[at + 2] = 'J';

    expectEveryCutting(sjis, kCodeSjis, kCodeEuc, *euc);
    expectEveryCutting(*euc, kCodeEuc, kCodeSjis, sjis);
    expectEveryCutting(sjis, kCodeSjis, kCodeJisB, *jis);
    expectEveryCutting(*euc, kCodeEuc, kCodeJisB, *jis);
    expectEveryCutting(*plainJis, kCodeJisB, kCodeSjis, plainSjis);
    expectEveryCutting(*plainJis, kCodeJisB, kCodeEuc, *plainEuc);
}

TEST(KanjiCodeStream, DamagedTextGivesTheWholeTextsBytesForEveryCutting) {
    struct Case {
        int source;
        std::vector<std::string> inputs;
    };
    const Case cases[] = {
        {kCodeSjis,
         {"a\x82", "\x82\r\n\x82\xA0", "\x80\xA0\xFD\xFF\x82\xA0", "\xB6", "\xB6\xDE\xB6", "\x82\x7F\x82"}},
        {kCodeEuc,
         {"a\xA4", "\xA4\r\xA4\xA2", "\x8E", "\x8E\xB6\x8E", "\x8E\xB6\x8E\xDE\x8E\xB6", "\x8F\xA1", "\x8F\xA1\xA1z",
          "\x80\xFF\xA4\xA2\x8E\x41"}},
        {kCodeJisB,
         {"\x1B", "a\x1B$", "\x1B$B\x24", "\x1B$B\x24\x22\x1B(J", "\x1BX\x1B$B\x30\x21\r\n\x30\x21\x1B(Bq",
          "\x1B$B\x1B$B\x24\x22\x1B(", "\x1B$\x7F\x24\x22"}},
    };
    for (const Case& c : cases) {
        for (const int target : {kCodeSjis, kCodeEuc, kCodeJisB}) {
            for (const std::string& input : c.inputs) {
                expectEveryCutting(input, c.source, target, StrictConvertJCode(input, c.source, target));
            }
        }
    }
}

}  // namespace
}  // namespace tabulo::kanji
