// Base64LineDecoder over every cutting of a line into pieces (sizes 1, 2, 3
// and 4096 after shifts of 0 to 3 bytes), so that groups, padding and the
// seven-character separator fall across piece edges. Encoded text comes from
// coreutils base64; lines whose separators overlap or are cut give what the
// whole-line decoding gives.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "block_feed.h"
#include "kanji/code_conversion.h"
#include "kanji/peer_tool.h"
#include "kanji/test_bytes.h"

namespace tabulo::kanji {
namespace {

using testing::PeerTool;
using testing::toolInstalled;

// The decoder as the block feeder drives a stream.
struct Feed {
    Base64LineDecoder decoder;
    void convert(std::string_view piece, bool last, std::string& out) { decoder.decode(piece, last, out); }
};

void expectEveryCutting(const std::string& line, const std::string& expected) {
    for (const std::size_t blockSize : testing::kBlockSizes) {
        for (std::size_t shift = 0; shift <= testing::kMaxShift; ++shift) {
            for (const bool emptyLast : {false, true}) {
                Feed feed;
                ASSERT_BYTES(testing::fedInBlocks(feed, line, shift, blockSize, emptyLast), expected)
                    << testing::showBytes(line) << ", block " << blockSize << ", shift " << shift;
            }
        }
    }
}

TEST(Base64LineDecoder, EveryCuttingDecodesWhatCoreutilsEncoded) {
    if (!toolInstalled("base64")) GTEST_SKIP() << "base64 is not installed";
    PeerTool peer;
    std::mt19937 random(7);
    for (const std::size_t size : {0, 1, 2, 3, 57, 58, 200}) {
        std::string data(size, '\0');
        for (char& c : data) c = static_cast<char>(random());
        // Wrapped at 76 characters; the line breaks become the separators
        // with which conv joins an encoded result's lines.
        const auto encoded = peer.filter("base64 -w76", data);
        ASSERT_TRUE(encoded.has_value());
        std::string line;
        for (const char c : *encoded) {
            if (c == '\n') line += kCommandSeparator;
            else line += c;
        }
        expectEveryCutting(line, data);
    }
}

TEST(Base64LineDecoder, CutAndOverlappingSeparatorsDecodeAsTheWholeLine) {
    const std::string lines[] = {
        "YWJj#$0D#$0D#0AYQ==", "YWJj#$0D#0", "YWJj#$0D#0A#", "#$0D#0A#$0D#0AYWI=", "YW#$0D#0AJj",
        "YQ==#$0D#0AYWJj",     "Y#$0D",      "#$0#$0D#0AYWJj", "YWJjZA",
    };
    for (const std::string& line : lines) expectEveryCutting(line, decodeLine(line, MailEncoding::Base64));
}

}  // namespace
}  // namespace tabulo::kanji
