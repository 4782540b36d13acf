// Printing benchmarks.
//   print_bench generate PATH BYTES   writes mixed Japanese and ASCII lines
//   print_bench preview LINES         times Ctrl+P's preview of a document of
//                                     LINES such lines: from the command to
//                                     the preview window with its first page
#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QAction>
#include <QPushButton>
#include <QToolButton>

#include <cstdio>
#include <fstream>
#include <string>

#include "app/main_window.h"
#include "platform/error_handler.h"
#include "platform/scripted_prompts.h"
#include "print/window/print_dialog.h"
#include "print/window/str_preview_form.h"

namespace {

std::string mixedLine(unsigned& seed) {
    static const char* const words[] = {"\x93\xFA\x96\x7B\x8C\xEA", "\x83\x65\x83\x4C\x83\x58\x83\x67", "Tabulo", " ",
                                        "\x81\x42", "\x95\x5C\x8E\xA6", "editor", "\t", "\x82\xA0\x82\xA2\x82\xA4",
                                        "123.45"};
    std::string line;
    seed = seed * 1103515245 + 12345;
    const int n = 3 + static_cast<int>((seed >> 16) % 40);
    for (int i = 0; i < n; ++i) {
        seed = seed * 1103515245 + 12345;
        line += words[(seed >> 16) % 10];
    }
    return line;
}

int generate(const char* path, std::size_t bytes) {
    std::ofstream out(path, std::ios::binary);
    unsigned seed = 12345;
    std::size_t written = 0;
    while (written < bytes) {
        const std::string line = mixedLine(seed) + "\r\n";
        out << line;
        written += line.size();
    }
    return out ? 0 : 1;
}

int preview(int argc, char** argv, int lineCount) {
    tabulo::platform::TabuloApplication app(argc, argv);
    tabulo::platform::ScriptedPrompts prompts;
    tabulo::platform::installPrompts(&prompts);
    tabulo::app::TfmTabulo window({});
    std::string text;
    unsigned seed = 12345;
    for (int i = 0; i < lineCount; ++i)
        text += mixedLine(seed) + "\r\n";
    window.document().Lines().SetText(text);
    window.document().SetModified(false);
    window.show();
    window.printerSettings().SetIndex(0);

    QElapsedTimer clock;
    qint64 shown = -1;
    int pages = 0;
    window.setDialogRunner([&](QDialog& dialog) {
        if (auto* print = qobject_cast<tabulo::print::TfmPrint*>(&dialog)) {
            clock.start();
            print->PreviewButton->click();
        } else if (auto* form = qobject_cast<tabulo::print::TFormStrPreview*>(&dialog)) {
            shown = clock.elapsed();
            form->LastButton->click();
            pages = form->metaFileIndex() + 1;
        }
    });
    QElapsedTimer command;
    command.start();
    window.action(QStringLiteral("Print1"))->trigger();
    std::printf("preview of %d lines: %d pages, shown %lld ms after the preview button, %lld ms after Ctrl+P\n",
                lineCount, pages, static_cast<long long>(shown), static_cast<long long>(command.elapsed()));
    tabulo::platform::installPrompts(nullptr);
    return shown >= 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "generate" && argc == 4)
        return generate(argv[2], std::stoull(argv[3]));
    if (mode == "preview" && argc == 3)
        return preview(argc, argv, std::stoi(argv[2]));
    std::fprintf(stderr, "usage: print_bench generate PATH BYTES | preview LINES\n");
    return 2;
}
