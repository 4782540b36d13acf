// The program folder and the work folder of a window test run: fresh
// temporary folders for the whole run, the work folder private to the user
// as the program expects it; removed when the run ends.
#pragma once

#include <QFile>
#include <QTemporaryDir>

namespace tabulo::testing {

class PrivateFolders {
public:
    PrivateFolders() {
        qputenv("TABULO_HOME", m_home.path().toUtf8());
        qputenv("XDG_RUNTIME_DIR", m_runtime.path().toUtf8());
        QFile::setPermissions(m_runtime.path(),
                              QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    }

private:
    QTemporaryDir m_home;
    QTemporaryDir m_runtime;
};

}  // namespace tabulo::testing
