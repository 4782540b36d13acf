// main() of the window tests: builds the program's application object on
// the offscreen platform, points the program folder and work folder at
// fresh temporary folders, and keeps a watchdog that fails the run when a
// real modal dialog opens (every question must go through the scripted
// prompts).
#include <gtest/gtest.h>

#include <QTimer>
#include <QWidget>

#include "platform/error_handler.h"
#include "support/private_folders.h"

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    const tabulo::testing::PrivateFolders folders;
    tabulo::platform::TabuloApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("tabulo"));

    QTimer watchdog;
    QObject::connect(&watchdog, &QTimer::timeout, [] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            ADD_FAILURE() << "a real modal dialog opened: " << modal->windowTitle().toStdString();
            modal->close();
        }
    });
    watchdog.start(50);
    return RUN_ALL_TESTS();
}
