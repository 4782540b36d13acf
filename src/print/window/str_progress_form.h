// TFormStrProgress: the modeless window that shows how far a layout got and
// lets the user cancel it. Progress lets pending user-interface events run
// so that "Cancel" is noticed; it does so on its first call and then at
// most every 50 ms, which keeps a layout of a million lines fast.
#pragma once

#include <QElapsedTimer>
#include <QWidget>

class QLabel;
class QProgressBar;
class QPushButton;

namespace tabulo::print {

class TFormStrProgress : public QWidget {
    Q_OBJECT
public:
    explicit TFormStrProgress(QWidget* parent = nullptr);

    // Shows the window with its bar at 0.
    void Execute(const QString& caption);
    // Returns false once Cancel was pressed.
    bool Progress(const QString& caption, std::size_t maximum, std::size_t position);
    bool cancelled() const { return m_cancelled; }

    QPushButton* Button1 = nullptr;
    QProgressBar* ProgressBar1 = nullptr;
    QLabel* Label1 = nullptr;

private:
    void Button1Click();

    bool m_cancelled = false;
    QElapsedTimer m_sinceEvents;
    bool m_eventsRun = false;
};

}  // namespace tabulo::print
