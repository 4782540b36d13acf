// Cat: the target's name, the separators and when they apply, appending
// with failures reported and the other files still joined, and the choice of
// files in the dialog.
#include <sys/stat.h>

#include <string>
#include <vector>

#include "search/engine/cat_append.h"
#include "search/engine/cat_selection.h"
#include "search_test_folder.h"

namespace tabulo::search {
namespace {

using Folder = testing::SearchFolderTest;

TEST(CatTarget, NameFollowsTheFirstFile) {
    const struct {
        const char* first;
        const char* target;
    } cases[] = {
        {"/w/a.txt", "/w/CatTemp.txt"},   {"/w/x.html", "/w/CatTemp.html"}, {"/w/x.htm", "/w/CatTemp.htm"},
        {"/w/X.HTML", "/w/CatTemp.txt"},  {"/w/noext", "/w/CatTemp.txt"},   {"/w.d/x.shtml", "/w.d/CatTemp.shtml"},
    };
    for (const auto& c : cases) EXPECT_EQ(catTargetPath(c.first), c.target) << c.first;
}

TEST(CatTarget, SeparatorsExceptForWebPagesAndWorkFiles) {
    EXPECT_TRUE(catUsesSeparators("/w/a.txt", "/run/tabulo/"));
    EXPECT_TRUE(catUsesSeparators("/w/A.HTM", "/run/tabulo/"));  // the test for htm minds case
    EXPECT_FALSE(catUsesSeparators("/w/a.html", "/run/tabulo/"));
    EXPECT_FALSE(catUsesSeparators("/run/tabulo/TA.txt", "/run/tabulo/"));
    EXPECT_EQ(catHeader("a.txt"), "\r\n_/_/_/_/ a.txt _/_/_/_/\r\n\r\n");
    EXPECT_EQ(catFooter("a.txt"), "\r\n_/End Of a.txt _/_/_/_/\r\n\r\n");
}

TEST_F(Folder, AppendFramesTextFilesAndStopsAtTheirOwnEndMark) {
    const std::string a = write("a.txt", "one\r\ntwo");         // no final break
    const std::string b = write("\xE8\xA1\xA8.txt", "b\n\x1A" "after");  // 表.txt, text ends at 0x1A
    const std::string page = write("p.html", "<p>\r\n");
    const std::string out = path("CatTemp.txt");
    std::vector<std::string> reports;
    const CatReport report = [&](const std::string& m) { reports.push_back(m); };
    EXPECT_EQ(CatAppendFile(a, out, "/elsewhere/", report), 0);
    EXPECT_EQ(CatAppendFile(b, out, "/elsewhere/", report), 0);
    EXPECT_EQ(CatAppendFile(page, out, "/elsewhere/", report), 0);
    EXPECT_EQ(CatAppendFile(a, out, folder(), report), 0);  // from the work folder: no frame
    EXPECT_EQ(read(out), catHeader("a.txt") + "one\r\ntwo" + catFooter("a.txt") +
                             catHeader("\x95\x5C.txt") + "b\n" + catFooter("\x95\x5C.txt") +
                             "<p>\r\n" + "one\r\ntwo");
    EXPECT_TRUE(reports.empty());
}

TEST_F(Folder, AppendReportsWhatCannotBeOpenedAndWritesNothingForIt) {
    const std::string fifo = path("pipe");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const std::string good = write("good.txt", "g");
    const std::string out = path("out.txt");
    std::vector<std::string> reports;
    const CatReport report = [&](const std::string& m) { reports.push_back(m); };
    EXPECT_EQ(CatAppendFile(path("missing.txt"), out, "/w/", report), -1);
    EXPECT_EQ(CatAppendFile(fifo, out, "/w/", report), -1);  // never blocks on a FIFO
    EXPECT_EQ(CatAppendFile("/dev/zero", out, "/w/", report), -1);
    EXPECT_EQ(CatAppendFile(good, path("no/such/folder/out.txt"), "/w/", report), -1);
    EXPECT_EQ(CatAppendFile(good, out, "/w/", report), 0);
    EXPECT_EQ(reports, (std::vector<std::string>{"can't open " + path("missing.txt"), "can't open " + fifo,
                                                 "can't open /dev/zero",
                                                 "can't open " + path("no/such/folder/out.txt")}));
    EXPECT_EQ(read(out), catHeader("good.txt") + "g" + catFooter("good.txt"));
}

TEST(CatSelection, MovingSortingAndResetting) {
    CatSelection s({"/w/b.txt", "/w/a.txt", "/w/C.txt"});
    EXPECT_EQ(s.leftCount(), 3u);
    EXPECT_EQ(s.rightCount(), 0u);

    EXPECT_TRUE(s.moveRight(0));   // b first
    EXPECT_FALSE(s.moveRight(0));  // its place is empty now
    EXPECT_FALSE(s.moveRight(7));
    EXPECT_TRUE(s.moveRight(1));
    EXPECT_EQ(s.left(), (std::vector<std::string>{"", "", "/w/C.txt"}));
    EXPECT_EQ(s.filesToJoin(), (std::vector<std::string>{"/w/b.txt", "/w/a.txt"}));
    EXPECT_EQ(s.leftCount(), 1u);
    EXPECT_EQ(s.rightCount(), 2u);

    s.reset();
    EXPECT_EQ(s.left(), (std::vector<std::string>{"/w/b.txt", "/w/a.txt", "/w/C.txt"}));
    EXPECT_TRUE(s.right().empty());

    // Sorting minds no letter case; the moved file stays on the right, and a
    // reset brings back the sorted candidates.
    s.moveRight(1);
    s.sortDescending();
    EXPECT_EQ(s.left(), (std::vector<std::string>{"/w/C.txt", "/w/b.txt"}));
    EXPECT_EQ(s.filesToJoin(), std::vector<std::string>{"/w/a.txt"});
    s.sortAscending();
    EXPECT_EQ(s.left(), (std::vector<std::string>{"/w/b.txt", "/w/C.txt"}));
    s.reset();
    EXPECT_EQ(s.left(), (std::vector<std::string>{"/w/b.txt", "/w/C.txt"}));

    s.moveAllRight();
    EXPECT_TRUE(s.left().empty());
    EXPECT_EQ(s.filesToJoin(), (std::vector<std::string>{"/w/b.txt", "/w/C.txt"}));
}

}  // namespace
}  // namespace tabulo::search
