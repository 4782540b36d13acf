// Replace all through the find dialog on a 100 MB document holding a
// two-character word 1,000,000 times, from the click on "置換" to the
// repainted screen; the undo steps it took and the peak memory it used
// beside the document; then every frame of a scroll from the top to the
// bottom with the highlight of all matches on.
// Times are shown as wall time, as CPU time of this process and as CPU time of
// the painting thread: on a busy machine the CPU times are the figures that
// show the program's own cost. Each frame over 16 ms is listed with what set
// it apart: page faults, and the switches that took the thread off the CPU
// (voluntary ones wait for another thread, forced ones for the scheduler),
// and its start on the monotonic clock, to find it in a profile recorded
// with `perf record -k CLOCK_MONOTONIC`.
// Usage: replace_all_bench [LINES [replace-only | scroll STRIDE]]
//   (default 1,000,000 lines of 100 bytes; "replace-only" skips the scrolls;
//   "scroll STRIDE" times every STRIDE-th page of the scrolls only)
#include <sys/resource.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QImage>
#include <QPushButton>
#include <QScrollBar>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <string>
#include <vector>

#include "app/main_window.h"
#include "editor/view/editor_view.h"
#include "platform/error_handler.h"
#include "platform/scripted_prompts.h"
#include "search/window/find_dialog.h"

namespace {

// Resident and peak resident memory of this process, in MiB.
double statusMiB(const char* field) {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind(field, 0) == 0) return std::atof(line.c_str() + std::string(field).size()) / 1024.0;
    }
    return 0;
}

// CPU time of this process (every thread), in milliseconds.
double cpuMs() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

// CPU time of the calling thread, in milliseconds: the paint's own cost,
// whatever other processes take of the machine meanwhile.
double threadCpuMs() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

void resetPeak() {
    std::ofstream("/proc/self/clear_refs") << "5";
}

