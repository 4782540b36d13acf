// Opens the main window on a short Japanese sample with every mark shown
// (tab arrows, full-width spaces, line-break arrows, "[EOF]"), the
// line-number bar and the ruler, and a box selection, then waits: run it on
// a display and capture the screen for the documentation.
// Usage: editor_showcase [SECONDS]
#include <QApplication>
#include <QTimer>

#include "app/main_window.h"
#include "editor/view/editor_view.h"
#include "sjis/sjis_codec.h"
#include "platform/error_handler.h"
#include "platform/scripted_prompts.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    tabulo::platform::ScriptedPrompts prompts;
    tabulo::platform::installPrompts(&prompts);
    tabulo::app::TfmTabulo window({});
    window.resize(980, 660);
    window.move(10, 10);
    window.show();
    QApplication::processEvents();

    auto& editor = window.editor();
    auto bar = editor.leftbar();
    bar.Visible = true;
    editor.setLeftbar(bar);
    auto marks = editor.exMarks();
    marks.TabMark.Visible = true;
    marks.DBSpaceMark.Visible = true;
    editor.setExMarks(marks);

    const char* sample[] = {
        "# 見積もり（税込）",
        "品名\t数量\t単価\t金額",
        "りんご\t12\t120\t1440",
        "みかん\t30\t45\t1350",
        "　全角空白で字下げした行",
        "> 引用された返信の行",
        "r = 12",
        "pi * r^2",
        "詳しくは http://example.jp/tabulo/ を見てください。",
        "ＡＢＣ　カタカナ　ｶﾀｶﾅ　漢字かな交じり文",
        "最後の行には改行がありません",
    };
    const auto& codec = tabulo::sjis::SjisCodec::instance();
    auto& doc = window.document();
    std::string text;
    for (const char* line : sample) text += codec.fromUtf8Lossy(line) + "\r\n";
    text.resize(text.size() - 2);
    doc.SetTextStr(text);
    doc.replaceLines(doc.Lines().Count() - 1, 1, {doc.Lines().Get(doc.Lines().Count() - 1)},
                     tabulo::editor::BreakKind::EndOfText);
    doc.SetModified(false);
    doc.SetBoxMode(true);
    doc.select({1, 8}, {3, 16});
    window.refreshCommands();
    window.refreshStatus();
    editor.setFocus();

    const int seconds = argc > 1 ? std::atoi(argv[1]) : 8;
    QTimer::singleShot(seconds * 1000, &app, [&] { window.document().SetModified(false); app.exit(0); });
    const int rc = QApplication::exec();
    tabulo::platform::installPrompts(nullptr);
    return rc;
}
