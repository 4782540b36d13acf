// The current user's settings store: key paths such as
// "\Software\Tabulo\ExeFileName" with named string and integer values, kept
// in registry.ini in the program folder. Each backslash-separated part of a
// key path is one group of the file, so the key paths read as they are
// written everywhere else in the program.
#pragma once

#include <QString>
#include <optional>

namespace tabulo::platform {

class SettingsStore {
public:
    // registry.ini in the program folder.
    SettingsStore();
    // Another file, for tests of the store itself.
    explicit SettingsStore(const QString& fileName);

    QString fileName() const { return m_fileName; }

    // std::nullopt when the value does not exist.
    std::optional<QString> readString(const QString& keyPath, const QString& name) const;
    std::optional<int> readInteger(const QString& keyPath, const QString& name) const;
    void writeString(const QString& keyPath, const QString& name, const QString& value);
    void writeInteger(const QString& keyPath, const QString& name, int value);
    void deleteValue(const QString& keyPath, const QString& name);

private:
    QString m_fileName;
};

}  // namespace tabulo::platform
