// main() of the desktop tests: the program's application object on the X
// server that tests/support/with_desktop.sh started, with fresh program and
// work folders. Unlike the offscreen tests, real dialogs open here.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "platform/error_handler.h"

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    QTemporaryDir home;
    QTemporaryDir runtime;
    qputenv("TABULO_HOME", home.path().toUtf8());
    qputenv("XDG_RUNTIME_DIR", runtime.path().toUtf8());
    QFile::setPermissions(runtime.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    tabulo::platform::TabuloApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("tabulo"));
    return RUN_ALL_TESTS();
}
