#include "script/engine/script_runner.h"

#include <fcntl.h>
#include <unistd.h>

namespace tabulo::script {

ScriptRunOutcome runScriptCommand(const ScriptCommand& command, const std::vector<std::string>& environment,
                                  const std::string& outputPath, const std::function<bool()>& pump,
                                  bool shareStandardError) {
    ScriptRunOutcome outcome;
    os::ChildProcess process;
    try {
        process.start({interpreterArgv(command), environment, outputPath, shareStandardError});
    } catch (const os::ChildStartError& error) {
        const int fd = ::open(outputPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
        if (fd >= 0) ::close(fd);
        outcome.errorText = error.what();
        return outcome;
    }
    outcome.started = true;
    outcome.end = process.wait(pump);
    outcome.errorText = process.errorText();
    return outcome;
}

}  // namespace tabulo::script
