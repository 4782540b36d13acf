// Our converters against the peer tools on the same bytes: glibc iconv for
// Shift-JIS, EUC and JIS within JIS X 0208, coreutils base64, and nkf for
// code guessing and half-width katakana. A missing peer skips its test.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "kanji/jis_table.h"
#include "kanji/kanji_code.h"
#include "kanji/mail_encoding.h"
#include "kanji/peer_tool.h"
#include "kanji/test_bytes.h"

namespace tabulo::kanji {
namespace {

using testing::PeerTool;
using testing::readFixture;
using testing::toolInstalled;

#define REQUIRE_TOOL(tool) \
    if (!toolInstalled(tool)) GTEST_SKIP() << tool " is not installed"

// Every JIS X 0208 character in Shift-JIS, with ASCII and line breaks between
// rows. 0x5C and 0x7E are left out: iconv's SHIFT_JIS reads them as the yen
// sign and overline, which EUC-JP writes differently.
std::string sjisSample(bool withHalfKana) {
    std::string text;
    int row = 0;
    for (const auto& c : testing::jisX0208Chars()) {
        if (c.row != row) {
            row = c.row;
            text += "\r\nrow " + std::to_string(row - 0x20) + ": ";
        }
        text += ToSjis(c.row, c.cell);
    }
    for (int c = 0x20; c < 0x7F; ++c) {
        if (c != 0x5C && c != 0x7E) text.push_back(static_cast<char>(c));
    }
    if (withHalfKana) {
        for (int c = 0xA1; c <= 0xDF; ++c) text.push_back(static_cast<char>(c));
    }
    return text + "\r\n";
}

TEST(PeerIconv, SjisEucAgree) {
    REQUIRE_TOOL("iconv");
    PeerTool peer;
    const std::string sjis = sjisSample(true);
    const auto euc = peer.filter("iconv -f SHIFT_JIS -t EUC-JP", sjis);
    ASSERT_TRUE(euc.has_value());
    EXPECT_TRUE(sjis2euc(sjis) == *euc) << "sjis2euc differs from iconv";
    const auto back = peer.filter("iconv -f EUC-JP -t SHIFT_JIS", *euc);
    ASSERT_TRUE(back.has_value());
    EXPECT_TRUE(euc2sjis(*euc) == *back) << "euc2sjis differs from iconv";
}

TEST(PeerIconv, JisFromIconvReadsBack) {
    REQUIRE_TOOL("iconv");
    PeerTool peer;
    const std::string sjis = sjisSample(false);
    const auto jis = peer.filter("iconv -f SHIFT_JIS -t ISO-2022-JP", sjis);
    ASSERT_TRUE(jis.has_value());
    EXPECT_TRUE(jis2sjis(*jis) == sjis);
    // iconv reads our JIS (with ESC ( J) back to the same characters.
    const auto fromOurs = peer.filter("iconv -f ISO-2022-JP -t SHIFT_JIS", sjis2jis83(sjis));
    ASSERT_TRUE(fromOurs.has_value());
    EXPECT_TRUE(*fromOurs == sjis);
}

TEST(PeerBase64, EncodingAgreesWithCoreutils) {
    REQUIRE_TOOL("base64");
    PeerTool peer;
    std::mt19937 random(42);
    for (const std::size_t size : {0, 1, 2, 3, 45, 57, 200, 100000}) {
        std::string data(size, '\0');
        for (char& c : data) c = static_cast<char>(random());
        const auto theirs = peer.filter("base64 -w0", data);
        ASSERT_TRUE(theirs.has_value());
        EXPECT_EQ(EncodeBase64(data), *theirs) << size;
        EXPECT_TRUE(DecodeBase64(*theirs) == data) << size;
    }
}

TEST(PeerNkf, GuessAgreesOnRealFiles) {
    REQUIRE_TOOL("nkf");
    PeerTool peer;
    const std::pair<const char*, int> files[] = {
        {"sample_sjis.txt", kCodeSjis}, {"sample_euc.txt", kCodeEuc}, {"sample_jis.txt", kCodeJisB}};
    for (const auto& [name, code] : files) {
        const std::string text = readFixture(name);
        ASSERT_FALSE(text.empty()) << name;
        const auto guess = peer.filter("nkf --guess", text);
        ASSERT_TRUE(guess.has_value());
        const std::string nkfName = guess->substr(0, guess->find(' '));
        const int nkfCode = nkfName == "Shift_JIS" ? kCodeSjis
                            : nkfName == "EUC-JP"  ? kCodeEuc
                            : nkfName == "ISO-2022-JP" ? kCodeJisB
                            : -1;
        EXPECT_EQ(nkfCode, code) << name << ": nkf says " << *guess;
        EXPECT_EQ(InCodeCheck(text), nkfCode) << name;
    }
}

// nkf also writes half-width katakana as full-width JIS and merges voicing
// marks; it ends kanji mode with ESC ( B where we write ESC ( J.
TEST(PeerNkf, HalfWidthKatakanaToJisAgrees) {
    REQUIRE_TOOL("nkf");
    PeerTool peer;
    std::string sjis;
    for (int c = 0xA1; c <= 0xDF; ++c) {
        sjis.push_back(static_cast<char>(c));
        sjis += "\xDE" "a";
        sjis.push_back(static_cast<char>(c));
        sjis += "\xDF\r\n";
    }
    const auto theirs = peer.filter("nkf -S -j", sjis);
    ASSERT_TRUE(theirs.has_value());
    std::string expected = *theirs;
    for (std::size_t at; (at = expected.find("\x1B(B")) != std::string::npos;) expected[at + 2] = 'J';
    EXPECT_BYTES(sjis2jis83(sjis), expected);
    EXPECT_BYTES(euc2jis83(sjis2euc(sjis)), expected);
}

}  // namespace
}  // namespace tabulo::kanji
