// TOpenFileHistories: the recent-file list of the "開き直す" submenu. The
// history list (newest first) is kept in the settings store under
// "\Software\OpnFilHs\OFH" as one value named by the key, the entries
// separated by CR LF. Files opened in this run go to the run list; they
// reach the history list, and so the menu, at the next Refresh or start.
#pragma once

#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>

class QAction;

namespace tabulo::app {

class TOpenFileHistories : public QObject {
public:
    explicit TOpenFileHistories(QObject* parent = nullptr);

    int MaxHistory = 10;
    // Entries are inserted into the anchor's menu directly after it.
    QAction* UpFileItem = nullptr;
    std::function<void(QObject* sender, const QString& fileName)> OnOpenFile;

    // Reads the stored list and fills the menu.
    void Load(const QString& key);
    // Moves the run list to the top of the history list (oldest first, so
    // the newest ends on top), cuts it to MaxHistory and stores it; only
    // when files were opened in this run.
    void Save(const QString& key);
    void Add(const QString& path);
    void Refresh(const QString& key);
    // Removes the menu items, both lists and the stored value.
    void Clear(const QString& key);

    const QStringList& historyList() const { return m_history; }
    const QStringList& runList() const { return m_run; }
    const QList<QAction*>& menuItems() const { return m_items; }

    // "&0 " .. "&9 ", "&A " .. "&Z ", then nothing.
    static QString acceleratorPrefix(int index);

private:
    void removeMenuItems();

    QStringList m_history;
    QStringList m_run;
    QList<QAction*> m_items;
};

}  // namespace tabulo::app
