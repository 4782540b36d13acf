// Real gawk, ruby and sed through the run pipeline, over Shift-JIS bytes
// whose trail bytes are 0x5C ('\') and 0x7C ('|'): the interpreters must see
// characters, and the bytes must come back unchanged. Also the failures: a
// missing interpreter, a syntax error, a run that never ends, floods of
// output and of error text. A test is skipped, naming the reason, when its
// interpreter or the ja_JP.SJIS locale is missing.
#include <gtest/gtest.h>

#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

#include "os/process/child_process.h"
#include "script/engine/interpreter_command.h"
#include "script/engine/script_runner.h"
#include "script/engine/script_work_files.h"
#include "support/file_fixture.h"

namespace tabulo::script {
namespace {

using testing::ScratchFolder;

class ScriptInterpreterTest : public ::testing::Test {
protected:
    // Skips unless `program` is on PATH (and, for gawk and sed, the
    // Shift-JIS locale is installed).
    bool available(ScriptMode mode) {
        const std::string word(modeInfo(mode).programWord);
        if (os::findProgram(word).empty()) {
            reason = word + " is not installed";
            return false;
        }
        if (mode != ScriptMode::Ruby && !sjisLocaleInstalled()) {
            reason = "the ja_JP.SJIS locale is not installed";
            return false;
        }
        return true;
    }

    struct Run {
        std::string output;
        ScriptRunOutcome outcome;
    };
    Run run(ScriptMode mode, const std::string& script, const std::string& input,
            const std::vector<std::string>& arguments = {}, const std::function<bool()>& pump = {}) {
        ScriptCommand command{mode, std::string(modeInfo(mode).programWord), scratch.write("script", script),
                              arguments, ArgumentPlacement::Tail, scratch.write("L.$", input)};
        Run result;
        result.outcome = runScriptCommand(command, interpreterEnvironment(mode, true), scratch.path("T.$"), pump);
        result.output = ScratchFolder::read(scratch.path("T.$"));
        return result;
    }