// Lines of exactly 100 bytes with one 表示 each, among kana, kanji and ASCII;
// the padding is ASCII so that no double-byte character is cut.
std::string makeDocument(int lines) {
    const std::string head = "\x83\x65\x83\x4C\x83\x58\x83\x67 \x93\xFA\x96\x7B\x8C\xEA ";  // テキスト 日本語
    const std::string tail = " editor 123.45 http://example.jp/x Tabulo line end of the sample text for the bench ...";
    std::string text;
    text.reserve(static_cast<std::size_t>(lines) * 100);
    for (int i = 0; i < lines; ++i) {
        std::string line = head + std::string(static_cast<std::size_t>(i % 40), '.') + "\x95\x5C\x8E\xA6";  // 表示
        line += tail.substr(0, 98 - line.size());
        text += line;
        text += "\r\n";
    }
    return text;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    tabulo::platform::ScriptedPrompts prompts;
    tabulo::platform::installPrompts(&prompts);
    const int count = argc > 1 ? std::atoi(argv[1]) : 1000000;

    tabulo::app::TfmTabulo window({});
    window.resize(1000, 700);
    window.show();
    QApplication::processEvents();
    auto& doc = window.document();
    {
        const std::string text = makeDocument(count);
        doc.SetTextStr(text);
        std::printf("document: %d lines, %.1f MB\n", doc.Lines().Count(), static_cast<double>(text.size()) / 1e6);
    }
    const double documentMiB = static_cast<double>(doc.textLength()) / (1024.0 * 1024.0);
    doc.setCaret({count / 2, 10});
    doc.SetTopRow(count / 2 - 5);
    window.refreshCommands();
    window.action(QStringLiteral("_Find1"))->trigger();
    auto& dialog = window.findDialog();
    dialog.findCombo().setCurrentText(QStringLiteral("表示"));
    dialog.replaceCombo().setCurrentText(QStringLiteral("画面"));
    dialog.replaceAll().setChecked(true);
    QApplication::processEvents();

    const int undoBefore = doc.history().undoCount();
    const double rssBefore = statusMiB("VmRSS:");
    resetPeak();
    QElapsedTimer t;
    t.start();
    const double cpuBefore = cpuMs();
    dialog.findChild<QPushButton*>(QStringLiteral("ReplaceBitBtn1"))->click();
    QImage screen(window.size(), QImage::Format_ARGB32);
    window.render(&screen);
    const double ms = static_cast<double>(t.nsecsElapsed()) / 1e6;
    const double cpu = cpuMs() - cpuBefore;
    const double peak = statusMiB("VmHWM:");

    const bool replaced = prompts.texts().value(0) == QStringLiteral("全部で %1 件置換しました。").arg(count);
    std::printf("%-48s %10s %8s\n", "step", "figure", "goal");
    std::printf("%-48s %10.1f %8s\n", "replace all, click to repainted screen (ms)", ms, "1000");
    std::printf("%-48s %10.1f %8s\n", "  the same in CPU time (ms)", cpu, "1000");
    std::printf("%-48s %10d %8s\n", "undo steps taken", doc.history().undoCount() - undoBefore, "1");
    std::printf("%-48s %10.2f %8s\n", "peak memory over the document's size (x)",
                (peak - rssBefore) / documentMiB + 1.0, "3");
    std::printf("  (resident before %.0f MiB, peak during %.0f MiB, document %.0f MiB)\n", rssBefore, peak,
                documentMiB);
    std::printf("message: %s; caret kept: %s\n", replaced ? "right count" : qPrintable(prompts.texts().join(u'|')),
                doc.Row() == count / 2 && doc.TopRow() == count / 2 - 5 ? "yes" : "NO");

    const std::string mode = argc > 2 ? argv[2] : "";
    const int stride = mode == "scroll" && argc > 3 ? std::max(1, std::atoi(argv[3])) : 1;
    if (mode == "replace-only") {
        doc.SetModified(false);
        return replaced ? 0 : 1;
    }
    // Every frame of a scroll over the whole document, without and then with
    // every match highlighted.
    auto& editor = window.editor();
    const auto scrollFrames = [&](const char* what) {
        std::vector<double> frames;
        std::vector<double> cpuFrames;
        std::vector<double> threadFrames;
        QScrollBar* bar = editor.verticalScrollBar();
        const int step = std::max(1, doc.VisibleRows()) * stride;
        for (int top = 0; top <= bar->maximum(); top += step) {
            rusage before{};
            getrusage(RUSAGE_THREAD, &before);
            timespec mono{};
            clock_gettime(CLOCK_MONOTONIC, &mono);
            QElapsedTimer f;
            f.start();
            const double c = cpuMs();
            const double threadCpu = threadCpuMs();
            bar->setValue(top);
            editor.viewport()->repaint();
            threadFrames.push_back(threadCpuMs() - threadCpu);
            cpuFrames.push_back(cpuMs() - c);
            frames.push_back(static_cast<double>(f.nsecsElapsed()) / 1e6);
            if (frames.back() >= 16.0 || cpuFrames.back() >= 16.0) {
                rusage after{};
                getrusage(RUSAGE_THREAD, &after);
                std::printf("  slow frame %zu at row %d (monotonic clock %ld.%06ld s): wall %.3f ms, CPU %.3f ms, "
                            "thread CPU %.3f ms, %ld minor faults, %ld voluntary and %ld forced switches\n",
                            frames.size() - 1, top, static_cast<long>(mono.tv_sec), mono.tv_nsec / 1000,
                            frames.back(), cpuFrames.back(), threadFrames.back(),
                            after.ru_minflt - before.ru_minflt, after.ru_nvcsw - before.ru_nvcsw,
                            after.ru_nivcsw - before.ru_nivcsw);
            }
        }
        const auto report = [&](const char* clock, std::vector<double>& v) {
            const auto worst = std::max_element(v.begin(), v.end()) - v.begin();
            std::sort(v.begin(), v.end());
            const auto over = std::count_if(v.begin(), v.end(), [](double frame) { return frame >= 16.0; });
            std::printf("%-20s %-6s %zu frames, median %.3f ms, 99%% %.3f ms, worst %.3f ms (frame %ld), "
                        "%ld over 16 ms\n",
                        what, clock, v.size(), v[v.size() / 2], v[v.size() * 99 / 100], v.back(),
                        static_cast<long>(worst), static_cast<long>(over));
        };
        report("wall", frames);
        report("CPU", cpuFrames);
        report("thread", threadFrames);
    };
    dialog.hide();
    scrollFrames("plain scroll:");
    dialog.show();
    dialog.replaceAll().setChecked(false);
    dialog.findCombo().setCurrentText(QStringLiteral("画面"));
    doc.setCaret({0, 0});
    dialog.findChild<QPushButton*>(QStringLiteral("FindBitBtn1"))->click();
    dialog.hide();
    scrollFrames("highlighted scroll:");
    doc.SetModified(false);
    tabulo::platform::installPrompts(nullptr);
    return replaced ? 0 : 1;
}
