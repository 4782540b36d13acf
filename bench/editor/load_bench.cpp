// How long a large Shift-JIS file takes to become a painted window: load
// into the document, paint the first screen, then soft wrap on and off.
// Usage: editor_load_bench [FILE]; without FILE a 100 MB file is generated
// into the build folder first.
#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QPainter>
#include <cstdio>
#include <fstream>
#include <string>

#include "app/main_window.h"
#include "editor/view/editor_view.h"
#include "platform/error_handler.h"
#include "platform/scripted_prompts.h"

namespace {

// Mixed Japanese and ASCII lines of varying length, 100 MB in all.
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

}  // namespace

int main(int argc, char** argv) {
    tabulo::platform::TabuloApplication app(argc, argv);
    tabulo::platform::ScriptedPrompts prompts;
    tabulo::platform::installPrompts(&prompts);
    std::string path = argc > 1 ? argv[1] : "editor_load_bench_100mb.txt";
    if (argc <= 1) {
        std::fprintf(stderr, "generating %s ...\n", path.c_str());
        generate(path, 100u * 1024 * 1024);
    }
    tabulo::app::TfmTabulo window({});
    window.resize(1000, 800);
    window.show();
    QApplication::processEvents();

    QElapsedTimer t;
    t.start();
    window.openFile(QString::fromStdString(path));
    const double load = static_cast<double>(t.nsecsElapsed()) / 1e6;
    const double paint = paintOnce(window);

    t.restart();
    window.action(QStringLiteral("Wrap1"))->trigger();
    const double wrapOn = static_cast<double>(t.nsecsElapsed()) / 1e6;
    const double paintWrapped = paintOnce(window);
    t.restart();
    window.action(QStringLiteral("Wrap1"))->trigger();
    const double wrapOff = static_cast<double>(t.nsecsElapsed()) / 1e6;

    std::printf("file: %s, %d lines\n", path.c_str(), window.document().Lines().Count());
    std::printf("%-34s %10s %8s\n", "step", "ms", "goal");
    std::printf("%-34s %10.1f %8s\n", "load into the document", load, "");
    std::printf("%-34s %10.1f %8s\n", "paint the first screen", paint, "");
    std::printf("%-34s %10.1f %8s\n", "load + first screen", load + paint, "2000");
    std::printf("%-34s %10.1f %8s\n", "soft wrap on (+ paint)", wrapOn + paintWrapped, "2000");
    std::printf("%-34s %10.1f %8s\n", "soft wrap off", wrapOff, "2000");
    window.document().SetModified(false);
    return 0;
}
