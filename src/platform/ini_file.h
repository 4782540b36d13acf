// The program's INI file, tabulo.ini in the program folder: strings,
// integers and booleans by section and key, each read with a default for a
// missing key. Booleans are written as 1 and 0; any value other than 0 reads
// as true.
#pragma once

#include <QString>

namespace tabulo::platform {

class IniFile {
public:
    // tabulo.ini in the program folder.
    IniFile();
    explicit IniFile(const QString& fileName);

    QString fileName() const { return m_fileName; }

    QString readString(const QString& section, const QString& key, const QString& fallback) const;
    int readInteger(const QString& section, const QString& key, int fallback) const;
    bool readBool(const QString& section, const QString& key, bool fallback) const;
    void writeString(const QString& section, const QString& key, const QString& value);
    void writeInteger(const QString& section, const QString& key, int value);
    void writeBool(const QString& section, const QString& key, bool value);

private:
    QString m_fileName;
};

}  // namespace tabulo::platform
