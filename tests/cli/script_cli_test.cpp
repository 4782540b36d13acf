// tabulo-cli script end to end: real gawk, ruby and sed over Shift-JIS
// input, the output byte for byte, the interpreter's exit status passed on
// and the tool's own errors as status 2.
#include "cli/cli_fixture.h"

#include <fcntl.h>
#include <signal.h>

#include <chrono>
#include <cstring>
#include <thread>

#include "os/process/child_process.h"
#include "support/processes.h"

namespace {

using namespace tabulo::testing;

class ScriptCli : public CliTest {
protected:
    void SetUp() override {
        CliTest::SetUp();
        for (const char* program : {"gawk", "ruby", "sed"}) {
            if (tabulo::os::findProgram(program).empty()) GTEST_SKIP() << program << " is not installed";
        }
    }
};

TEST_F(ScriptCli, EachInterpreterSeesCharactersAndItsOutputComesOutUnchanged) {
    const std::string input = writeFile("in put;$x.txt", "a \x95\x5C|\x83\x7C\r\nb \x83\x5C\r\n");
    const std::string awk = writeFile("s \"q\" $y;.awk", "{ print $2, length($2) }\n");
    const std::string rb = writeFile("s.rb", "ARGF.each_line { |l| print l.gsub(/\x95\x5C/, \"\x83\x5C\") }\n");
    const std::string sed = writeFile("s.sed", "s/\x83\x5C/\x95\x5C/\n");
    struct Case {
        const char* kind;
        std::string script, expected;
    };
    const Case cases[] = {
        {"awk", awk, "\x95\x5C|\x83\x7C 3\n\x83\x5C 1\n"},
        {"ruby", rb, "a \x83\x5C|\x83\x7C\nb \x83\x5C\n"},
        {"sed", sed, "a \x95\x5C|\x83\x7C\nb \x95\x5C\n"},
    };
    for (const Case& c : cases) {
        const RunResult run = runShell(program() + " script " + c.kind + " " + quoted(c.script) + " " + quoted(input));
        EXPECT_EQ(run.status, 0) << c.kind;
        EXPECT_EQ(run.out, c.expected) << c.kind;
    }
    // Standard input, and arguments at the head.
    const std::string vars = writeFile("v.awk", "{ print x, $0 }\n");
    EXPECT_EQ(runShell("printf 'l\\n' | " + program() + " script awk --head -a '-v \"x=a b\"' " + quoted(vars)).out,
              "a b l\n");
}

TEST_F(ScriptCli, TheInterpretersStatusAndTheToolsOwnErrors) {
    const std::string input = writeFile("in.txt", "a\n");
    const RunResult failing =
        runShell(program() + " script awk " + quoted(writeFile("x.awk", "{ exit 3 }\n")) + " " + quoted(input));
    EXPECT_EQ(failing.status, 3);
    const RunResult syntax =
        runShell(program() + " script awk " + quoted(writeFile("b.awk", "{ print ( }\n")) + " " + quoted(input) + " 2>&1");
    EXPECT_NE(syntax.status, 0);
    EXPECT_NE(syntax.out.find("print ( }"), std::string::npos) << syntax.out;

    const RunResult missing = runShell(program() + " script awk --interpreter /no/such/gawk " +
                                       quoted(writeFile("p.awk", "{ print }\n")) + " " + quoted(input) + " 2>&1");
    EXPECT_EQ(missing.status, 2);
    EXPECT_NE(missing.out.find("/no/such/gawk: コマンドが見つかりません"), std::string::npos) << missing.out;
    EXPECT_EQ(runShell(program() + " script awk " + quoted(writeFile("p2.awk", "{ print }\n")) + " " +
                       quoted(input) + " >/dev/full 2>/dev/null")
                  .status,
              2);
    EXPECT_EQ(runShell(program() + " script perl x 2>/dev/null").status, 2);
}

// A run of tabulo-cli script in the background, with a work folder of its
// own and its output in a pipe.
class BackgroundRun {
public:
    BackgroundRun(const std::string& script, const std::filesystem::path& tmp) {
        int out[2];
        if (::pipe(out) != 0) return;
        m_pid = ::fork();
        if (m_pid == 0) {
            ::dup2(out[1], STDOUT_FILENO);
            ::close(out[0]);
            ::setenv("TMPDIR", tmp.c_str(), 1);
            // As a job in the foreground of a terminal gets them.
            for (const int signal : {SIGINT, SIGTERM, SIGHUP, SIGPIPE}) ::signal(signal, SIG_DFL);
            ::execl(TABULO_CLI_PATH, "tabulo-cli", "script", "awk", script.c_str(), "/dev/null", nullptr);
            ::_exit(127);
        }
        ::close(out[1]);
        m_output = out[0];
    }
    ~BackgroundRun() {
        if (m_pid > 0) {
            ::kill(m_pid, SIGKILL);
            ::waitpid(m_pid, nullptr, 0);
        }
        if (m_output >= 0) ::close(m_output);
    }
    pid_t pid() const { return m_pid; }
    int output() const { return m_output; }

