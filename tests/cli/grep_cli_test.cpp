// tabulo-cli grep end to end: the grep listing with CR LF line ends, the
// fuzzy switch, exit statuses, bad patterns and unreadable files, and files
// of any encoding with --any-encoding.
#include "cli/cli_fixture.h"
#include "support/mixed_encoding_files.h"

#include <algorithm>
#include <filesystem>
#include <utility>
#include <vector>

namespace {

using namespace tabulo::testing;

class GrepCli : public CliTest {};

TEST_F(GrepCli, ListsEveryHitWithPathLineNumberAndText) {
    const std::string a = writeFile("a.txt", "abc\r\nxyz\r\nabd\r\n\x95\x5C\r\n");
    const std::string b = writeFile("b.txt", "nothing\nab at the end");
    const RunResult run = runShell(program() + " grep ab " + quoted(a) + " " + quoted(b));
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, a + "\r\nLine=1 \tabc\r\n\r\n" + a + "\r\nLine=3 \tabd\r\n\r\n" + b +
                           "\r\nLine=2 \tab at the end\r\n\r\n");
}

TEST_F(GrepCli, FuzzyDictionaryAndShiftJisBytes) {
    // ＡＢＣ in full width, then ｶﾞ in half width, found through ガ.
    const std::string f = writeFile("f.txt", "\x82\x60\x82\x61\x82\x62\r\n\xB6\xDE\r\n\x95\x5C\r\n");
    EXPECT_EQ(runShell(program() + " grep abc " + quoted(f)).status, 1);
    EXPECT_EQ(runShell(program() + " grep --fuzzy abc " + quoted(f)).out,
              f + "\r\nLine=1 \t\x82\x60\x82\x61\x82\x62\r\n\r\n");
    EXPECT_EQ(runShell(program() + " grep --fuzzy \"$(printf '\\203\\113')\" " + quoted(f)).out, f + "\r\nLine=2 \t\xB6\xDE\r\n\r\n");
    // The trail byte of 表 is not a backslash.
    EXPECT_EQ(runShell(program() + " grep '\\\\' " + quoted(f)).status, 1);
}

TEST_F(GrepCli, AnyEncodingListsTheHitOfEveryFileInShiftJis) {
    std::string paths;
    std::string expected;
    for (const auto& file : mixedEncodingFiles()) {
        const std::string p = writeFile(file.name, file.bytes);
        paths += " " + quoted(p);
        expected += p + "\r\nLine=" + std::to_string(file.hitLine) + " \t" + kMixedHitLine + "\r\n\r\n";
    }
    // The pattern as a UTF-8 argument; the output is Shift-JIS.
    const std::string grep = program() + " grep --args-encoding utf-8 --any-encoding 日本語の検索";
    const RunResult run = runShell(grep + paths);
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, expected);
    // Standard input is detected too.
    const std::string eucFile = (m_dir / "euc.txt").string();
    EXPECT_EQ(runShell(grep + " - < " + quoted(eucFile)).out,
              "-\r\nLine=2 \t" + kMixedHitLine + "\r\n\r\n");
}

// A listing names its files in Shift-JIS like its lines: 日本語 is 0x93FA
// 0x967B 0x8CEA in CP932, and a name part with no Shift-JIS form (😀)
// keeps its bytes. Shown in UTF-8 the listing reads as the names do.
TEST_F(GrepCli, ListingNamesFilesInShiftJis) {
    const std::string folder = m_dir.string() + "/";
    writeFile("日本語.txt", "ab\r\n");
    writeFile("\xF0\x9F\x98\x80.txt", "ab\r\n");
    const std::string files = " " + quoted(folder + "日本語.txt") + " " + quoted(folder + "\xF0\x9F\x98\x80.txt");
    const RunResult run = runShell(program() + " grep ab" + files);
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, folder + "\x93\xFA\x96\x7B\x8C\xEA.txt\r\nLine=1 \tab\r\n\r\n" + folder +
                           "\xF0\x9F\x98\x80.txt\r\nLine=1 \tab\r\n\r\n");
    const RunResult shown = runShell(program() + " grep --output-encoding utf-8 ab" + files);
    EXPECT_EQ(shown.out.substr(0, folder.size() + 15), folder + "日本語.txt\r\n");
}

