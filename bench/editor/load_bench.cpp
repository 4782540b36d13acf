// How large a Shift-JIS file the main window holds, and how fast: load into
// the document, paint the first screen, Ctrl+End to the last line, soft
// wrap on and off, and the peak resident memory against the file's size.
// Usage: editor_load_bench [--mb N] [FILE]; without FILE an N MB file
// (100 unless given) is generated into the current folder first.
#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QPainter>
#include <QTest>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <ctime>
#include <sys/stat.h>

#include "app/main_window.h"
#include "editor/view/editor_view.h"
#include "platform/error_handler.h"
#include "platform/scripted_prompts.h"

namespace {

// Mixed Japanese and ASCII lines of varying length.
void generate(const std::string& path, std::size_t bytes) {
    const char* words[] = {"\x93\xFA\x96\x7B\x8C\xEA", "\x83\x65\x83\x4C\x83\x58\x83\x67", "Tabulo", " ",
                           "\x81\x42", "\x95\x5C\x8E\xA6", "editor", "\t", "\x82\xA0\x82\xA2\x82\xA4", "123.45"};
    std::ofstream out(path, std::ios::binary);
    std::size_t written = 0;
    unsigned seed = 12345;
    std::string line;
    while (written < bytes) {
        line.clear();
        seed = seed * 1103515245 + 12345;
        const int n = 3 + static_cast<int>((seed >> 16) % 40);
        for (int i = 0; i < n; ++i) {
            seed = seed * 1103515245 + 12345;
            line += words[(seed >> 16) % 10];
        }
        line += "\r\n";
        out << line;
        written += line.size();
    }
}

double paintOnce(tabulo::app::TfmTabulo& window) {
    QElapsedTimer t;
    t.start();
    QImage image(window.size(), QImage::Format_ARGB32);
    window.render(&image);
    return static_cast<double>(t.nsecsElapsed()) / 1e6;
}

// CPU time of this process (every thread), in milliseconds: on a busy
// machine it tells the work apart from the wait.
double cpuMs() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

// A field of /proc/self/status in MiB (VmRSS, VmHWM).
double statusMiB(const char* field) {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind(field, 0) == 0) return std::atof(line.c_str() + std::strlen(field)) / 1024.0;
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    tabulo::platform::TabuloApplication app(argc, argv);
    tabulo::platform::ScriptedPrompts prompts;
    tabulo::platform::installPrompts(&prompts);
    std::size_t mb = 100;
    std::string path;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--mb") == 0 && i + 1 < argc) {
            mb = static_cast<std::size_t>(std::atol(argv[++i]));
        } else {
            path = argv[i];
        }
    }
    if (path.empty()) {
        path = "editor_load_bench_" + std::to_string(mb) + "mb.txt";
        struct stat info {};
        if (::stat(path.c_str(), &info) != 0 || static_cast<std::size_t>(info.st_size) < mb * 1024 * 1024) {
            std::fprintf(stderr, "generating %s ...\n", path.c_str());
            generate(path, mb * 1024 * 1024);
        }
    }
    struct stat info {};
    ::stat(path.c_str(), &info);
    const double fileMiB = static_cast<double>(info.st_size) / (1024.0 * 1024.0);

    tabulo::app::TfmTabulo window({});
    window.resize(1000, 800);
    window.show();
    QApplication::processEvents();
    const double residentBefore = statusMiB("VmRSS:");

    QElapsedTimer t;
    t.start();
    const double cpuBefore = cpuMs();
    window.openFile(QString::fromStdString(path));
    const double load = static_cast<double>(t.nsecsElapsed()) / 1e6;
    const double paint = paintOnce(window);
    const double openCpu = cpuMs() - cpuBefore;
    const double peakOpen = statusMiB("VmHWM:");

    t.restart();
    QTest::keyClick(&window.editor(), Qt::Key_End, Qt::ControlModifier);
    const double toEnd = static_cast<double>(t.nsecsElapsed()) / 1e6 + paintOnce(window);
    const int endRow = window.document().Row();
    const double peakEnd = statusMiB("VmHWM:");
    QTest::keyClick(&window.editor(), Qt::Key_Home, Qt::ControlModifier);

    t.restart();
    window.action(QStringLiteral("Wrap1"))->trigger();
    const double wrapOn = static_cast<double>(t.nsecsElapsed()) / 1e6;
    const double paintWrapped = paintOnce(window);
    t.restart();
    window.action(QStringLiteral("Wrap1"))->trigger();
    const double wrapOff = static_cast<double>(t.nsecsElapsed()) / 1e6;
    const double peak = statusMiB("VmHWM:");

    std::printf("file: %s, %.0f MiB, %d lines (Ctrl+End to row %d)\n", path.c_str(), fileMiB,
                window.document().Lines().Count(), endRow);
    std::printf("%-40s %10s %8s\n", "step", "figure", "goal");
    std::printf("%-40s %10.1f %8s\n", "load into the document (ms)", load, "");
    std::printf("%-40s %10.1f %8s\n", "paint the first screen (ms)", paint, "");
    std::printf("%-40s %10.1f %8s\n", "load + first screen (ms)", load + paint, mb >= 1000 ? "3000" : "400");
    std::printf("%-40s %10.1f %8s\n", "  the same in CPU time (ms)", openCpu, "");
    std::printf("%-40s %10.1f %8s\n", "Ctrl+End + paint (ms)", toEnd, "70");
    std::printf("%-40s %10.1f %8s\n", "soft wrap on (+ paint) (ms)", wrapOn + paintWrapped, "2000");
    std::printf("%-40s %10.1f %8s\n", "soft wrap off (ms)", wrapOff, "2000");
    std::printf("%-40s %10.2f %8s\n", "peak resident over the file (x)", peak / fileMiB, "1.5");
    std::printf("%-40s %10.2f %8s\n", "  less the empty window's (x)", (peak - residentBefore) / fileMiB, "");
    std::printf("  (empty window %.0f MiB, peak %.0f MiB: %.0f after the first screen, %.0f after Ctrl+End; file %.0f MiB)\n",
                residentBefore, peak, peakOpen, peakEnd, fileMiB);
    window.document().SetModified(false);
    return 0;
}
