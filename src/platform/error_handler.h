// The general error handler: an exception that leaves a command or any
// event handler is shown in an error box through the installed Prompts, and
// the program goes on. The window program installs QtPrompts at start-up;
// tests install ScriptedPrompts.
#pragma once

#include "platform/prompts.h"

#include <QApplication>

#include <exception>
#include <functional>

namespace tabulo::platform {

// The process-wide prompts. prompts() throws std::logic_error when none are
// installed; installPrompts(nullptr) uninstalls (the caller keeps ownership).
Prompts& prompts();
void installPrompts(Prompts* prompts);
bool hasPrompts();

// Shows what() (UTF-8) in an error box titled with the application name.
void reportError(Prompts& prompts, const std::exception& error);

// Runs a command; an exception that leaves it is reported and swallowed.
// Returns false when that happened.
bool runGuarded(Prompts& prompts, const std::function<void()>& command);

// Catches exceptions that leave event handlers and reports them through the
// installed prompts (on standard error when none are installed).
class TabuloApplication : public QApplication {
public:
    TabuloApplication(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;
};

}  // namespace tabulo::platform
