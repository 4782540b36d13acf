#include "app/second_copy.h"

#include <QCoreApplication>
#include <QProcess>

#include "platform/error_handler.h"

namespace tabulo::app {
namespace detail {

SecondCopyStarter& starter() {
    static SecondCopyStarter hook;
    return hook;
}

}  // namespace detail

bool startSecondCopy(const QStringList& arguments) {
    const bool started = detail::starter()
                             ? detail::starter()(arguments)
                             : QProcess::startDetached(QCoreApplication::applicationFilePath(), arguments);
    if (!started) platform::prompts().message(QStringLiteral("TbLib RunShell() Could not create process"));
    return started;
}

void setSecondCopyStarter(SecondCopyStarter starter) {
    detail::starter() = std::move(starter);
}

}  // namespace tabulo::app