TEST_F(GrepCli, StatusesBadPatternsAndMissingFiles) {
    const std::string f = writeFile("f.txt", "abc\n");
    const std::string missing = (m_dir / "missing.txt").string();
    EXPECT_EQ(runShell(program() + " grep q " + quoted(f)).status, 1);
    EXPECT_EQ(runShell(program() + " grep q 2>/dev/null").status, 2);

    const RunResult bad = runShell(program() + " grep 'a(b' " + quoted(f) + " 2>&1");
    EXPECT_EQ(bad.status, 2);
    // The message, the pattern and a caret under the place of the error.
    EXPECT_NE(bad.out.find("右(閉じ)括弧が必要です\n  a(b\n     ^\n"), std::string::npos) << bad.out;

    // A file that cannot be read makes the status 2; the others are still searched.
    const RunResult goesOn = runShell(program() + " grep b " + quoted(missing) + " " + quoted(f) + " 2>/dev/null");
    EXPECT_EQ(goesOn.status, 2);
    EXPECT_EQ(goesOn.out, f + "\r\nLine=1 \tabc\r\n\r\n");
    const RunResult message = runShell(program() + " grep b " + quoted(missing) + " 2>&1 >/dev/null");
    EXPECT_EQ(message.status, 2);
    EXPECT_NE(message.out.find(missing), std::string::npos) << message.out;
    const RunResult folder = runShell(program() + " grep b " + quoted(m_dir.string()) + " " + quoted(f) + " 2>/dev/null");
    EXPECT_EQ(folder.status, 2);
    EXPECT_EQ(folder.out, f + "\r\nLine=1 \tabc\r\n\r\n");
}

// --count, --files-with-matches and --recursive print what GNU grep prints
// for the same files (sorted, where grep follows the folder's own order).
TEST_F(GrepCli, CountNamesAndRecursionAsGrepPrintsThem) {
    if (runShell("command -v grep >/dev/null && echo found").out != "found\n") GTEST_SKIP() << "grep is not installed";
    writeFile("outside.txt", "ab\n");
    std::filesystem::create_directories(m_dir / "d" / "sub");
    writeFile("d/b.txt", "ab\nxx\nab ab\n");
    writeFile("d/a.txt", "no\n");
    writeFile("d/sub/c.txt", "xab\n");
    std::filesystem::create_symlink(m_dir / "outside.txt", m_dir / "d" / "link.txt");
    const std::string cd = "cd " + quoted(m_dir.string()) + " && ";
    struct Case {
        const char* flags;
        const char* files;
    };
    const Case cases[] = {
        {"-c", "d/b.txt"},
        {"--count", "d/b.txt d/a.txt d/sub/c.txt"},
        {"-l", "d/a.txt d/b.txt d/sub/c.txt"},
        {"--files-with-matches", "d/link.txt d/a.txt"},
        {"-r -c", "d"},
        {"-r -l", "d outside.txt"},
        {"-r -l", "d/link.txt"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.flags) + " " + c.files);
        const RunResult ours = runShell(cd + program() + " grep " + c.flags + " ab " + c.files);
        const std::string grep = cd + "grep " + c.flags + " ab " + c.files;
        const bool recursive = std::string(c.flags).find("-r") != std::string::npos;
        EXPECT_EQ(ours.out, runShell(grep + (recursive ? " | LC_ALL=C sort" : "")).out);
        EXPECT_EQ(ours.status, runShell(grep + " >/dev/null").status);
    }
    // The listing of a folder's files, in the order of their names.
    EXPECT_EQ(runShell(cd + program() + " grep -r ab d").out,
              "d/b.txt\r\nLine=1 \tab\r\n\r\nd/b.txt\r\nLine=3 \tab ab\r\n\r\nd/sub/c.txt\r\nLine=1 \txab\r\n\r\n");
    EXPECT_EQ(runShell(cd + program() + " grep -c -l ab d/b.txt 2>/dev/null").status, 2);
}

// Many files are searched on several threads; the output is the one file
// after the other, as each file's own search writes it, and --count,
// --files-with-matches and --recursive agree with those listings. One file
// is large enough to be mapped rather than read.
TEST_F(GrepCli, ManyFilesListInTheOrderGiven) {
    std::filesystem::create_directories(m_dir / "tree");
    std::string files, oneByOne, counts, names;
    std::vector<std::pair<std::string, std::string>> byName;  // for the folder's sorted order
    for (int i = 0; i < 60; ++i) {
        std::string text;
        const int lines = i == 5 ? 150000 : 200 + 37 * i % 300;
        for (int line = 0; line < lines; ++line) text += line % (i % 7 + 2) == 0 ? "x ab y\r\n" : "none\r\n";
        if (i % 11 == 3) text = "none\r\n";
        const std::string name = "f" + std::to_string((i * 17) % 60) + ".txt";
        const std::string f = writeFile("tree/" + name, text);
        files += " " + quoted(f);
        const std::string listing = runShell(program() + " grep ab " + quoted(f)).out;
        oneByOne += listing;
        std::size_t hits = 0;
        for (std::size_t at = 0; (at = listing.find("\r\nLine=", at)) != std::string::npos; ++at) ++hits;
        counts += f + ":" + std::to_string(hits) + "\n";
        if (hits > 0) names += f + "\n";
        byName.emplace_back(f, listing);
    }
    EXPECT_EQ(runShell(program() + " grep ab" + files).out, oneByOne);
    EXPECT_EQ(runShell(program() + " grep -c ab" + files).out, counts);
    EXPECT_EQ(runShell(program() + " grep -l ab" + files).out, names);
    std::sort(byName.begin(), byName.end());
    std::string sorted;
    for (const auto& [name, listing] : byName) sorted += listing;
    EXPECT_EQ(runShell(program() + " grep -r ab " + quoted((m_dir / "tree").string())).out, sorted);
}

}  // namespace
