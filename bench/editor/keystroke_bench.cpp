// How long one keystroke takes to reach the screen in the main window on a
// 1,000,000-line document: typing a character, undoing it, Page Down, and
// every frame of a scroll from the top to the bottom. Each figure is the key
// event (with the window's status and command refresh that follows it) plus
// a full repaint of the editor. Prints median and worst times per action.
#include <QApplication>
#include <QElapsedTimer>
#include <QScrollBar>
#include <QTest>
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "app/main_window.h"
#include "editor/view/editor_view.h"
#include "platform/error_handler.h"
#include "platform/scripted_prompts.h"

namespace {

struct Figures {
    std::vector<double> ms;
    void add(double v) { ms.push_back(v); }
    void print(const char* what) {
        std::sort(ms.begin(), ms.end());
        const auto over = std::count_if(ms.begin(), ms.end(), [](double v) { return v >= 16.0; });
        std::printf("%-24s %6zu frames  median %6.3f ms  99%% %6.3f ms  worst %7.3f ms  %ld over 16 ms\n", what,
                    ms.size(), ms[ms.size() / 2], ms[ms.size() * 99 / 100], ms.back(), static_cast<long>(over));
    }
};

std::string makeDocument(int lines) {
    const char* words[] = {"\x93\xFA\x96\x7B\x8C\xEA", "\x83\x65\x83\x4C\x83\x58\x83\x67", "Tabulo", " ",
                           "\x81\x42", "http://example.jp/x", "editor", "\t", "\x82\xA0\x82\xA2\x82\xA4", "123.45"};
    std::string text;
    text.reserve(static_cast<std::size_t>(lines) * 48);
    unsigned seed = 12345;
    for (int i = 0; i < lines; ++i) {
        seed = seed * 1103515245 + 12345;
        const int n = 2 + static_cast<int>((seed >> 16) % 10);
        for (int k = 0; k < n; ++k) {
            seed = seed * 1103515245 + 12345;
            text += words[(seed >> 16) % 10];
        }
        text += "\r\n";
    }
    return text;
}

template <typename Action>
double timed(tabulo::editor::TEditor& editor, Action&& action) {
    QElapsedTimer t;
    t.start();
    action();
    QApplication::processEvents();  // the queued status and command refresh
    editor.viewport()->repaint();
    return static_cast<double>(t.nsecsElapsed()) / 1e6;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    tabulo::platform::ScriptedPrompts prompts;
    tabulo::platform::installPrompts(&prompts);
    tabulo::app::TfmTabulo window({});
    window.resize(1000, 700);
    window.show();
    auto& doc = window.document();
    auto& editor = window.editor();
    auto numbers = editor.leftbar();  // the line-number bar on: its width is recomputed per change
    numbers.Visible = true;
    editor.setLeftbar(numbers);
    QElapsedTimer load;
    load.start();
    doc.SetTextStr(makeDocument(1000000));
    std::printf("document: %d lines, set in %.0f ms\n", doc.Lines().Count(), static_cast<double>(load.elapsed()));
    editor.setFocus();
    QApplication::processEvents();

    Figures typing;
    Figures undo;
    Figures pageDown;
    for (int i = 0; i < 200; ++i) {
        doc.setCaret({500000 + i * 37, 3});
        doc.scrollToCaret();
        typing.add(timed(editor, [&] { QTest::keyClick(&editor, Qt::Key_A); }));
        undo.add(timed(editor, [&] { QTest::keyClick(&editor, Qt::Key_U, Qt::ControlModifier); }));
    }
    doc.setCaret({0, 0});
    doc.SetTopRow(0);
    for (int i = 0; i < 200; ++i) pageDown.add(timed(editor, [&] { QTest::keyClick(&editor, Qt::Key_PageDown); }));

    Figures scroll;
    doc.SetTopRow(0);
    QScrollBar* bar = editor.verticalScrollBar();
    const int step = std::max(1, doc.VisibleRows());
    for (int top = 0; top <= bar->maximum(); top += step) {
        scroll.add(timed(editor, [&] { bar->setValue(top); }));
    }
    typing.print("type a character");
    undo.print("undo it (Ctrl+U)");
    pageDown.print("Page Down");
    scroll.print("scroll top to bottom");
    tabulo::platform::installPrompts(nullptr);
    return 0;
}
