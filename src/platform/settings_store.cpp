#include "platform/settings_store.h"

#include <QSettings>
#include <QStringList>
#include <stdexcept>

#include "platform/folders.h"

namespace tabulo::platform {
namespace {

// "\Software\Tabulo\ExeFileName" + "Awk" -> "Software/Tabulo/ExeFileName/Awk".
QString settingsKey(const QString& keyPath, const QString& name) {
    QStringList parts = keyPath.split(QLatin1Char('\\'), Qt::SkipEmptyParts);
    parts << name;
    return parts.join(QLatin1Char('/'));
}

void checkWritten(QSettings& settings) {
    settings.sync();
    if (settings.status() != QSettings::NoError) {
        throw std::runtime_error("ファイル " + settings.fileName().toStdString() + " を作成できません");
    }
}

}  // namespace

SettingsStore::SettingsStore()
    : m_fileName(QString::fromStdString(programFolder()) + QStringLiteral("registry.ini")) {}

SettingsStore::SettingsStore(const QString& fileName) : m_fileName(fileName) {}

std::optional<QString> SettingsStore::readString(const QString& keyPath, const QString& name) const {
    const QSettings settings(m_fileName, QSettings::IniFormat);
    const QVariant value = settings.value(settingsKey(keyPath, name));
    if (!value.isValid()) return std::nullopt;
    return value.toString();
}

std::optional<int> SettingsStore::readInteger(const QString& keyPath, const QString& name) const {
    const QSettings settings(m_fileName, QSettings::IniFormat);
    const QVariant value = settings.value(settingsKey(keyPath, name));
    if (!value.isValid()) return std::nullopt;
    bool ok = false;
    const int n = value.toString().trimmed().toInt(&ok);
    if (!ok) return std::nullopt;
    return n;
}

void SettingsStore::writeString(const QString& keyPath, const QString& name, const QString& value) {
    QSettings settings(m_fileName, QSettings::IniFormat);
    settings.setValue(settingsKey(keyPath, name), value);
    checkWritten(settings);
}

void SettingsStore::writeInteger(const QString& keyPath, const QString& name, int value) {
    QSettings settings(m_fileName, QSettings::IniFormat);
    settings.setValue(settingsKey(keyPath, name), value);
    checkWritten(settings);
}

void SettingsStore::deleteValue(const QString& keyPath, const QString& name) {
    QSettings settings(m_fileName, QSettings::IniFormat);
    settings.remove(settingsKey(keyPath, name));
    checkWritten(settings);
}

}  // namespace tabulo::platform
