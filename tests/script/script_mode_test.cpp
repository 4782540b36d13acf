#include "script/engine/script_mode.h"

#include <gtest/gtest.h>

namespace tabulo::script {
namespace {

TEST(ScriptModeTest, CommandNamesPickTheFirstModeWordInFixedOrder) {
    EXPECT_EQ(modeFromCommandName("mAwk"), ScriptMode::Awk);
    EXPECT_EQ(modeFromCommandName("_mRuby"), ScriptMode::Ruby);
    EXPECT_EQ(modeFromCommandName("mSed"), ScriptMode::Sed);
    EXPECT_EQ(modeFromCommandName("_mXtr"), ScriptMode::Xtr);
    // "Awk" is tested before "Sed", whatever the order in the name.
    EXPECT_EQ(modeFromCommandName("SedAwk"), ScriptMode::Awk);
    // The words are matched in their own case only.
    EXPECT_EQ(modeFromCommandName("XTR"), std::nullopt);
    EXPECT_EQ(modeFromCommandName("SetFile"), std::nullopt);
}

TEST(ScriptModeTest, StoredPathIsUsedOnlyWhenItNamesTheModesInterpreter) {
    struct Case {
        ScriptMode mode;
        const char* stored;
        const char* expected;
    };
    const Case cases[] = {
        {ScriptMode::Awk, "  /opt/GAWK/bin/gawk\t", "/opt/GAWK/bin/gawk"},
        {ScriptMode::Awk, "", "gawk"},
        {ScriptMode::Awk, "/usr/bin/perl", "gawk"},  // no "awk" in it: ignored
        {ScriptMode::Ruby, "/usr/local/bin/Ruby3", "/usr/local/bin/Ruby3"},
        {ScriptMode::Sed, "/bin/busybox", "sed"},
        {ScriptMode::Xtr, "", "xtr"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(resolveInterpreter(c.mode, c.stored), c.expected) << c.stored;
    }
}

TEST(ScriptModeTest, StatusSummaryPutsArgumentsWhereTheRunPutsThem) {
    EXPECT_EQ(statusPanelText(ScriptMode::Awk, "/usr/bin/gawk", "sum.awk", "", ArgumentPlacement::Tail, false),
              " Awkモード 【 gawk -f sum.awk  > Tabulo 】");
    EXPECT_EQ(statusPanelText(ScriptMode::Awk, "gawk", "sum.awk", "-v n=1", ArgumentPlacement::Head, true),
              " Awkモード 【 gawk -f -v n=1 sum.awk  ReversText  > Tabulo 】");
    EXPECT_EQ(statusPanelText(ScriptMode::Ruby, "/usr/bin/ruby", "x.rb", "a.txt", ArgumentPlacement::Tail, false),
              " Rubyモード 【 ruby x.rb a.txt  > Tabulo 】");
}

}  // namespace
}  // namespace tabulo::script
