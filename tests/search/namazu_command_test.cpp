// The namazu command line and the reading of its output: option words split
// by the one rule (double quotes group, nothing expanded), the query always
// one word after "--", the debug script's quoting, the EUC-JP output turned
// into a Shift-JIS document whose summary lines still name the files, and
// the output of a search that opened no index.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "search/engine/command_words.h"
#include "search/engine/namazu_command.h"

namespace tabulo::search {
namespace {

using Words = std::vector<std::string>;

TEST(CommandWords, QuotesGroupAndNothingIsExpanded) {
    const struct {
        const char* text;
        Words words;
    } cases[] = {
        {"-n 100", {"-n", "100"}},
        {"  -n\t100  ", {"-n", "100"}},
        {"--sort=\"date ascending\" -a", {"--sort=date ascending", "-a"}},
        {"\"/my docs/index\" /var/idx", {"/my docs/index", "/var/idx"}},
        {"a\"\"b \"\"", {"ab", ""}},
        {"$HOME *.txt 'x y' a\\ b", {"$HOME", "*.txt", "'x", "y'", "a\\", "b"}},
        {"\"open to the end", {"open to the end"}},
        {"", {}},
        {" \t ", {}},
    };
    for (const auto& c : cases) EXPECT_EQ(splitCommandWords(c.text), c.words) << c.text;
}

TEST(CommandWords, SingleQuotedKeepsEveryByte) {
    EXPECT_EQ(singleQuoted("a b"), "'a b'");
    EXPECT_EQ(singleQuoted("it's"), "'it'\\''s'");
    EXPECT_EQ(singleQuoted(""), "''");
    EXPECT_EQ(singleQuoted("$x;\"`\\"), "'$x;\"`\\'");
}

TEST(NamazuArguments, TheQueryIsOneWordAfterTheOptions) {
    const struct {
        const char* options;
        const char* query;
        const char* folders;
        Words arguments;
    } cases[] = {
        {"-n 100", "\xC6\xFC\xCB\xDC", "", {"namazu", "-n", "100", "--", "\xC6\xFC\xCB\xDC"}},
        {"-n 100 -s", "a \"b\" 'c'; $d", "/idx \"/my idx\"",
         {"namazu", "-n", "100", "-s", "--", "a \"b\" 'c'; $d", "/idx", "/my idx"}},
        {"", "-n", "", {"namazu", "--", "-n"}},
    };
    for (const auto& c : cases) EXPECT_EQ(namazuArguments(c.options, c.query, c.folders), c.arguments) << c.query;
}

TEST(NamazuDebugScript, QuotesEveryWordAndWaitsForEnter) {
    EXPECT_EQ(namazuDebugScript({"namazu", "-n", "100", "--", "it's $x", "/my idx"}),
              "#!/bin/sh\n"
              "unset LC_ALL LC_CTYPE LC_MESSAGES LANGUAGE\n"
              "LANG='ja_JP.eucJP' 'namazu' '-n' '100' '--' 'it'\\''s $x' '/my idx'\n"
              "printf 'Press Enter to close . . . '\n"
              "read -r _\n");
}

TEST(NamazuResultDocument, TextGoesToShiftJisAndSummaryPathsStayFileNames) {
    // 日本語 in EUC-JP and in Shift-JIS; 表 in UTF-8 and in Shift-JIS.
    const std::string eucWord = "\xC6\xFC\xCB\xDC\xB8\xEC";
    const std::string sjisWord = "\x93\xFA\x96\x7B\x8C\xEA";
    const struct {
        std::string output;
        std::string document;
    } cases[] = {
        {"References:  [ " + eucWord + ": 2 ] \n", "References:  [ " + sjisWord + ": 2 ] \n"},
        {"/home/u/docs/\xE8\xA1\xA8 a.txt (14 bytes)\n", "/home/u/docs/\x95\x5C a.txt (14 bytes)\n"},
        {"/home/u/a (2).txt (1,234 bytes)", "/home/u/a (2).txt (1,234 bytes)"},
        // Not summary lines: the whole line is EUC-JP text.
        {"/" + eucWord + " (x bytes)\n", "/" + sjisWord + " (x bytes)\n"},
        {"  /" + eucWord + " (2 bytes)\n", "  /" + sjisWord + " (2 bytes)\n"},
        {"\n\n", "\n\n"},
        {"", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(namazuResultDocument(c.output), c.document) << c.output;
}

TEST(NamazuFoundNoIndex, OnlyWhenEveryIndexFailed) {
    const std::string one = "References:  [  (can't open the index)  ] \n\nNo document matching your query.\n";
    const std::string two =
        "References: \n(/a) [ x: 2 ] \n(/b) [  (can't open the index)  ] \n\n Total 2 documents matching your query.\n";
    const std::string both = "(/a) [  (can't open the index)  ] \n(/b) [  (can't open the index)  ] \n";
    const std::string none = "References:  [ x: 0 ] \n\nNo document matching your query.\n";
    EXPECT_TRUE(namazuFoundNoIndex(one, 0));
    EXPECT_TRUE(namazuFoundNoIndex(one, 1));
    EXPECT_FALSE(namazuFoundNoIndex(two, 2));
    EXPECT_TRUE(namazuFoundNoIndex(both, 2));
    EXPECT_FALSE(namazuFoundNoIndex(none, 0));
    EXPECT_FALSE(namazuFoundNoIndex("", 0));
}

}  // namespace
}  // namespace tabulo::search
