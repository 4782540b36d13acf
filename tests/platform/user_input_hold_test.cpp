// While a wait holds the user's input off, keys, clicks and shortcuts do not
// reach the window's fields, buttons and actions, but a menu still answers (the stop command is
// chosen from one); afterwards everything answers again.
#include <gtest/gtest.h>

#include <QAction>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QVBoxLayout>
#include <QWidget>
#include <optional>

#include "platform/user_input_hold.h"

namespace tabulo::platform {
namespace {

TEST(UserInputHoldTest, KeysAndClicksWaitButMenusAnswer) {
    QWidget window;
    auto* edit = new QLineEdit(&window);
    auto* button = new QPushButton(QStringLiteral("b"), &window);
    auto* layout = new QVBoxLayout(&window);
    layout->addWidget(edit);
    layout->addWidget(button);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    int clicks = 0;
    QObject::connect(button, &QPushButton::clicked, [&] { ++clicks; });
    QAction shortcut(&window);
    shortcut.setShortcut(QKeySequence(Qt::CTRL | Qt::Key_K));
    window.addAction(&shortcut);
    int shortcuts = 0;
    QObject::connect(&shortcut, &QAction::triggered, [&] { ++shortcuts; });

    std::optional<UserInputHold> hold(std::in_place);
    QTest::keyClicks(edit, QStringLiteral("ab"));
    QTest::mouseClick(button, Qt::LeftButton);
    QTest::keyClick(edit, Qt::Key_K, Qt::ControlModifier);
    EXPECT_EQ(edit->text(), QString());
    EXPECT_EQ(clicks, 0);
    EXPECT_EQ(shortcuts, 0);

    QMenu menu;
    int chosen = 0;
    menu.addAction(QStringLiteral("stop"), [&] { ++chosen; });
    menu.popup(window.geometry().center());
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&menu));
    QTest::keyClick(&menu, Qt::Key_Down);
    QTest::keyClick(&menu, Qt::Key_Return);
    EXPECT_EQ(chosen, 1);

    hold.reset();
    QTest::keyClicks(edit, QStringLiteral("ab"));
    QTest::mouseClick(button, Qt::LeftButton);
    QTest::keyClick(edit, Qt::Key_K, Qt::ControlModifier);
    EXPECT_EQ(edit->text(), QStringLiteral("ab"));
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(shortcuts, 1);
}

}  // namespace
}  // namespace tabulo::platform
