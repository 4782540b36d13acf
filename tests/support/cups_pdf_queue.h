// The CUPS PDF queue for tests that print through a real spooler: starts the
// scheduler when it is not running and adds the queue "PDF" (cups-pdf) when
// it is missing. cupsPdfQueueUnavailable() gives the reason when that cannot
// be done, so the test can report a skip.
#pragma once

#include <QElapsedTimer>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QThread>

#include <optional>
#include <utility>

namespace tabulo::testing {

// Runs a CUPS tool; its exit code (-1 when it cannot start) and output.
inline std::pair<int, QString> cupsTool(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    if (!process.waitForStarted() || !process.waitForFinished(30000))
        return {-1, process.errorString()};
    return {process.exitCode(), QString::fromUtf8(process.readAll())};
}

inline bool cupsSchedulerRunning() {
    return cupsTool(QStringLiteral("lpstat"), {QStringLiteral("-r")})
        .second.contains(QStringLiteral("scheduler is running"));
}

inline std::optional<QString> cupsPdfQueueUnavailable() {
    if (!cupsSchedulerRunning()) {
        const auto [code, output] = cupsTool(QStringLiteral("cupsd"), {});
        if (code != 0)
            return QStringLiteral("cupsd could not start: ") + output;
        QElapsedTimer waited;
        waited.start();
        while (!cupsSchedulerRunning() && waited.elapsed() < 10000)
            QThread::msleep(200);
        if (!cupsSchedulerRunning())
            return QStringLiteral("the CUPS scheduler did not come up");
    }
    if (cupsTool(QStringLiteral("lpstat"), {QStringLiteral("-v"), QStringLiteral("PDF")}).first != 0) {
        const auto [code, output] = cupsTool(
            QStringLiteral("lpadmin"), {QStringLiteral("-p"), QStringLiteral("PDF"), QStringLiteral("-v"),
                                        QStringLiteral("cups-pdf:/"), QStringLiteral("-m"),
                                        QStringLiteral("lsb/usr/cups-pdf/CUPS-PDF_opt.ppd"), QStringLiteral("-E")});
        if (code != 0)
            return QStringLiteral("the PDF queue could not be added: ") + output;
    }
    return std::nullopt;
}

}  // namespace tabulo::testing
