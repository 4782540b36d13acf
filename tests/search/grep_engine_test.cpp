// The multi-file grep: the listing for hits in several files, files that are
// not searched (FIFO, device, folder, missing) reported and skipped without
// blocking, binary files searched as bytes, and both ways of stopping.
#include <sys/stat.h>

#include <string>
#include <vector>

#include "search/engine/grep_listing.h"
#include "search/engine/multi_file_grep.h"
#include "search_test_folder.h"

namespace tabulo::search {
namespace {

using Folder = testing::SearchFolderTest;

struct GrepRun {
    std::vector<std::string> listing;
    std::vector<std::string> skipped;
    GrepFilesResult result;
};

GrepRun grepAll(const std::string& pattern, const std::vector<std::string>& paths,
            std::function<bool(std::size_t)> before = {}) {
    regex::TGrep grep;
    grep.SetRegExp(pattern);
    GrepRun run;
    GrepFileEvents events;
    events.beforeFile = [&](std::size_t i, const std::string&) { return before ? before(i) : true; };
    events.onHit = [&](const std::string& path, const regex::RE_LineInfo_t& hit) {
        appendListingEntry(run.listing, path, hit);
    };
    events.onSkipped = [&](const std::string& path, const std::string&) { run.skipped.push_back(path); };
    run.result = grepFiles(grep, paths, events);
    return run;
}

TEST_F(Folder, ThreeHitsInOneFileAndOneInAnotherGiveTwelveLines) {
    const std::string a = write("a.txt", "abc\r\nxyz\nab\rzab");  // mixed breaks, no final break
    const std::string b = write("b.txt", "\x95\x5C" "ab\r\n");   // 表 then ab
    const GrepRun run = grepAll("ab", {a, b});
    const std::vector<std::string> expected = {
        a, "Line=1 \tabc", "", a, "Line=3 \tab", "", a, "Line=4 \tzab", "",
        b, "Line=1 \t\x95\x5C" "ab", "",
    };
    EXPECT_EQ(run.listing, expected);
    EXPECT_FALSE(run.result.stopped);
    EXPECT_EQ(run.result.searched, 2u);
}

TEST_F(Folder, FilesThatAreNotRegularAreSkippedAndTheSearchGoesOn) {
    const std::string fifo = path("pipe");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);  // no writer: opening it would block
    const std::string last = write("last.txt", "hit\n");
    const std::vector<std::string> paths = {fifo, "/dev/zero", folder(), path("missing.txt"), last};
    const GrepRun run = grepAll("hit", paths);
    EXPECT_EQ(run.skipped, (std::vector<std::string>{fifo, "/dev/zero", folder(), path("missing.txt")}));
    EXPECT_EQ(run.listing, (std::vector<std::string>{last, "Line=1 \thit", ""}));
    EXPECT_EQ(run.result.skipped, 4u);
    EXPECT_EQ(run.result.searched, 1u);
}

TEST_F(Folder, UnreadableFileIsSkipped) {
    if (::geteuid() == 0) GTEST_SKIP() << "root reads every file";
    const std::string locked = write("locked.txt", "hit\n");
    ::chmod(locked.c_str(), 0);
    const GrepRun run = grepAll("hit", {locked});
    EXPECT_EQ(run.skipped, std::vector<std::string>{locked});
    EXPECT_TRUE(run.listing.empty());
}

TEST_F(Folder, BinaryFilesAreSearchedAsBytes) {
    std::string bytes;
    for (int i = 0; i < 256; ++i) bytes += static_cast<char>(i);
    bytes += "needle";
    const std::string bin = write("a.bin", bytes + bytes);
    const GrepRun run = grepAll("needle", {bin});
    ASSERT_EQ(run.listing.size(), 6u);  // one hit on each line that holds it
    EXPECT_EQ(run.listing[1].substr(0, 7), "Line=3 ");  // 0x0A and 0x0D break lines
    EXPECT_EQ(run.listing[4].substr(0, 7), "Line=5 ");
}

TEST_F(Folder, StoppingBeforeAFileKeepsTheHitsSoFar) {
    const std::string a = write("a.txt", "x\n");
    const std::string b = write("b.txt", "x\n");
    const GrepRun run = grepAll("x", {a, b}, [](std::size_t i) { return i == 0; });
    EXPECT_TRUE(run.result.stopped);
    EXPECT_EQ(run.listing, (std::vector<std::string>{a, "Line=1 \tx", ""}));
}

TEST_F(Folder, CancelFromAHitEndsTheSearch) {
    const std::string a = write("a.txt", "x\nx\nx\n");
    const std::string b = write("b.txt", "x\n");
    regex::TGrep grep;
    grep.SetRegExp("x");
    int hits = 0;
    GrepFileEvents events;
    events.onHit = [&](const std::string&, const regex::RE_LineInfo_t&) {
        ++hits;
        grep.SetCancel(true);
    };
    const GrepFilesResult result = grepFiles(grep, {a, b}, events);
    EXPECT_TRUE(result.stopped);
    EXPECT_EQ(hits, 1);
}

TEST(GrepListing, LineNumbersOfListingLines) {
    const struct {
        const char* line;
        std::optional<std::size_t> number;
    } cases[] = {
        {"Line=12 \tabc", 12}, {"Line=1 \t", 1}, {"Line=12\tabc", std::nullopt},
        {"Line= \tabc", std::nullopt}, {"Line=0 \tabc", std::nullopt}, {"line=3 \tx", std::nullopt},
        {"Line=+3 \tx", std::nullopt}, {"/home/a.txt", std::nullopt},
    };
    for (const auto& c : cases) EXPECT_EQ(listingLineNumber(c.line), c.number) << c.line;
    EXPECT_EQ(listingLineOf({"abc", 12}), "Line=12 \tabc");
}

}  // namespace
}  // namespace tabulo::search
