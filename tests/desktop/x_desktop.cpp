#include "x_desktop.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QLabel>
#include <QMessageBox>
#include <QProcess>
#include <QRegularExpression>
#include <QThread>
#include <QWindow>

#include <gtest/gtest.h>

namespace tabulo::testing {
namespace {

QString run(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(10000)) ADD_FAILURE() << program.toStdString() << " did not finish";
    return QString::fromLocal8Bit(process.readAllStandardOutput());
}

// The window ids of an xprop line such as "_NET_ACTIVE_WINDOW(WINDOW): window id # 0x1e00007".
std::vector<unsigned long> windowIds(const QString& line) {
    std::vector<unsigned long> ids;
    static const QRegularExpression hex(QStringLiteral("0x[0-9a-fA-F]+"));
    for (const QRegularExpressionMatch& m : hex.globalMatch(line.section(QLatin1Char('#'), 1)))
        ids.push_back(m.captured().toULong(nullptr, 16));
    return ids;
}

constexpr int kPatienceMs = 5000;

}  // namespace

std::vector<unsigned long> stackingOrder() {
    return windowIds(run(QStringLiteral("xprop"), {QStringLiteral("-root"), QStringLiteral("_NET_CLIENT_LIST_STACKING")}));
}

unsigned long activeWindow() {
    const std::vector<unsigned long> ids =
        windowIds(run(QStringLiteral("xprop"), {QStringLiteral("-root"), QStringLiteral("_NET_ACTIVE_WINDOW")}));
    return ids.empty() ? 0 : ids.front();
}

void typeKeys(const char* keys) {
    run(QStringLiteral("xdotool"), {QStringLiteral("key"), QString::fromLatin1(keys)});
}

bool waitUntilActive(const QWidget& window) {
    const QDeadlineTimer deadline(kPatienceMs);
    while (!deadline.hasExpired()) {
        // The window manager's word, and the program's own once it has heard it.
        if (window.isVisible() && activeWindow() == window.winId() && QApplication::activeWindow() == &window)
            return true;
        QCoreApplication::processEvents();
        QThread::msleep(20);
    }
    return false;
}

void screenshot(const QString& name) {
    const QString folder = qEnvironmentVariable("TABULO_DESKTOP_SHOTS");
    if (folder.isEmpty()) return;
    QDir().mkpath(folder);
    run(QStringLiteral("import"), {QStringLiteral("-window"), QStringLiteral("root"),
                                   QDir(folder).filePath(name + QStringLiteral(".png"))});
}

BoxWatch::BoxWatch(Act act, QString shot)
    : m_act(std::move(act)), m_shot(std::move(shot)), m_before(QApplication::activeModalWidget()) {
    connect(&m_timer, &QTimer::timeout, this, &BoxWatch::poll);
    m_timer.start(30);
}

void BoxWatch::poll() {
    if (!m_box) {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || modal == m_before || !modal->windowHandle() || !modal->windowHandle()->isExposed()) return;
        m_box = modal;
        m_seen.opened = true;
        m_seen.title = modal->windowTitle();
        if (auto* box = qobject_cast<QMessageBox*>(modal)) m_seen.text = box->text();
    }
    // One look per tick: the program's events run in between.
    const std::vector<unsigned long> stacking = stackingOrder();
    m_seen.topmost = !stacking.empty() && stacking.back() == m_box->winId();
    m_seen.focused = activeWindow() == m_box->winId();
    const bool settled = m_seen.topmost && m_seen.focused;
    if (!settled && ++m_checks * 30 < kPatienceMs) return;
    m_timer.stop();
    if (!settled) {
        m_box->close();
        return;
    }
    if (!m_shot.isEmpty()) screenshot(m_shot);
    QWidget& box = *m_box;
    if (m_act) {
        m_act(box);
    } else {
        typeKeys("Escape");
    }
    // A key that did not reach the box must not leave the test waiting.
    const QDeadlineTimer deadline(kPatienceMs);
    while (m_box && m_box->isVisible() && !deadline.hasExpired()) {
        QCoreApplication::processEvents();
        QThread::msleep(10);
    }
    if (m_box && m_box->isVisible()) {
        ADD_FAILURE() << "the box " << m_seen.title.toStdString() << " did not close";
        m_box->close();
    }
}

}  // namespace tabulo::testing
