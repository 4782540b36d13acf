#include "search/window/find_history.h"

#include <QComboBox>

#include "platform/ini_file.h"

namespace tabulo::search {

QStringList readFindHistory(const QString& section) {
    const platform::IniFile ini;
    QStringList entries;
    for (int i = 0; i < kFindHistoryMax; ++i) {
        const QString key = QString::number(i);
        // A sentinel no saved text equals tells a missing key from an empty text.
        const QString missing = QStringLiteral("\x01missing");
        const QString value = ini.readString(section, key, missing);
        if (value == missing) break;
        entries << value;
    }
    return entries;
}

void writeFindHistory(const QString& section, const QStringList& entries) {
    platform::IniFile ini;
    for (int i = 0; i < entries.size() && i < kFindHistoryMax; ++i) {
        ini.writeString(section, QString::number(i), entries[i]);
    }
}

void addToHistory(QComboBox& combo, const QString& text) {
    if (text.isEmpty() || combo.findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive) >= 0) return;
    const QString edit = combo.currentText();
    combo.insertItem(0, text);
    combo.setCurrentText(edit);
}

QStringList historyOf(const QComboBox& combo) {
    QStringList entries;
    for (int i = 0; i < combo.count(); ++i) entries << combo.itemText(i);
    return entries;
}

}  // namespace tabulo::search
