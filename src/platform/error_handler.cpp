// The one place where errors raised inside commands and event handlers are
// shown to the user; see error_handler.h.
#include "platform/error_handler.h"

#include "platform/folders.h"

#include <QCoreApplication>

#include <cstdio>
#include <stdexcept>

namespace tabulo::platform {

namespace detail {

// Set and read on the user-interface thread only.
Prompts* g_prompts = nullptr;

QString errorTitle()
{
    const QString name = QCoreApplication::applicationName();
    return name.isEmpty() ? QString::fromStdString(programFileName()) : name;
}

// A non-standard exception has no message of its own.
const std::runtime_error kUnknownError("予期しないエラーが発生しました。");

// Reports through the installed prompts; an error while reporting (or no
// prompts) falls back to standard error, as nothing may escape notify().
void reportFromEventLoop(const std::exception& error) noexcept
{
    try {
        if (g_prompts != nullptr) {
            reportError(*g_prompts, error);
            return;
        }
    } catch (const std::exception& second) {
        std::fprintf(stderr, "tabulo: error while reporting an error: %s\n", second.what());
    } catch (...) {
        std::fprintf(stderr, "tabulo: error while reporting an error\n");
    }
    std::fprintf(stderr, "tabulo: %s\n", error.what());
}

}  // namespace detail

Prompts& prompts()
{
    if (detail::g_prompts == nullptr) {
        throw std::logic_error("no prompts installed");
    }
    return *detail::g_prompts;
}

void installPrompts(Prompts* prompts)
{
    detail::g_prompts = prompts;
}

bool hasPrompts()
{
    return detail::g_prompts != nullptr;
}

void reportError(Prompts& prompts, const std::exception& error)
{
    prompts.message(QString::fromUtf8(error.what()), detail::errorTitle(), Icon::Error);
}

bool runGuarded(Prompts& prompts, const std::function<void()>& command)
{
    try {
        command();
        return true;
    } catch (const std::exception& error) {
        reportError(prompts, error);
    } catch (...) {
        reportError(prompts, detail::kUnknownError);
    }
    return false;
}

TabuloApplication::TabuloApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool TabuloApplication::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& error) {
        detail::reportFromEventLoop(error);
    } catch (...) {
        detail::reportFromEventLoop(detail::kUnknownError);
    }
    return false;
}

}  // namespace tabulo::platform
