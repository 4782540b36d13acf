// A main window under test: scripted prompts installed, the window shown on
// the offscreen platform, helpers to run its commands by name.
#pragma once

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QTest>
#include <memory>

#include "app/main_window.h"
#include "editor/view/editor_view.h"
#include "platform/error_handler.h"
#include "platform/scripted_prompts.h"

namespace tabulo::testing {

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        platform::installPrompts(&prompts);
        QGuiApplication::clipboard()->clear();
    }
    void TearDown() override {
        if (window) window->document().SetModified(false);  // no close question
        window.reset();
        platform::installPrompts(nullptr);
    }

    app::TfmTabulo& open(const QStringList& arguments = {}) {
        window = std::make_unique<app::TfmTabulo>(arguments);
        window->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        return *window;
    }

    void run(const char* name) {
        QAction* a = window->action(QString::fromLatin1(name));
        ASSERT_NE(a, nullptr) << name;
        ASSERT_TRUE(a->isEnabled()) << name << " is disabled";
        a->trigger();
    }

    bool rule(const char* name) const { return window->ruleEnabled(QString::fromLatin1(name)); }
    bool checked(const char* name) const { return window->action(QString::fromLatin1(name))->isChecked(); }
    bool enabled(const char* name) const { return window->action(QString::fromLatin1(name))->isEnabled(); }

    platform::ScriptedPrompts prompts;
    std::unique_ptr<app::TfmTabulo> window;
};

}  // namespace tabulo::testing
