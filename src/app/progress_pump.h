// Keeps a long command's window alive: after each line the command calls
// step(); at most every few tens of milliseconds it shows the progress texts
// and lets pending user-interface events run (so the stop item can be
// chosen), and it answers whether the command should go on.
#pragma once

#include <QElapsedTimer>
#include <QString>
#include <functional>

namespace tabulo::editor {
class BulkEdit;
}

namespace tabulo::app {

class ProgressPump {
public:
    using ShowFn = std::function<void(const QString& panel0, const QString& panel1)>;
    ProgressPump(editor::BulkEdit& bulk, ShowFn show);

    // `texts` makes the two panel texts; it is called only when they are shown.
    bool step(const std::function<std::pair<QString, QString>()>& texts);

    // How often events run, in milliseconds; tests set 0 to run them after
    // every line.
    static void setEventInterval(qint64 ms);

private:
    editor::BulkEdit& m_bulk;
    ShowFn m_show;
    QElapsedTimer m_sinceEvents;
};

}  // namespace tabulo::app
