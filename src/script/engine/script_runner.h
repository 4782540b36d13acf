// Runs a script command through its interpreter: the argument list, the
// environment, standard output into the output work file, the waiting with a
// pump that may stop the run. Used alike by the window's run, tabulo-cli and
// the benchmark.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "os/process/child_process.h"
#include "script/engine/interpreter_command.h"

namespace tabulo::script {

struct ScriptRunOutcome {
    bool started = false;       // false: the interpreter could not be started
    os::ChildEnd end;   // how it ended, when started
    // The first bytes of the interpreter's standard error, or the reason it
    // could not be started.
    std::string errorText;
    bool failed() const { return !started || !end.succeeded() || !errorText.empty(); }
};

// The output file exists afterwards in every case (empty when the
// interpreter could not start), so a failed start ends like an interpreter
// that wrote nothing.
ScriptRunOutcome runScriptCommand(const ScriptCommand& command, const std::vector<std::string>& environment,
                                  const std::string& outputPath, const std::function<bool()>& pump);

// The same for a command-line tool: the interpreter's output reaches
// `onOutput` piece by piece as it is written, never staged in a file, and
// its errors go straight to this process's standard error (errorText only
// names a failed start).
ScriptRunOutcome streamScriptCommand(const ScriptCommand& command, const std::vector<std::string>& environment,
                                     const std::function<void(std::string_view)>& onOutput,
                                     const std::function<bool()>& pump);

}  // namespace tabulo::script
