// A main window under test with a fresh program folder (no registry.ini,
// tabulo.ini or auto-backup from an earlier test), plenty of free space
// unless a test says otherwise, second copies recorded instead of started,
// and helpers to write and read files as bytes.
#pragma once

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <string>
#include <vector>

#include "platform/folders.h"
#include "platform/free_space.h"
#include "platform/run_shell.h"
#include "support/main_window_fixture.h"

namespace tabulo::testing {

class DocumentWindowTest : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        QDir home(programFolder());
        for (const QString& name : home.entryList(QDir::Files | QDir::Hidden)) home.remove(name);
        platform::setFreeSpaceQuery([](const std::string&) {
            return platform::FreeSpace{std::uint64_t{1} << 40, "/"};
        });
        platform::setRunShellHook([this](const QString& file, const QStringList& parameters, bool wait) {
            started.push_back({file, parameters, wait});
            return true;
        });
    }
    void TearDown() override {
        MainWindowTest::TearDown();
        platform::setFreeSpaceQuery({});
        platform::setRunShellHook({});
    }

    static QString programFolder() { return QString::fromStdString(platform::programFolder()); }
    static QString workFolder() { return QString::fromStdString(platform::workFolder()); }

    QString path(const QString& name) const { return dir.filePath(name); }

    static void writeBytes(const QString& file, const std::string& bytes) {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate)) << file.toStdString();
        f.write(bytes.data(), static_cast<qint64>(bytes.size()));
    }
    static std::string readBytes(const QString& file) {
        QFile f(file);
        if (!f.open(QIODevice::ReadOnly)) return "<missing>";
        return f.readAll().toStdString();
    }

    // Closes the window as the user does (close question, stored settings)
    // and forgets it.
    void closeWindow() {
        ASSERT_TRUE(window->close());
        window.reset();
    }

    struct Started {
        QString file;
        QStringList parameters;
        bool wait;
    };
    std::vector<Started> started;  // programs started, in order
    QTemporaryDir dir;
};

}  // namespace tabulo::testing