    // The interpreter once it runs (the child whose parent is the tool), or -1.
    pid_t interpreter() const { return childRunning(m_pid, "gawk"); }

    // The exit status within five seconds; -1 when it ended otherwise or not.
    int exitStatus() {
        for (int i = 0; i < 500; ++i) {
            int raw = 0;
            if (::waitpid(m_pid, &raw, WNOHANG) == m_pid) {
                m_pid = -1;
                return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return -1;
    }

private:
    pid_t m_pid = -1;
    int m_output = -1;
};

TEST_F(ScriptCli, ASignalEndingTheToolEndsTheInterpreterAndRemovesTheWorkFolder) {
    const std::string endless = writeFile("endless.awk", "BEGIN { while (1) {} }\n");
    const std::string flooding = writeFile("flood.awk", "BEGIN { while (1) print \"x\" }\n");
    for (const int signal : {SIGINT, SIGTERM, SIGHUP, SIGPIPE}) {
        for (const std::string& script : {endless, flooding}) {
            SCOPED_TRACE(std::string(strsignal(signal)) + " " + script);
            const std::filesystem::path tmp = m_dir / ("tmp" + std::to_string(signal));
            std::filesystem::create_directories(tmp);
            BackgroundRun run(script, tmp);
            // A reader that drops everything, so the flood keeps flowing.
            std::thread drain([fd = run.output()] {
                char buffer[65536];
                while (::read(fd, buffer, sizeof buffer) > 0) {
                }
            });
            const pid_t interpreter = run.interpreter();
            ASSERT_GT(interpreter, 0);
            ::kill(run.pid(), signal);
            EXPECT_EQ(run.exitStatus(), 128 + signal);
            EXPECT_TRUE(processEnds(interpreter));
            EXPECT_TRUE(std::filesystem::is_empty(tmp));
            drain.join();
            std::filesystem::remove_all(tmp);
        }
    }
}

TEST_F(ScriptCli, TheInterpreterEndsWhenTheToolIsKilled) {
    BackgroundRun run(writeFile("endless.awk", "BEGIN { while (1) {} }\n"), m_dir);
    const pid_t interpreter = run.interpreter();
    ASSERT_GT(interpreter, 0);
    ::kill(run.pid(), SIGKILL);
    EXPECT_TRUE(processEnds(interpreter));
}

TEST_F(ScriptCli, OutputComesOutWhileTheInterpreterStillRuns) {
    BackgroundRun run(writeFile("first.awk", "BEGIN { print \"first\"; fflush(); while (1) {} }\n"), m_dir);
    std::string got;
    char buffer[64];
    while (got.find('\n') == std::string::npos) {
        const ssize_t n = ::read(run.output(), buffer, sizeof buffer);
        if (n <= 0) break;
        got.append(buffer, static_cast<std::size_t>(n));
    }
    EXPECT_EQ(got, "first\n");
    ::kill(run.pid(), SIGTERM);
    EXPECT_EQ(run.exitStatus(), 128 + SIGTERM);
}

TEST_F(ScriptCli, AFloodIntoAFullDeviceEndsWithAMessage) {
    const RunResult run = runShell(program() + " script awk " +
                                   quoted(writeFile("flood.awk", "BEGIN { while (1) print \"x\" }\n")) +
                                   " /dev/null 2>&1 >/dev/full");
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.out.find("No space left on device"), std::string::npos) << run.out;
}

}  // namespace
