// What the run dialog and the script editor share while the program runs:
// the mode, the script file, the arguments and the run choices. The main
// window owns one; both windows read and change it.
#pragma once

#include <QString>

#include "script/engine/script_mode.h"

namespace tabulo::script {

struct ScriptSession {
    // Empty while neither window is open.
    std::optional<ScriptMode> mode;
    QString scriptPath;
    QString arguments;
    ArgumentPlacement placement = ArgumentPlacement::Tail;
    OutputDestination destination = OutputDestination::MinimisedSecondCopy;
};

}  // namespace tabulo::script
