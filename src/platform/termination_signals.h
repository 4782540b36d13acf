// SIGTERM (logout, kill), SIGHUP and SIGINT end the window program as
// before, but not its children: the outside programs it runs or waits for
// (interpreters, namazu, a second copy) are killed at once from the signal
// handler, and the work files are removed in the event loop before the
// program ends by the same signal.
#pragma once

#include <functional>

namespace tabulo::platform {

// Installs the handlers; `removeWorkFiles` runs in the thread of the event
// loop (the next time it runs, also inside a wait for a child).
void endChildrenWithTheProgram(std::function<void()> removeWorkFiles);

}  // namespace tabulo::platform
