#include "app/open_file_histories.h"

#include <QAction>
#include <QMenu>

#include "platform/local_path.h"
#include "platform/settings_store.h"

namespace tabulo::app {
namespace {

const QString kKeyPath = QStringLiteral("\\Software\\OpnFilHs\\OFH");
const QString kSeparator = QStringLiteral("\r\n");
// A path whose name is not UTF-8 is stored as its percent-encoded bytes
// after this mark; stored paths otherwise start with '/', so the two never
// meet.
const QString kBytesMark = QStringLiteral("bytes:");

QString storedForm(const QString& path) {
    const std::string bytes = platform::toLocalPath(path);
    const QByteArray raw(bytes.data(), static_cast<qsizetype>(bytes.size()));
    if (QString::fromUtf8(raw) == path) return path;
    return kBytesMark + QString::fromLatin1(raw.toPercentEncoding("/"));
}

QString pathOfStored(const QString& stored) {
    if (!stored.startsWith(kBytesMark)) return stored;
    const QByteArray raw = QByteArray::fromPercentEncoding(stored.mid(kBytesMark.size()).toLatin1());
    return platform::fromLocalPath(std::string_view(raw.constData(), static_cast<std::size_t>(raw.size())));
}

}  // namespace

TOpenFileHistories::TOpenFileHistories(QObject* parent) : QObject(parent) {}

QString TOpenFileHistories::acceleratorPrefix(int index) {
    if (index >= 0 && index <= 9) return QStringLiteral("&%1 ").arg(index);
    if (index >= 10 && index <= 35) return QStringLiteral("&%1 ").arg(QChar(index + 55));
    return {};
}

void TOpenFileHistories::Load(const QString& key) {
    const platform::SettingsStore store;
    const QString stored = store.readString(kKeyPath, key).value_or(QString());
    m_history.clear();
    for (const QString& entry : stored.split(kSeparator, Qt::SkipEmptyParts)) m_history << pathOfStored(entry);
    if (m_history.isEmpty() || !UpFileItem) return;
    const auto menus = UpFileItem->associatedObjects();
    QMenu* menu = nullptr;
    for (QObject* object : menus) {
        if ((menu = qobject_cast<QMenu*>(object))) break;
    }
    if (!menu) return;
    const QList<QAction*> existing = menu->actions();
    const qsizetype anchor = existing.indexOf(UpFileItem);
    QAction* before = anchor + 1 < existing.size() ? existing[anchor + 1] : nullptr;
    for (int i = 0; i < m_history.size(); ++i) {
        const QString path = m_history[i];
        auto* item = new QAction(acceleratorPrefix(i) + platform::displayPath(path), menu);
        item->setObjectName(QStringLiteral("HistoryItem%1").arg(i));
        item->setData(i);
        connect(item, &QAction::triggered, this, [this, path] {
            if (OnOpenFile) OnOpenFile(this, path);
        });
        menu->insertAction(before, item);
        m_items << item;
    }
    UpFileItem->setVisible(true);
}

void TOpenFileHistories::Save(const QString& key) {
    if (m_run.isEmpty()) return;
    for (auto it = m_run.crbegin(); it != m_run.crend(); ++it) {
        m_history.removeAll(*it);
        m_history.prepend(*it);
    }
    while (m_history.size() > MaxHistory) m_history.removeLast();
    QStringList stored;
    for (const QString& path : std::as_const(m_history)) stored << storedForm(path);
    platform::SettingsStore store;
    store.writeString(kKeyPath, key, stored.join(kSeparator));
}

void TOpenFileHistories::Add(const QString& path) {
    m_run.removeAll(path);
    m_run.prepend(path);
}

void TOpenFileHistories::Refresh(const QString& key) {
    removeMenuItems();
    Save(key);
    Load(key);
}

void TOpenFileHistories::Clear(const QString& key) {
    removeMenuItems();
    m_run.clear();
    m_history.clear();
    platform::SettingsStore store;
    store.deleteValue(kKeyPath, key);
}

void TOpenFileHistories::removeMenuItems() {
    for (QAction* item : std::as_const(m_items)) delete item;
    m_items.clear();
}

}  // namespace tabulo::app
