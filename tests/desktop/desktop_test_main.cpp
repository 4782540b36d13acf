// main() of the desktop tests: the program's application object on the X
// server that tests/support/with_desktop.sh started, with fresh program and
// work folders. Unlike the offscreen tests, real dialogs open here.
#include <gtest/gtest.h>

#include "platform/error_handler.h"
#include "support/private_folders.h"

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    const tabulo::testing::PrivateFolders folders;
    tabulo::platform::TabuloApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("tabulo"));
    return RUN_ALL_TESTS();
}
