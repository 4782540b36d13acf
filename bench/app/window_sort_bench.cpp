// The window's sort command over a large document, from the click to the
// repainted screen, with the progress and stop machinery in place.
// Usage: window_sort_bench [LINES]   (default 1,000,000)
#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/main_window.h"
#include "platform/error_handler.h"
#include "platform/scripted_prompts.h"

int main(int argc, char** argv) {
    tabulo::platform::TabuloApplication app(argc, argv);
    tabulo::platform::ScriptedPrompts prompts;
    tabulo::platform::installPrompts(&prompts);
    const int count = argc > 1 ? std::atoi(argv[1]) : 1000000;

    // Shift-JIS lines in a scrambled order: kana, kanji and digits.
    std::string text;
    text.reserve(static_cast<std::size_t>(count) * 24);
    unsigned seed = 7;
    for (int i = 0; i < count; ++i) {
        seed = seed * 1103515245 + 12345;
        text += "\x83\x65\x83\x4C\x83\x58\x83\x67";  // テキスト
        text += std::to_string((seed >> 8) % 1000000);
        text += "\x95\x5C\x8E\xA6\r\n";  // 表示
    }

    tabulo::app::TfmTabulo window({});
    window.resize(1000, 800);
    window.show();
    QApplication::processEvents();
    window.document().SetTextStr(text);
    window.document().SelectAll();
    window.refreshCommands();

    prompts.queueAnswer(tabulo::platform::Answer::Yes);  // the "time-consuming" warning
    QElapsedTimer t;
    t.start();
    window.action(QStringLiteral("Sort"))->trigger();
    QImage screen(window.size(), QImage::Format_ARGB32);
    window.render(&screen);
    const double ms = static_cast<double>(t.nsecsElapsed()) / 1e6;

    const bool sorted = window.document().Lines().Get(0) <= window.document().Lines().Get(1);
    std::printf("%-44s %10s %8s\n", "step", "ms", "goal");
    std::printf("%-44s %10.1f %8s\n", "sort command, click to repainted screen", ms, "5000");
    std::printf("lines: %d, first two in order: %s\n", window.document().Lines().Count(), sorted ? "yes" : "NO");
    window.document().SetModified(false);
    return sorted ? 0 : 1;
}
