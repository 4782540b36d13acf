#include "platform/termination_signals.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QSocketNotifier>

#include "os/process/child_process.h"

namespace tabulo::platform {
namespace {

constexpr int kEndingSignals[] = {SIGTERM, SIGHUP, SIGINT};

// The handler's way into the event loop: it writes the signal's number.
int g_notice[2] = {-1, -1};

void endChildren(int signal) {
    os::ChildProcess::signalAll(SIGKILL);
    const unsigned char number = static_cast<unsigned char>(signal);
    [[maybe_unused]] const ssize_t written = ::write(g_notice[1], &number, 1);
}

}  // namespace

void endChildrenWithTheProgram(std::function<void()> removeWorkFiles) {
    if (g_notice[0] >= 0 || ::pipe2(g_notice, O_CLOEXEC | O_NONBLOCK) != 0) return;
    auto* notifier = new QSocketNotifier(g_notice[0], QSocketNotifier::Read, QCoreApplication::instance());
    QObject::connect(notifier, &QSocketNotifier::activated, [removeWorkFiles = std::move(removeWorkFiles)] {
        unsigned char number = 0;
        if (::read(g_notice[0], &number, 1) != 1) return;
        removeWorkFiles();
        ::signal(number, SIG_DFL);
        ::raise(number);
    });
    struct sigaction action{};
    action.sa_handler = endChildren;
    ::sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signal : kEndingSignals) ::sigaction(signal, &action, nullptr);
}

}  // namespace tabulo::platform
