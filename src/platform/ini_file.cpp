#include "platform/ini_file.h"

#include <QSettings>
#include <stdexcept>

#include "platform/folders.h"

namespace tabulo::platform {
namespace {

QString iniKey(const QString& section, const QString& key) {
    return section + QLatin1Char('/') + key;
}

void write(const QString& fileName, const QString& key, const QVariant& value) {
    QSettings settings(fileName, QSettings::IniFormat);
    settings.setValue(key, value);
    settings.sync();
    if (settings.status() != QSettings::NoError) {
        throw std::runtime_error("ファイル " + fileName.toStdString() + " を作成できません");
    }
}

}  // namespace

IniFile::IniFile() : m_fileName(QString::fromStdString(programFolder()) + QStringLiteral("tabulo.ini")) {}

IniFile::IniFile(const QString& fileName) : m_fileName(fileName) {}

QString IniFile::readString(const QString& section, const QString& key, const QString& fallback) const {
    const QSettings settings(m_fileName, QSettings::IniFormat);
    const QVariant value = settings.value(iniKey(section, key));
    return value.isValid() ? value.toString() : fallback;
}

int IniFile::readInteger(const QString& section, const QString& key, int fallback) const {
    const QSettings settings(m_fileName, QSettings::IniFormat);
    const QVariant value = settings.value(iniKey(section, key));
    if (!value.isValid()) return fallback;
    bool ok = false;
    const int n = value.toString().trimmed().toInt(&ok);
    return ok ? n : fallback;
}

bool IniFile::readBool(const QString& section, const QString& key, bool fallback) const {
    const QSettings settings(m_fileName, QSettings::IniFormat);
    const QVariant value = settings.value(iniKey(section, key));
    if (!value.isValid()) return fallback;
    bool ok = false;
    const int n = value.toString().trimmed().toInt(&ok);
    return ok ? n != 0 : fallback;
}

void IniFile::writeString(const QString& section, const QString& key, const QString& value) {
    write(m_fileName, iniKey(section, key), value);
}

void IniFile::writeInteger(const QString& section, const QString& key, int value) {
    write(m_fileName, iniKey(section, key), value);
}

void IniFile::writeBool(const QString& section, const QString& key, bool value) {
    write(m_fileName, iniKey(section, key), value ? 1 : 0);
}

}  // namespace tabulo::platform
