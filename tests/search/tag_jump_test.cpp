// The tag jump's reading of a line: the summary markers, the old drive form,
// blanks at both ends; and what opens where: text files in a second copy
// (a listing's "Line=" line with its line number), programs and everything
// else through the desktop's opener.
#include <string>

#include "search/engine/tag_jump.h"
#include "search_test_folder.h"

namespace tabulo::search {
namespace {

using Folder = testing::SearchFolderTest;

TEST(TagJumpText, MarkersDriveFormAndBlanks) {
    const struct {
        const char* line;
        const char* target;
    } cases[] = {
        {"  /home/u/a.txt\x81\x40", "/home/u/a.txt"},                 // blanks and a full-width space
        {"\t/home/u/docs/a.txt (24 bytes)", "/home/u/docs/a.txt"},    // full-text search summary
        {"/home/u/my file (2).txt size (1,234 bytes)", "/home/u/my file (2).txt"},
        {"/home/u/a (b).txt", "/home/u/a (b).txt"},                   // " (" without " bytes)"
        {"/home/u/Copy (2).txt (24 bytes)", "/home/u/Copy (2).txt"},  // the summary's own size note
        {"/C|/doc/memo.txt size (1234 bytes)", "C:\\doc\\memo.txt"},  // the old drive form
        {"/D|/web/index.html (2,048 bytes)", "D:\\web\\index.html"},
        {"/usr|/x", "/usr|/x"},                                       // not a drive form
        {"regedit", "regedit"},
        {"C:\\data\\a.txt", "C:\\data\\a.txt"},
        {" \t\x81\x40 ", ""},
        {"", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(tagJumpText(c.line), c.target) << c.line;
}

TEST_F(Folder, TextFilesOpenInTheProgramAndEverythingElseThroughTheOpener) {
    const std::string text = write("a b$;'\".txt", "text\r\n");
    const std::string binary = write("b.dat", std::string("x\0y", 3));
    const std::string sjisName = path("\xE8\xA1\xA8.txt");  // 表.txt in UTF-8
    write("\xE8\xA1\xA8.txt", "hyou\n");
    const std::string rawName = write("\x95\x5C\xFF.txt", "raw\n");  // not UTF-8
    const struct {
        std::string line;
        TagJumpAction action;
        std::string target;
    } cases[] = {
        {"  " + text + "  ", TagJumpAction::OpenText, text},
        {text + " (6 bytes)", TagJumpAction::OpenText, text},
        {folder() + "\x95\x5C.txt", TagJumpAction::OpenText, sjisName},  // the document spells it in Shift-JIS
        {rawName, TagJumpAction::OpenText, rawName},                        // bytes that do not convert stay
        {binary, TagJumpAction::RunShell, binary},
        {"/bin/sh", TagJumpAction::RunShell, "/bin/sh"},                    // a program
        {folder(), TagJumpAction::RunShell, folder()},
        {"regedit", TagJumpAction::RunShell, "regedit"},
        {"/no/such/file.txt", TagJumpAction::RunShell, "/no/such/file.txt"},
        {"   ", TagJumpAction::None, ""},
    };
    for (const auto& c : cases) {
        const TagJump jump = planTagJump(c.line, std::nullopt);
        EXPECT_EQ(jump.action, c.action) << c.line;
        EXPECT_EQ(jump.target, c.target) << c.line;
        EXPECT_EQ(jump.line, 0u) << c.line;
    }
}

TEST_F(Folder, ListingLineOpensTheFileAboveAtThatLine) {
    const std::string file = write("hits.txt", "a\nb\nc\n");
    const TagJump jump = planTagJump("Line=3 \tc", file);
    EXPECT_EQ(jump.action, TagJumpAction::OpenText);
    EXPECT_EQ(jump.target, file);
    EXPECT_EQ(jump.line, 3u);

    // Without a file above, the line is an ordinary text for the opener.
    const TagJump orphan = planTagJump("Line=3 \tc", std::string("not a file"));
    EXPECT_EQ(orphan.action, TagJumpAction::RunShell);
    EXPECT_EQ(orphan.target, "Line=3 \tc");
    EXPECT_EQ(planTagJump("Line=3 \tc", std::nullopt).action, TagJumpAction::RunShell);
}

}  // namespace
}  // namespace tabulo::search
