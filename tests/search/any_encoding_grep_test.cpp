// The grep over files of any encoding: each file's kanji code detected on
// its own, hits listed in Shift-JIS with the line numbers of the file, and
// detection and conversion that hold across the reader's chunks and the
// end of the detection window.
#include <string>
#include <vector>

#include "search/engine/encoded_file_source.h"
#include "search/engine/grep_listing.h"
#include "search/engine/multi_file_grep.h"
#include "search_test_folder.h"
#include "support/mixed_encoding_files.h"

namespace tabulo::search {
namespace {

using Folder = testing::SearchFolderTest;

std::vector<std::string> listing(const std::string& pattern, const std::vector<std::string>& paths,
                                 GrepEncoding encoding) {
    regex::TGrep grep;
    grep.SetRegExp(pattern);
    std::vector<std::string> lines;
    GrepFileEvents events;
    events.onHit = [&](const std::string& path, const regex::RE_LineInfo_t& hit) {
        appendListingEntry(lines, path, hit);
    };
    grepFiles(grep, paths, events, encoding);
    return lines;
}

TEST_F(Folder, OneHitInEachEncodingAtItsOwnLineNumber) {
    std::vector<std::string> paths;
    std::vector<std::string> expected;
    for (const auto& file : testing::mixedEncodingFiles()) {
        paths.push_back(write(file.name, file.bytes));
        expected.insert(expected.end(), {paths.back(), "Line=" + std::to_string(file.hitLine) + " \t" +
                                                           testing::kMixedHitLine, ""});
    }
    EXPECT_EQ(listing(testing::kMixedHitLine, paths, GrepEncoding::Detect), expected);
    // Read as Shift-JIS only the Shift-JIS file has the line.
    EXPECT_EQ(listing(testing::kMixedHitLine, paths, GrepEncoding::ShiftJis),
              std::vector<std::string>(expected.begin(), expected.begin() + 3));
}

TEST_F(Folder, EachFileGetsItsOwnCode) {
    const std::string utf8A = "\xE3\x81\x82";
    // A three-byte character cut by the end of the detection window.
    const std::string straddling =
        utf8A + std::string(EncodedFileSource::kDetectionBytes - 4, 'x') + utf8A + "\n";
    const struct {
        const char* name;
        std::string bytes;
        FileEncoding expected;
    } cases[] = {
        {"sjis", "\x82\xA0\r\n", FileEncoding::ShiftJis},
        {"euc", "\xC6\xFC\xCB\xDC\n", FileEncoding::Euc},
        {"jis", "\x1B$B$\"\x1B(B\n", FileEncoding::Jis},
        {"utf8", utf8A + "\n", FileEncoding::Utf8},
        {"ascii", "plain\n", FileEncoding::ShiftJis},
        {"empty", "", FileEncoding::ShiftJis},
        {"straddling", straddling, FileEncoding::Utf8},
        {"utf8 then malformed", utf8A + std::string(100000, 'x') + "\x82\xA0\n", FileEncoding::ShiftJis},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(EncodedFileSource(write("f.txt", c.bytes)).encoding(), c.expected) << c.name;
    }
}

TEST_F(Folder, LongFilesKeepTheirLineNumbersAcrossChunks) {
    // ああ on 200,000 lines: past the detection window, with lines cut by
    // every chunk boundary; then a line of 200 KB.
    std::string utf8;
    for (int i = 0; i < 200000; ++i) utf8 += "\xE3\x81\x82\xE3\x81\x82\n";
    const std::string hitLine = "\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E\xE3\x81\xAE\xE6\xA4\x9C\xE7\xB4\xA2";
    utf8 += std::string(200000, 'y') + hitLine + "\nlast\n";
    std::string euc = "\xC6\xFC\xCB\xDC\n";  // 日本, which tells EUC from Shift-JIS
    for (int i = 0; i < 200000; ++i) euc += "\xA4\xA2\xA4\xA2\r\n";
    euc += "\xC6\xFC\xCB\xDC\xB8\xEC\xA4\xCE\xB8\xA1\xBA\xF7";
    // Line breaks that are lone CRs are cut at as well.
    std::string crOnly = "\xC6\xFC\xCB\xDC\r";
    for (int i = 0; i < 200000; ++i) crOnly += "\xA4\xA2\r";
    crOnly += "\xC6\xFC\xCB\xDC\xB8\xEC\xA4\xCE\xB8\xA1\xBA\xF7\r";
    const std::string u = write("u.txt", utf8);
    const std::string e = write("e.txt", euc);
    const std::string c = write("c.txt", crOnly);
    const std::vector<std::string> lines = listing(testing::kMixedHitLine, {u, e, c}, GrepEncoding::Detect);
    ASSERT_EQ(lines.size(), 9u);
    EXPECT_EQ(lines[7], "Line=200002 \t" + testing::kMixedHitLine);
    EXPECT_EQ(lines[1], "Line=200001 \t" + std::string(200000, 'y') + testing::kMixedHitLine);
    EXPECT_EQ(lines[4], "Line=200002 \t" + testing::kMixedHitLine);
    // The converted text before the hit is Shift-JIS あ throughout.
    EXPECT_EQ(listing("^\x82\xA0\x82\xA0$", {u}, GrepEncoding::Detect).size(), 3u * 200000);
}

}  // namespace
}  // namespace tabulo::search
