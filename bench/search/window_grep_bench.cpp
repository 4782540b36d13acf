// The window's grep command over many files, from the command to the
// finished listing on a repainted screen, with the scripted prompts giving
// the pattern and the files; and how soon the stop item ends a running
// grep. Prints one line per measurement for compare_window_grep.py.
// Usage: window_grep_bench FILE-LIST HIT-PATTERN NO-HIT-PATTERN [STOP-AFTER-MS]
//   FILE-LIST holds one path a line; patterns are UTF-8.
#include <sys/resource.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QTimer>
#include <cstdio>
#include <cstdlib>

#include "app/main_window.h"
#include "platform/error_handler.h"
#include "platform/scripted_prompts.h"

namespace {

double cpuSeconds() {
    rusage usage {};
    ::getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

struct Outcome {
    double wallMs;
    double cpuMs;
    double renderCpuMs;  // of cpuMs, the repaint of the finished listing
    int lines;
};

Outcome grepOnce(tabulo::app::TfmTabulo& window, tabulo::platform::ScriptedPrompts& prompts,
                 const QString& pattern, const QStringList& files) {
    window.document().SetModified(false);
    prompts.clear();
    prompts.queueInput(pattern);
    prompts.queueFiles(files);
    const double cpu0 = cpuSeconds();
    QElapsedTimer t;
    t.start();
    window.action(QStringLiteral("Grep"))->trigger();
    const double cpuListed = cpuSeconds();
    QImage screen(window.size(), QImage::Format_ARGB32);
    window.render(&screen);
    const double cpu1 = cpuSeconds();
    return {static_cast<double>(t.nsecsElapsed()) / 1e6, (cpu1 - cpu0) * 1e3, (cpu1 - cpuListed) * 1e3,
            window.document().Lines().Count()};
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: window_grep_bench FILE-LIST HIT-PATTERN NO-HIT-PATTERN [STOP-AFTER-MS]\n");
        return 2;
    }
    tabulo::platform::TabuloApplication app(argc, argv);
    tabulo::platform::ScriptedPrompts prompts;
    tabulo::platform::installPrompts(&prompts);
    QFile list(QString::fromLocal8Bit(argv[1]));
    if (!list.open(QIODevice::ReadOnly)) return 2;
    QStringList files;
    for (const QByteArray& line : list.readAll().split('\n')) {
        if (!line.isEmpty()) files << QFile::decodeName(line);
    }
    const QString hit = QString::fromUtf8(argv[2]);
    const QString none = QString::fromUtf8(argv[3]);
    const int stopAfterMs = argc > 4 ? std::atoi(argv[4]) : 150;

    tabulo::app::TfmTabulo window({});
    window.resize(1000, 800);
    window.show();
    QApplication::processEvents();

    for (const QString& pattern : {hit, none}) {
        const Outcome o = grepOnce(window, prompts, pattern, files);
        std::printf("grep %s files=%lld hits=%d wall_ms=%.1f cpu_ms=%.1f render_cpu_ms=%.1f\n",
                    pattern == hit ? "hit" : "none", static_cast<long long>(files.size()), o.lines / 3, o.wallMs,
                    o.cpuMs, o.renderCpuMs);
    }

    // The stop item chosen while the grep runs: the time from the click
    // (when the user's event is due) to the end of the command.
    QElapsedTimer clock;
    qint64 clickDue = 0, clickSeen = 0;
    QTimer::singleShot(stopAfterMs, &window, [&] {
        clickSeen = clock.nsecsElapsed();
        prompts.queueAnswer(tabulo::platform::Answer::Yes);
        window.action(QStringLiteral("StopBt"))->trigger();
    });
    clock.start();
    clickDue = static_cast<qint64>(stopAfterMs) * 1000000;
    prompts.clear();
    prompts.queueInput(hit);
    prompts.queueFiles(files);
    window.action(QStringLiteral("Grep"))->trigger();
    const qint64 ended = clock.nsecsElapsed();
    if (clickSeen == 0) {
        std::printf("stop not_reached (the grep ended before %d ms)\n", stopAfterMs);
    } else {
        std::printf("stop after_ms=%d answered_ms=%.1f from_handler_ms=%.1f listed_hits=%d\n", stopAfterMs,
                    static_cast<double>(ended - clickDue) / 1e6, static_cast<double>(ended - clickSeen) / 1e6,
                    window.document().Lines().Count() / 3);
    }
    window.document().SetModified(false);
    tabulo::platform::installPrompts(nullptr);
    return 0;
}
