// The drop-down histories of the find dialog: the newest text first, at most
// 16 kept from one run to the next in the INI file (sections "FindString"
// and "ReplaceString", keys "0", "1", ... in list order).
#pragma once

#include <QString>
#include <QStringList>

class QComboBox;

namespace tabulo::search {

inline constexpr int kFindHistoryMax = 16;

// Reads a history section; a missing key ends the list.
QStringList readFindHistory(const QString& section);
// Writes the first 16 entries to keys "0".."15".
void writeFindHistory(const QString& section, const QStringList& entries);

// Puts text at the top of a combo box's list unless the list holds it
// already; the edit field keeps the text.
void addToHistory(QComboBox& combo, const QString& text);
QStringList historyOf(const QComboBox& combo);

}  // namespace tabulo::search
