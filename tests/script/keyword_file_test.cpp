#include "script/engine/keyword_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "support/file_fixture.h"

namespace tabulo::script {
namespace {

using testing::ScratchFolder;

std::string folderOf(const ScratchFolder& scratch) { return scratch.folder() + "/"; }

TEST(KeywordFileTest, BuiltInFilesAreWrittenOnlyWhenMissing) {
    ScratchFolder scratch;
    scratch.write("Ruby.kwd", ".rb\r\nmine\r\n");
    EXPECT_TRUE(writeMissingKeywordFiles(folderOf(scratch)).empty());

    const std::string awk = ScratchFolder::read(scratch.path("Awk.kwd"));
    EXPECT_EQ(awk.substr(0, 16), ".awk\r\nARGC\r\nARGV");
    EXPECT_TRUE(awk.ends_with("\r\ntoupper\r\nwhile\r\n"));
    // A user's own file is never replaced.
    EXPECT_EQ(ScratchFolder::read(scratch.path("Ruby.kwd")), ".rb\r\nmine\r\n");
}

TEST(KeywordFileTest, BuiltInListsHoldTheShippedWords) {
    const auto& files = builtInKeywordFiles();
    ASSERT_EQ(files.size(), 2u);
    EXPECT_EQ(files[0].fileName, "Awk.kwd");
    EXPECT_EQ(files[0].extensions, ".awk");
    EXPECT_EQ(files[0].words.size(), 63u);
    EXPECT_EQ(files[1].fileName, "Ruby.kwd");
    EXPECT_EQ(files[1].extensions, ".rb");
    EXPECT_EQ(files[1].words.size(), 273u);

    ScratchFolder scratch;
    ASSERT_TRUE(writeMissingKeywordFiles(folderOf(scratch)).empty());
    const std::string ruby = ScratchFolder::read(scratch.path("Ruby.kwd"));
    // The full-width full stop stays as its two Shift-JIS bytes.
    EXPECT_NE(ruby.find("\r\nfalse\r\nfalse\x81\x44\r\nfetch\r\n"), std::string::npos);
    EXPECT_EQ(ruby, keywordFileBytes(files[1]));
}

TEST(KeywordFileTest, FolderThatCannotTakeTheFilesNamesEachOne) {
    ScratchFolder scratch;
    const std::string folder = scratch.path("missing") + "/";
    EXPECT_EQ(writeMissingKeywordFiles(folder),
              (std::vector<std::string>{"can't open " + folder + "Awk.kwd", "can't open " + folder + "Ruby.kwd"}));
}

TEST(KeywordFileTest, ExtensionsAreMatchedWholeAndWithoutCase) {
    struct Case {
        const char* firstLine;
        const char* script;
        bool serves;
    };
    const Case cases[] = {
        {".awk", "/s/a.awk", true},
        {"  .AWK, .gawk \t", "/s/a.awk", true},
        {".AWK, .gawk", "/s/b.GAWK", true},
        {".awkx", "/s/a.awk", false},
        {".awk", "/s/a.aw", false},
        {".rb,.ruby", "/s/a.ruby", true},
        {".awk", "/s/awk", false},          // no extension
        {".awk", "/s.awk/script", false},   // the dot of a folder is no extension
        {".x", "/s/a.X", true},
    };
    for (const Case& c : cases) {
        ScratchFolder scratch;
        scratch.write("Test.kwd", std::string(c.firstLine) + "\r\nBEGIN\r\nprint\r\n");
        const std::vector<std::string> words = loadKeywords(c.script, folderOf(scratch));
        EXPECT_EQ(!words.empty(), c.serves) << c.firstLine << " / " << c.script;
        if (c.serves) {
            EXPECT_EQ(words, (std::vector<std::string>{"BEGIN", "print"}));
        }
    }
}

TEST(KeywordFileTest, WordsComeFromTheServingFileWithAnyLineBreak) {
    ScratchFolder scratch;
    scratch.write("Sed.KWD", ".sed\nsubst\rnext\r\n\r\nquit");
    scratch.write("Other.txt", ".sed\nnot a keyword file\n");
    scratch.write("Ruby.kwd", ".rb\nputs\n");
    EXPECT_EQ(loadKeywords("/x/y.sed", folderOf(scratch)), (std::vector<std::string>{"subst", "next", "quit"}));
    EXPECT_EQ(loadKeywords("/x/y.rb", folderOf(scratch)), (std::vector<std::string>{"puts"}));
    EXPECT_TRUE(loadKeywords("/x/y.txt", folderOf(scratch)).empty());
}

TEST(KeywordFileTest, UnreadableFileOrFolderIsReportedWithTheFolder) {
    ScratchFolder scratch;
    const std::string folder = folderOf(scratch);
    const std::string expected = folder + "*.KWD が異常です(File Err)！";
    try {
        loadKeywords("/x/a.awk", folder + "missing/");
        ADD_FAILURE() << "no error for a missing folder";
    } catch (const KeywordFileError& error) {
        EXPECT_EQ(error.what(), folder + "missing/*.KWD が異常です(File Err)！");
    }
    if (::geteuid() == 0) return;  // root reads any file
    scratch.write("Awk.kwd", ".awk\nBEGIN\n");
    ::chmod(scratch.path("Awk.kwd").c_str(), 0);
    try {
        loadKeywords("/x/a.awk", folder);
        ADD_FAILURE() << "no error for an unreadable file";
    } catch (const KeywordFileError& error) {
        EXPECT_EQ(error.what(), expected);
    }
}

}  // namespace
}  // namespace tabulo::script
