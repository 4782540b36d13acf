#include "script/engine/script_runner.h"

#include <fcntl.h>
#include <unistd.h>

namespace tabulo::script {
namespace {

ScriptRunOutcome run(const os::ChildCommand& child, const std::function<bool()>& pump) {
    ScriptRunOutcome outcome;
    os::ChildProcess process;
    try {
        process.start(child);
    } catch (const os::ChildStartError& error) {
        outcome.errorText = error.what();
        return outcome;
    }
    outcome.started = true;
    outcome.end = process.wait(pump);
    outcome.errorText = process.errorText();
    return outcome;
}

}  // namespace

ScriptRunOutcome runScriptCommand(const ScriptCommand& command, const std::vector<std::string>& environment,
                                  const std::string& outputPath, const std::function<bool()>& pump) {
    const ScriptRunOutcome outcome = run({interpreterArgv(command), environment, outputPath}, pump);
    if (!outcome.started) {
        const int fd = ::open(outputPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
        if (fd >= 0) ::close(fd);
    }
    return outcome;
}

ScriptRunOutcome streamScriptCommand(const ScriptCommand& command, const std::vector<std::string>& environment,
                                     const std::function<void(std::string_view)>& onOutput,
                                     const std::function<bool()>& pump) {
    return run({interpreterArgv(command), environment, {}, true, onOutput}, pump);
}

}  // namespace tabulo::script