    ScratchFolder scratch;
    std::string reason;
};

#define REQUIRE_INTERPRETER(mode) \
    if (!available(mode)) GTEST_SKIP() << reason

TEST_F(ScriptInterpreterTest, GawkSeesShiftJisCharacters) {
    REQUIRE_INTERPRETER(ScriptMode::Awk);
    struct Case {
        const char* what;
        std::string script, input, expected;
    };
    const std::vector<Case> cases = {
        // 0x7C in ポ is no field separator.
        {"field splitting", "BEGIN { FS = \"|\" } { print $2 \"|\" $1 }\n", "\x83\x7C" "a|b\n\x95\x5C|\x83\x5C\n",
         "b|\x83\x7C" "a\n\x83\x5C|\x95\x5C\n"},
        {"length counts characters", "{ print length($0) }\n", "\x95\x5C\x83\x5C\x83\x7C\n" "ab\n", "3\n2\n"},
        // 表 in a regex is one character, not 0x95 and an escape.
        {"a regex holding the kanji", "/\x95\x5C/ { gsub(/\x95\x5C/, \"X\"); print }\n",
         "\x95\x5C\x8E\xA6\x95\x5C\n\x95\x5B\n\\\n", "X\x8E\xA6X\n"},
        {"bytes pass unchanged", "{ print }\n", "\x95\x5C\x83\x7C\x81\x40\xEA\xA4\n", "\x95\x5C\x83\x7C\x81\x40\xEA\xA4\n"},
    };
    for (const Case& c : cases) {
        const Run result = run(ScriptMode::Awk, c.script, c.input);
        EXPECT_EQ(result.output, c.expected) << c.what;
        EXPECT_FALSE(result.outcome.failed()) << c.what << ": " << result.outcome.errorText;
    }
}

TEST_F(ScriptInterpreterTest, RubyGsubOverKanji) {
    REQUIRE_INTERPRETER(ScriptMode::Ruby);
    const Run result = run(ScriptMode::Ruby, "ARGF.each_line { |l| print l.gsub(/\x95\x5C/, \"\x83\x5C\") }\n",
                           "\x95\x5C\x8E\xA6\x95\x5C\n\x83\x7C\n");
    EXPECT_EQ(result.output, "\x83\x5C\x8E\xA6\x83\x5C\n\x83\x7C\n");
    EXPECT_FALSE(result.outcome.failed()) << result.outcome.errorText;
}

TEST_F(ScriptInterpreterTest, SedSubstitutesAKanji) {
    REQUIRE_INTERPRETER(ScriptMode::Sed);
    const Run result = run(ScriptMode::Sed, "s/\x95\x5C/\x83\x5C/g\n", "\x95\x5C\x95\x5C\\\n\x83\x7C|\n");
    EXPECT_EQ(result.output, "\x83\x5C\x83\x5C\\\n\x83\x7C|\n");
    EXPECT_FALSE(result.outcome.failed()) << result.outcome.errorText;
}

TEST_F(ScriptInterpreterTest, PathsAndArgumentsWithShellCharactersArriveAsTheyAre) {
    REQUIRE_INTERPRETER(ScriptMode::Awk);
    const std::string folder = scratch.path("a b'c\"d$e;f");
    std::filesystem::create_directory(folder);
    const std::string script = folder + "/s $x;.awk";
    const std::string target = folder + "/t 'q' \"w\" $y;z.txt";
    std::ofstream(script) << "{ print FILENAME; print ARGV[1]; print $0 }\n";
    std::ofstream(target) << "line\n";
    ScriptCommand command{ScriptMode::Awk, "gawk", script, {"v=$HOME;`id`"}, ArgumentPlacement::Tail, target};
    const ScriptRunOutcome outcome =
        runScriptCommand(command, interpreterEnvironment(ScriptMode::Awk, true), scratch.path("T.$"), {});
    EXPECT_FALSE(outcome.failed()) << outcome.errorText;
    EXPECT_EQ(ScratchFolder::read(scratch.path("T.$")), target + "\nv=$HOME;`id`\nline\n");

    // The debug script runs the same command through /bin/sh.
    const std::string debug = scratch.write("Tbdebug.sh", debugScriptText(command, {"LC_ALL=ja_JP.SJIS"}));
    os::ChildProcess shell;
    shell.start({{"sh", debug}, {}, scratch.path("debug.out")});
    shell.wait({});
    EXPECT_EQ(ScratchFolder::read(scratch.path("debug.out")),
              target + "\n" + target + "\nline\n[Enter] ");  // the arguments come after the target there
}

TEST_F(ScriptInterpreterTest, AMissingInterpreterLeavesAnEmptyOutputAndSaysWhy) {
    ScriptCommand command{ScriptMode::Xtr, "/no/such/xtr", scratch.write("S.xtr", ""), {}, ArgumentPlacement::Tail,
                          scratch.write("L.$", "a\n")};
    scratch.write("T.$", "stale");
    const ScriptRunOutcome outcome = runScriptCommand(command, {}, scratch.path("T.$"), {});
    EXPECT_FALSE(outcome.started);
    EXPECT_TRUE(outcome.failed());
    EXPECT_EQ(outcome.errorText, "/no/such/xtr: コマンドが見つかりません");
    EXPECT_EQ(ScratchFolder::read(scratch.path("T.$")), "");
}

TEST_F(ScriptInterpreterTest, ASyntaxErrorEndsWithTheInterpretersMessage) {
    REQUIRE_INTERPRETER(ScriptMode::Awk);
    const Run result = run(ScriptMode::Awk, "{ print ( }\n", "a\n");
    EXPECT_TRUE(result.outcome.started);
    EXPECT_FALSE(result.outcome.end.succeeded());
    EXPECT_NE(result.outcome.errorText.find("script"), std::string::npos) << result.outcome.errorText;
    EXPECT_EQ(result.output, "");
}

// The process lives while /proc shows it as anything but a zombie.
bool alive(pid_t pid) {
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string line;
    if (!std::getline(stat, line)) return false;
    const auto close = line.rfind(')');
    return close != std::string::npos && line.size() > close + 2 && line[close + 2] != 'Z';
}

TEST_F(ScriptInterpreterTest, StopEndsTheInterpreterAndEverythingItStarted) {
    // sh -f runs the script file; the interpreter starts a child of its own.
    const std::string pidFile = scratch.path("pid");
    ScriptCommand command{ScriptMode::Sed, "sh",
                          scratch.write("S.sh", "sleep 300 &\necho $! > '" + pidFile + "'\nwait\n"), {},
                          ArgumentPlacement::Tail, std::nullopt};
    int pumps = 0;
    const ScriptRunOutcome outcome = runScriptCommand(command, {}, scratch.path("T.$"), [&] {
        return ++pumps < 5 || ScratchFolder::read(pidFile) == "<missing>" || ScratchFolder::read(pidFile).empty();
    });
    EXPECT_EQ(outcome.end.how, os::ChildEnd::How::Stopped);
    const pid_t sleeper = std::stoi(ScratchFolder::read(pidFile));
    for (int i = 0; i < 200 && alive(sleeper); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_FALSE(alive(sleeper));
}

TEST_F(ScriptInterpreterTest, AnEndlessGawkIsStopped) {
    REQUIRE_INTERPRETER(ScriptMode::Awk);
    int pumps = 0;
    const Run result = run(ScriptMode::Awk, "BEGIN { while (1) x++ }\n", "", {}, [&] { return ++pumps < 3; });
    EXPECT_EQ(result.outcome.end.how, os::ChildEnd::How::Stopped);
    EXPECT_TRUE(result.outcome.failed());
}

TEST_F(ScriptInterpreterTest, HundredMegabytesOfOutputAndErrorFloodsDoNotStall) {
    REQUIRE_INTERPRETER(ScriptMode::Awk);
    const Run result = run(ScriptMode::Awk,
                           "BEGIN { s = sprintf(\"%99s\", \"\"); for (i = 0; i < 1000000; i++) print s;"
                           " for (i = 0; i < 100000; i++) print \"error text\" > \"/dev/stderr\" }\n",
                           "");
    EXPECT_TRUE(result.outcome.end.succeeded());
    EXPECT_EQ(result.output.size(), 100000000u);
    EXPECT_EQ(result.outcome.errorText.size(), os::ChildProcess::kErrorBytesKept);
    EXPECT_EQ(result.outcome.errorText.substr(0, 11), "error text\n");
}

}  // namespace
}  // namespace tabulo::script
