// tabulo-cli script: a script run as the run dialog's direct run does it,
// over the whole input: the input lines go to the interpreter as its target
// file with LF breaks, in the locale (or encoding) that makes it read
// Shift-JIS as characters, from an argument list (no shell). The
// interpreter's output is written to standard output byte for byte as it
// comes, its errors go to standard error, and its exit status is this
// command's. Ended by a signal, the command passes it on to the interpreter,
// waits for it, removes its work files and exits 128 + the signal's number.
#include <signal.h>
#include <stdlib.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <optional>
#include <iterator>
#include <string_view>

#include "cli/cli_error.h"
#include "cli/input_file.h"
#include "os/process/child_process.h"
#include "cli/invocation.h"
#include "script/engine/interpreter_command.h"
#include "script/engine/script_arguments.h"
#include "script/engine/script_runner.h"
#include "script/engine/script_work_files.h"

namespace tabulo::cli {
namespace {

using script::ScriptMode;

ScriptMode modeOf(const std::string& word) {
    if (word == "awk") return ScriptMode::Awk;
    if (word == "ruby") return ScriptMode::Ruby;
    if (word == "sed") return ScriptMode::Sed;
    throw UsageError("unknown script kind '" + word + "' (awk, ruby or sed)");
}

// A private folder for the work files of this one run, removed at the end,
// so runs at the same time never share them.
class RunFolder {
public:
    RunFolder() {
        const char* tmp = std::getenv("TMPDIR");
        std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/tabulo-cli-XXXXXX";
        if (!::mkdtemp(pattern.data())) throw CliError("cannot create a work folder in " + pattern);
        m_path = pattern + "/";
    }
    ~RunFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
    RunFolder(const RunFolder&) = delete;
    RunFolder& operator=(const RunFolder&) = delete;
    const std::string& path() const { return m_path; }

private:
    std::string m_path;
};

// How long an interpreter has to end after a signal was passed on to it.
constexpr std::chrono::seconds kSignalGrace{2};

// The signal that ended the run, or 0.
volatile sig_atomic_t g_endingSignal = 0;

void passOn(int signal) {
    g_endingSignal = signal;
    os::ChildProcess::signalAll(signal);
}

// For one scope, the signals that end a command-line tool are passed on to
// the interpreter instead of ending this process at once. A signal ignored
// when the tool started (nohup, a background job) stays ignored.
class ForwardedSignals {
public:
    ForwardedSignals() {
        struct sigaction action{};
        action.sa_handler = passOn;
        ::sigemptyset(&action.sa_mask);
        for (std::size_t i = 0; i < std::size(kSignals); ++i) {
            ::sigaction(kSignals[i], nullptr, &m_previous[i]);
            if (m_previous[i].sa_handler != SIG_IGN) ::sigaction(kSignals[i], &action, nullptr);
        }
    }
    ~ForwardedSignals() {
        for (std::size_t i = 0; i < std::size(kSignals); ++i) ::sigaction(kSignals[i], &m_previous[i], nullptr);
    }
    ForwardedSignals(const ForwardedSignals&) = delete;
    ForwardedSignals& operator=(const ForwardedSignals&) = delete;

private:
    static constexpr int kSignals[] = {SIGINT, SIGTERM, SIGHUP, SIGPIPE};
    struct sigaction m_previous[std::size(kSignals)];
};

int runScript(Invocation& call) {
    const ForwardedSignals forwarded;
    const ScriptMode mode = modeOf(call.operands()[0]);
    const std::string& scriptPath = call.operands()[1];
    const RunFolder folder;
    const script::ScriptWorkFiles files = script::scriptWorkFiles(folder.path(), mode);

    {
        InputFile script(scriptPath);
        script::TargetFileWriter copy(files.script);
        const std::string text = script.readAll();
        copy.addBytes(text);
        copy.finish();
    }
    {
        InputFile input(call.inputPath(2));
        LineReader reader(input);
        script::TargetFileWriter target(files.target);
        Line line;
        while (reader.next(line)) target.addLine(line.text);
        target.finish();
    }

    script::ScriptCommand command;
    command.mode = mode;
    command.interpreter = script::resolveInterpreter(mode, call.value("--interpreter"));
    command.scriptPath = files.script;
    command.arguments = script::splitArguments(call.value("--arguments")).words;
    command.placement = call.flag("--head") ? script::ArgumentPlacement::Head : script::ArgumentPlacement::Tail;
    command.target = files.target;
    const std::vector<std::string> environment =
        script::interpreterEnvironment(mode, script::sjisLocaleInstalled());

    if (g_endingSignal != 0) return 128 + g_endingSignal;
    const auto writeOut = [&call](std::string_view bytes) {
        call.out().write(bytes);
        call.out().push();
    };
    // The signal again from the wait, in case it came before the interpreter
    // was known; an interpreter that ignores it is killed after a grace.
    std::optional<std::chrono::steady_clock::time_point> passedOn;
    const auto endOnSignal = [&passedOn] {
        if (g_endingSignal == 0) return true;
        if (!passedOn) {
            os::ChildProcess::signalAll(g_endingSignal);
            passedOn = std::chrono::steady_clock::now();
        }
        return std::chrono::steady_clock::now() - *passedOn < kSignalGrace;
    };
    const script::ScriptRunOutcome outcome = script::streamScriptCommand(command, environment, writeOut, endOnSignal);
    if (g_endingSignal != 0) return 128 + g_endingSignal;
    if (!outcome.started) throw CliError(outcome.errorText);
    if (outcome.end.how == os::ChildEnd::How::Signalled) return 128 + outcome.end.code;
    return outcome.end.code;
}

const SubcommandRegistration kRegistration{{
    .name = "script",
    .operands = "awk|ruby|sed SCRIPT [FILE]",
    .summary = "run an awk, ruby or sed script over the input as the editor's direct run does",
    .details = "The input lines (FILE, or standard input) reach the interpreter as its input\n"
               "file with LF line breaks; gawk and sed run in the ja_JP.SJIS locale (the C\n"
               "locale when it is missing), ruby with Windows-31J, so they see Shift-JIS\n"
               "characters. The interpreter's output is written unchanged, its messages go\n"
               "to standard error and its exit status is passed on. Exit status 2 when the\n"
               "interpreter cannot be started, the script or input cannot be read, or the\n"
               "output cannot be written.\n",
    .options = {{"--arguments", "-a", OptionKind::Text, "TEXT",
                 "arguments for the script: words split at blanks, double quotes group"},
                {"--head", nullptr, OptionKind::Flag, "", "put the arguments before the script, not after it"},
                {"--interpreter", nullptr, OptionKind::Value, "PATH",
                 "the interpreter to run (used when it contains awk, ruby or sed)"}},
    .minOperands = 2,
    .maxOperands = 3,
    .textOperands = 0,
    .run = runScript,
}};

}  // namespace
}  // namespace tabulo::cli
