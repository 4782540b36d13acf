// The interpreter's argument list, the argument words and the debug script.
#include <gtest/gtest.h>

#include "script/engine/interpreter_command.h"
#include "script/engine/script_arguments.h"

namespace tabulo::script {
namespace {

using Words = std::vector<std::string>;

TEST(ScriptArgumentsTest, BlanksSeparateQuotesGroupAndNothingIsExpanded) {
    struct Case {
        const char* text;
        Words words;
        const char* quotedName;  // nullptr: none
    };
    const Case cases[] = {
        {"", {}, nullptr},
        {"  -v  x=1\t", {"-v", "x=1"}, nullptr},
        {"\"my file.txt\" $HOME *.txt 'a b'", {"my file.txt", "$HOME", "*.txt", "'a", "b'"}, "my file.txt"},
        {"a\"b c\"d e", {"ab cd", "e"}, "b c"},
        {"\"\" x", {"", "x"}, ""},
        // Full-width spaces trim at the ends, but separate nothing inside.
        {"\x81\x40" "a\x81\x40" "b\x81\x40", {"a\x81\x40" "b"}, nullptr},
        // Trail bytes 0x5C and 0x7C are parts of their characters.
        {"\x95\x5C \x83\x7C\\", {"\x95\x5C", "\x83\x7C\\"}, nullptr},
        // A lead byte before a quote stands alone; the quote still groups.
        {"\x95\"a b\"", {"\x95" "a b"}, "a b"},
    };
    for (const Case& c : cases) {
        const ScriptArguments split = splitArguments(c.text);
        EXPECT_EQ(split.words, c.words) << c.text;
        EXPECT_FALSE(split.missingQuote) << c.text;
        if (c.quotedName) {
            EXPECT_EQ(split.quotedName, std::optional<std::string>(c.quotedName)) << c.text;
        } else {
            EXPECT_EQ(split.quotedName, std::nullopt) << c.text;
        }
    }
}

TEST(ScriptArgumentsTest, AnOpenQuoteIsNotedAndRunsToTheEnd) {
    const ScriptArguments split = splitArguments("a \"b c");
    EXPECT_TRUE(split.missingQuote);
    EXPECT_EQ(split.quotedName, std::nullopt);
    EXPECT_EQ(split.words, (Words{"a", "b c"}));
}

TEST(InterpreterCommandTest, ArgumentListsPerModeAndPlacement) {
    struct Case {
        ScriptMode mode;
        ArgumentPlacement placement;
        Words arguments;
        std::optional<std::string> target;
        Words expected;
    };
    const Case cases[] = {
        {ScriptMode::Awk, ArgumentPlacement::Tail, {}, "/w/L.$", {"gawk", "-f", "/w/S", "/w/L.$"}},
        {ScriptMode::Awk, ArgumentPlacement::Head, {"-v", "x=1"}, "/w/L.$",
         {"gawk", "-v", "x=1", "-f", "/w/S", "/w/L.$"}},
        {ScriptMode::Sed, ArgumentPlacement::Tail, {"-n"}, std::nullopt, {"sed", "-f", "/w/S", "-n"}},
        {ScriptMode::Ruby, ArgumentPlacement::Tail, {"a b"}, "/w/L.$",
         {"ruby", "-Ks", "-E", "Windows-31J:Windows-31J", "/w/S", "a b", "/w/L.$"}},
        {ScriptMode::Xtr, ArgumentPlacement::Head, {"x"}, "/w/L.$", {"xtr", "x", "-@/w/S", "/w/L.$"}},
    };
    for (const Case& c : cases) {
        ScriptCommand command{c.mode, std::string(modeInfo(c.mode).programWord), "/w/S", c.arguments, c.placement,
                              c.target};
        EXPECT_EQ(interpreterArgv(command), c.expected) << modeInfo(c.mode).menuItem;
    }
}

TEST(InterpreterCommandTest, EnvironmentGivesCharactersToGawkAndSed) {
    EXPECT_EQ(interpreterEnvironment(ScriptMode::Awk, true), Words{"LC_ALL=ja_JP.SJIS"});
    EXPECT_EQ(interpreterEnvironment(ScriptMode::Sed, false), Words{"LC_ALL=C"});
    EXPECT_EQ(interpreterEnvironment(ScriptMode::Ruby, true), Words{});
}

TEST(InterpreterCommandTest, DebugScriptQuotesEveryWordAndPutsTheArgumentsLast) {
    ScriptCommand command{ScriptMode::Awk, "/opt/my awk/gawk", "/w/S.awk", {"it's", "$x;y"},
                          ArgumentPlacement::Head, "/w/L.$"};
    EXPECT_EQ(debugScriptText(command, {"LC_ALL=ja_JP.SJIS"}),
              "#!/bin/sh\n"
              "LC_ALL='ja_JP.SJIS' '/opt/my awk/gawk' '-f' '/w/S.awk' '/w/L.$' 'it'\\''s' '$x;y'\n"
              "printf '%s' '[Enter] '\nread -r _\n");
}

}  // namespace
}  // namespace tabulo::script
