// The script editor through the main window, with scripted prompts: the
// status panels and caption, running the selected lines, open, save, save
// as and the closing question, keywords, find with the dialog's second
// target, the context menu and the tool bar.
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>

#include "editor/model/editor_model.h"
#include "platform/ini_file.h"
#include "platform/settings_store.h"
#include "script/engine/keyword_file.h"
#include "script/window/elided_label.h"
#include "script/window/script_editor.h"
#include "script/window/script_session.h"
#include "search/window/find_dialog.h"
#include "support/document_window_fixture.h"

using tabulo::platform::Answer;
using tabulo::platform::PromptKind;
using tabulo::script::ArgumentPlacement;
using tabulo::script::ScriptMode;
using tabulo::script::TfmAwk;

namespace {

// Five Shift-JIS lines; the second holds 表 (95 5C) and ソ (83 5C), whose
// trail bytes are backslashes.
const std::string kScript =
    "BEGIN { FS = \",\" }\r\n"
    "/\x95\x5C/ { print $1 }\r\n"
    "{ n++ } # \x83\x5C\r\n"
    "$2 > 0 { s += $2 }\r\n"
    "END { print n, s }\r\n";

class ScriptEditorTest : public tabulo::testing::DocumentWindowTest {
protected:
    void SetUp() override {
        DocumentWindowTest::SetUp();
        open();
        awk = &window->scriptEditor();
        awk->setRunHook([this] { ++runs; });
        for (const char* name : {"L.$", "T.$", "TA.txt", "TZ.txt", "TT.txt", "S.awk", "S.rb"}) {
            QFile::remove(workFolder() + QString::fromLatin1(name));
        }
    }
    void TearDown() override {
        if (awk->isVisible()) {
            awk->document().SetModified(false);
            awk->close();
        }
        window->findDialog().hide();
        DocumentWindowTest::TearDown();
    }

    // Shows the editor in a mode on a script file as the run dialog does.
    void show(ScriptMode mode, const QString& script) {
        window->scriptSession().mode = mode;
        window->scriptSession().scriptPath = script;
        window->showScriptEditor();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(awk));
    }
    void key(int k, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(&awk->editor(), static_cast<Qt::Key>(k), modifiers);
    }
    QString workFile(const char* name) const { return workFolder() + QString::fromLatin1(name); }

    TfmAwk* awk = nullptr;
    int runs = 0;
};

TEST_F(ScriptEditorTest, ShowLoadsTheScriptAndSummarisesTheRun) {
    writeBytes(path(QStringLiteral("sum.awk")), kScript);
    window->scriptSession().arguments = QStringLiteral("-v");
    show(ScriptMode::Awk, path(QStringLiteral("sum.awk")));
    EXPECT_EQ(awk->document().GetTextStr(), kScript);
    EXPECT_FALSE(awk->document().Modified());
    EXPECT_EQ(awk->windowTitle(), path(QStringLiteral("sum.awk")) + QStringLiteral(" - Script Editor"));
    EXPECT_EQ(awk->argumentField().text(), QStringLiteral("-v"));
    EXPECT_EQ(awk->panelText(0), QStringLiteral("1行 : 1列"));
    EXPECT_EQ(awk->panelText(1), QString());
    EXPECT_EQ(awk->panelText(2), QStringLiteral("挿入"));
    EXPECT_EQ(awk->panelText(3), QStringLiteral(" Awkモード 【 gawk -f sum.awk -v  > Tabulo 】"));
    EXPECT_TRUE(awk->windowFlags() & Qt::WindowStaysOnTopHint);

    // The main window's selection is widened and named; the arguments go
    // first when placed at the head.
    window->document().SetTextStr("a b\r\nc d\r\n");
    window->document().select({0, 1}, {0, 2});
    window->scriptSession().placement = ArgumentPlacement::Head;
    awk->argumentField().setText(QStringLiteral("-v n=1"));
    EXPECT_EQ(window->scriptSession().arguments, QStringLiteral("-v n=1"));
    EXPECT_EQ(awk->panelText(3), QStringLiteral(" Awkモード 【 gawk -f -v n=1 sum.awk  ReversText  > Tabulo 】"));
    EXPECT_EQ(window->document().SelectedText(), "a b");
    // Longer than the panel at the window's designed width: the panel shows
    // both ends, and the whole text as its tip, instead of cutting the end.
    const auto* summary = awk->findChild<tabulo::script::ElidedLabel*>(QStringLiteral("StatusPanel3"));
    ASSERT_NE(summary, nullptr);
    const QString shown = summary->shownText();
    EXPECT_NE(shown, awk->panelText(3));
    EXPECT_LE(summary->fontMetrics().horizontalAdvance(shown), summary->contentsRect().width());
    EXPECT_TRUE(shown.startsWith(QStringLiteral(" Awkモード")) && shown.endsWith(QStringLiteral("> Tabulo 】")))
        << shown.toStdString();
    EXPECT_EQ(summary->toolTip(), awk->panelText(3));

    // Coming back to the window summarises the run anew.
    window->document().clearSelection();
    window->scriptSession().placement = ArgumentPlacement::Tail;
    ASSERT_TRUE(awk->isActiveWindow());
    QEvent activation(QEvent::ActivationChange);
    QApplication::sendEvent(awk, &activation);
    EXPECT_EQ(awk->panelText(3), QStringLiteral(" Awkモード 【 gawk -f sum.awk -v n=1  > Tabulo 】"));

    key(Qt::Key_Down);
    key(Qt::Key_End);
    EXPECT_EQ(awk->panelText(0), QStringLiteral("2行 : 18列"));
    key(Qt::Key_Insert);
    EXPECT_EQ(awk->panelText(2), QStringLiteral("上書き"));
    EXPECT_TRUE(awk->document().OverwriteMode());
    key(Qt::Key_X);
    EXPECT_EQ(awk->panelText(1), QStringLiteral("変更"));
}

TEST_F(ScriptEditorTest, ShowAppliesTheScriptScreenOptions) {
    {
        tabulo::platform::IniFile ini;
        ini.writeInteger(QStringLiteral("Option"), QStringLiteral("AwkTabSpaceCount"), 8);
        ini.writeBool(QStringLiteral("Option"), QStringLiteral("AwkLeftBar"), false);
        ini.writeBool(QStringLiteral("Option"), QStringLiteral("KeyWordBold"), true);
        ini.writeString(QStringLiteral("Option"), QStringLiteral("AwkCommenter"), QString());
    }
    window.reset();
    open();
    awk = &window->scriptEditor();
    show(ScriptMode::Awk, QString());
    EXPECT_EQ(awk->document().TabSpaceCount(), 8);
    EXPECT_FALSE(awk->editor().leftbar().Visible);
    EXPECT_TRUE(awk->editor().ruler().Visible);
    EXPECT_TRUE(awk->editor().viewInfo().Colors.Reserve.Style.bold);
    EXPECT_EQ(awk->editor().viewInfo().Commenter, "");
    EXPECT_EQ(awk->editor().viewInfo().Colors.Comment.Color, tabulo::editor::colors::kBlack);
    // The main editor keeps its own options.
    EXPECT_EQ(window->document().TabSpaceCount(), 4);
    EXPECT_EQ(window->editor().viewInfo().Commenter, "#");
    EXPECT_EQ(awk->document().UndoListMax(), 64);
    EXPECT_FALSE(awk->document().WordWrap());
}

TEST_F(ScriptEditorTest, ArgumentFieldGrowsFromFiveCharacters) {
    show(ScriptMode::Sed, QString());
    const std::pair<const char*, int> cases[] = {{"", 40}, {"abcd", 40}, {"abcde", 46}, {"-n -e 1", 58}};
    for (const auto& [text, width] : cases) {
        awk->argumentField().setText(QString::fromUtf8(text));
        EXPECT_EQ(awk->argumentField().width(), width) << text;
    }
}

TEST_F(ScriptEditorTest, RunWritesTheWholeSelectedLinesAndCallsTheRun) {
    show(ScriptMode::Awk, path(QStringLiteral("none.awk")));
    awk->document().SetTextStr(kScript);
    // From the middle of line 2 to the middle of line 4.
    awk->document().select({1, 5}, {3, 4});
    key(Qt::Key_F9);
    EXPECT_EQ(runs, 1);
    EXPECT_EQ(readBytes(workFile("S.awk")),
              "/\x95\x5C/ { print $1 }\n{ n++ } # \x83\x5C\n$2 > 0 { s += $2 }\n");
    EXPECT_EQ(awk->document().SelectedText(), "/\x95\x5C/ { print $1 }\r\n{ n++ } # \x83\x5C\r\n$2 > 0 { s += $2 }");
    EXPECT_TRUE(prompts.records().empty());

    // Ctrl+Enter runs as well; the work script is written anew.
    awk->document().select({0, 0}, {0, 3});
    key(Qt::Key_Return, Qt::ControlModifier);
    EXPECT_EQ(runs, 2);
    EXPECT_EQ(readBytes(workFile("S.awk")), "BEGIN { FS = \",\" }\n");
}

TEST_F(ScriptEditorTest, WithoutSelectionTheWholeScriptRunsOnlyAfterYes) {
    show(ScriptMode::Ruby, path(QStringLiteral("r.rb")));
    awk->document().SetTextStr("puts 1\r\nputs 2");
    writeBytes(workFile("S.rb"), "stale");

    prompts.queueAnswer(Answer::No);
    EXPECT_FALSE(awk->runSelection());
    EXPECT_EQ(prompts.texts(), QStringList{QStringLiteral("スクリプト全体を実行しますか?")});
    EXPECT_EQ(runs, 0);
    EXPECT_EQ(readBytes(workFile("S.rb")), "stale");

    prompts.queueAnswer(Answer::Yes);
    EXPECT_TRUE(awk->runSelection());
    EXPECT_EQ(runs, 1);
    EXPECT_EQ(readBytes(workFile("S.rb")), "puts 1\nputs 2\n");
    EXPECT_TRUE(awk->action(QStringLiteral("sbSelectAll"))->isChecked());

    // An empty script leaves no work script behind, and the run is refused.
    prompts.clear();
    awk->document().SetTextStr("");
    prompts.queueAnswer(Answer::Yes);
    EXPECT_FALSE(awk->runSelection());
    EXPECT_EQ(prompts.texts().last(),
              workFile("S.rb") + QStringLiteral("が見つかりません。スクリプトの範囲指定をしてください。"));
    EXPECT_EQ(runs, 1);
}

TEST_F(ScriptEditorTest, SaveAsAppendsTheModesExtension) {
    show(ScriptMode::Ruby, QString());
    awk->document().SetTextStr("puts \"\x95\x5C\"\r\n");
    prompts.queueFile(path(QStringLiteral("myscript")));
    awk->action(QStringLiteral("sbSave"))->trigger();
    ASSERT_EQ(prompts.records().size(), 1u);
    EXPECT_EQ(prompts.records()[0].kind, PromptKind::SaveFile);
    EXPECT_EQ(prompts.records()[0].filter, QStringLiteral("Ruby ファイル(*.rb)|*.rb|すべてのファイル（*.*）|*.*"));
    EXPECT_EQ(readBytes(path(QStringLiteral("myscript.rb"))), "puts \"\x95\x5C\"\r\n");
    EXPECT_EQ(window->scriptSession().scriptPath, path(QStringLiteral("myscript.rb")));
    EXPECT_EQ(awk->windowTitle(), path(QStringLiteral("myscript.rb")) + QStringLiteral(" - Script Editor"));
    EXPECT_FALSE(awk->document().Modified());

    // Over an existing file the backup question comes first; Cancel writes nothing.
    prompts.clear();
    awk->document().SetTextStr("puts 2\r\n");
    prompts.queueFile(path(QStringLiteral("myscript.rb")));
    prompts.queueAnswer(Answer::Cancel);
    EXPECT_FALSE(awk->saveScriptAs());
    EXPECT_EQ(prompts.texts().last(), QStringLiteral("同名のファイルが存在しています。バックアップファイルを作りますか？"));
    EXPECT_EQ(readBytes(path(QStringLiteral("myscript.rb"))), "puts \"\x95\x5C\"\r\n");
}

TEST_F(ScriptEditorTest, SaveChecksTheFreeSpaceFirst) {
    show(ScriptMode::Awk, QString());
    awk->document().SetTextStr("BEGIN { print }");  // 17 bytes with its line break
    tabulo::platform::setFreeSpaceQuery([](const std::string&) { return tabulo::platform::FreeSpace{std::nullopt, "/mnt"}; });
    prompts.queueAnswer(Answer::No);
    EXPECT_FALSE(awk->saveScriptTo(path(QStringLiteral("a.awk"))));
    EXPECT_EQ(prompts.texts(), QStringList{QStringLiteral("Drive /mnt の空き容量が計算不能！書き込みますか？")});

    tabulo::platform::setFreeSpaceQuery([](const std::string&) { return tabulo::platform::FreeSpace{10, "/mnt"}; });
    EXPECT_FALSE(awk->saveScriptTo(path(QStringLiteral("a.awk"))));
    EXPECT_EQ(prompts.texts().last(), QStringLiteral("空きは17バイト必要です！ Drive /mnt/ の空きは10バイトです."));
    EXPECT_EQ(readBytes(path(QStringLiteral("a.awk"))), "<missing>");
    EXPECT_EQ(window->scriptSession().scriptPath, QString());
}

TEST_F(ScriptEditorTest, CtrlSWritesTheScriptOrAsksForANameWithoutExtension) {
    writeBytes(path(QStringLiteral("s.sed")), "s/a/b/\r\n");
    show(ScriptMode::Sed, path(QStringLiteral("s.sed")));
    key(Qt::Key_End);
    key(Qt::Key_G);
    key(Qt::Key_S, Qt::ControlModifier);
    EXPECT_TRUE(prompts.records().empty());
    EXPECT_EQ(readBytes(path(QStringLiteral("s.sed"))), "s/a/b/g\r\n");
    EXPECT_FALSE(awk->document().Modified());

    window->scriptSession().scriptPath = path(QStringLiteral("noext"));
    key(Qt::Key_G);
    prompts.queueFile(std::nullopt);
    key(Qt::Key_S, Qt::ControlModifier);
    ASSERT_EQ(prompts.records().size(), 1u);
    EXPECT_EQ(prompts.records()[0].kind, PromptKind::SaveFile);

    // Blank text is not written at all.
    prompts.clear();
    awk->document().SetTextStr(" \t\x81\x40\r\n");
    key(Qt::Key_S, Qt::ControlModifier);
    EXPECT_TRUE(prompts.records().empty());
}

TEST_F(ScriptEditorTest, OpenAsksAboutChangesAndOffersTheModesScripts) {
    writeBytes(path(QStringLiteral("b.xtr")), "x\r\n");
    show(ScriptMode::Xtr, QString());
    awk->document().SetTextStr("changed");
    awk->document().SetModified(true);

    prompts.queueAnswer(Answer::Cancel);
    awk->action(QStringLiteral("sbOpen"))->trigger();
    EXPECT_EQ(prompts.texts(), QStringList{QStringLiteral("変更点を保存しますか?")});
    EXPECT_EQ(awk->document().GetTextStr(), "changed\r\n");

    prompts.clear();
    prompts.queueAnswer(Answer::No);
    prompts.queueFile(path(QStringLiteral("b.xtr")));
    awk->action(QStringLiteral("sbOpen"))->trigger();
    ASSERT_EQ(prompts.records().size(), 2u);
    EXPECT_EQ(prompts.records()[1].filter,
              QStringLiteral("Awk Files (*.awk)|*.awk|Ruby Files (*.rb)|*.rb|Sed Files (*.sed)|*.sed|"
                             "Xtr Files (*.xtr)|*.xtr|All Files (*.*)|*.*|"));
    EXPECT_EQ(prompts.records()[1].selectedFilter, 3);
    EXPECT_EQ(awk->document().GetTextStr(), "x\r\n");
    EXPECT_FALSE(awk->document().Modified());
    EXPECT_EQ(window->scriptSession().scriptPath, path(QStringLiteral("b.xtr")));
    EXPECT_EQ(awk->panelText(3), QStringLiteral(" Xtrモード 【 xtr -@ b.xtr  > Tabulo 】"));
}

TEST_F(ScriptEditorTest, ClosingAsksAboutChangesThenClearsTheWorkFiles) {
    show(ScriptMode::Awk, QString());
    for (const char* name : {"L.$", "T.$", "TA.txt", "TZ.txt", "TT.txt", "S.awk"}) writeBytes(workFile(name), "w");
    writeBytes(programFolder() + QStringLiteral("Tbdebug.sh"), "w");
    key(Qt::Key_A);

    prompts.queueAnswer(Answer::Cancel);
    EXPECT_FALSE(awk->close());
    EXPECT_TRUE(awk->isVisible());
    EXPECT_EQ(prompts.texts(), QStringList{QStringLiteral("内容が変更されています。ファイルを保存しますか？")});
    EXPECT_EQ(readBytes(workFile("L.$")), "w");

    // Yes with a cancelled save keeps the window and the text.
    prompts.queueAnswer(Answer::Yes);
    prompts.queueFile(std::nullopt);
    EXPECT_FALSE(awk->close());

    prompts.queueAnswer(Answer::No);
    EXPECT_TRUE(awk->close());
    for (const char* name : {"L.$", "T.$", "TA.txt", "TZ.txt", "S.awk"}) {
        EXPECT_EQ(readBytes(workFile(name)), "<missing>") << name;
    }
    EXPECT_EQ(readBytes(programFolder() + QStringLiteral("Tbdebug.sh")), "<missing>");
    EXPECT_EQ(readBytes(workFile("TT.txt")), "w");  // the last result stays
    const tabulo::platform::SettingsStore store;
    EXPECT_EQ(store.readInteger(QStringLiteral("\\Software\\Tabulo\\fmAwk"), QStringLiteral("WindowWidth")),
              awk->geometry().width());
}

TEST_F(ScriptEditorTest, KeywordsOfTheScriptsExtensionAreReservedWords) {
    ASSERT_TRUE(tabulo::script::writeMissingKeywordFiles(programFolder().toStdString()).empty());
    writeBytes(path(QStringLiteral("k.awk")), "BEGIN { getline }\r\n");
    show(ScriptMode::Awk, path(QStringLiteral("k.awk")));
    EXPECT_EQ(awk->reservedWords().size(), 63u);
    EXPECT_TRUE(awk->editor().reserveWordList().Contains("getline"));
    EXPECT_FALSE(awk->editor().reserveWordList().Contains("puts"));

    // The list only grows: a Ruby script adds its words to Awk's.
    awk->loadKeywords(path(QStringLiteral("k.rb")));
    EXPECT_EQ(awk->reservedWords().size(), 63u + 273u);
    EXPECT_TRUE(awk->editor().reserveWordList().Contains("puts"));
    EXPECT_TRUE(prompts.records().empty());
}

TEST_F(ScriptEditorTest, FindWorksOnTheScriptEditor) {
    window->document().SetTextStr("print print\r\n");
    show(ScriptMode::Awk, QString());
    awk->document().SetTextStr("{ print }\r\nprint\r\n");
    awk->document().select({0, 2}, {0, 7});
    key(Qt::Key_F, Qt::ControlModifier);
    tabulo::search::TfmFind& find = window->findDialog();
    ASSERT_TRUE(find.isVisible());
    EXPECT_EQ(find.tag(), tabulo::search::TfmFind::kScriptEditor);
    EXPECT_EQ(find.findCombo().currentText(), QStringLiteral("print"));
    find.findChild<QPushButton*>(QStringLiteral("FindBitBtn1"))->click();
    EXPECT_EQ(awk->document().SelStart(), 11);  // the second "print", after "{ print }" and its break
    EXPECT_FALSE(window->document().hasSelection());
}

TEST_F(ScriptEditorTest, CtrlJGoesToTheRowAsked) {
    show(ScriptMode::Awk, QString());
    awk->document().SetTextStr(kScript);
    prompts.queueInput(QStringLiteral("4"));
    key(Qt::Key_J, Qt::ControlModifier);
    EXPECT_EQ(prompts.records()[0].text, QStringLiteral(" 指定行に移動　(S:文頭  E:文末)"));
    EXPECT_EQ(awk->document().Row(), 3);
}

TEST_F(ScriptEditorTest, ButtonsFollowTheTextSelectionAndHistory) {
    show(ScriptMode::Awk, QString());
    QAction* selectAll = awk->action(QStringLiteral("sbSelectAll"));
    EXPECT_FALSE(selectAll->isEnabled());
    EXPECT_FALSE(awk->action(QStringLiteral("sb2Undo"))->isEnabled());
    key(Qt::Key_A);
    key(Qt::Key_B);
    EXPECT_TRUE(selectAll->isEnabled());
    EXPECT_TRUE(awk->action(QStringLiteral("sb2Undo"))->isEnabled());
    EXPECT_FALSE(awk->action(QStringLiteral("sbCopy"))->isEnabled());

    selectAll->trigger();
    EXPECT_EQ(awk->document().SelectedText(), "ab");
    EXPECT_TRUE(selectAll->isChecked());
    EXPECT_TRUE(awk->action(QStringLiteral("sbCopy"))->isEnabled());
    awk->action(QStringLiteral("sbCopy"))->trigger();
    EXPECT_FALSE(awk->action(QStringLiteral("sbPast"))->isEnabled());  // a selection is there
    selectAll->trigger();
    EXPECT_FALSE(awk->document().hasSelection());
    EXPECT_TRUE(awk->action(QStringLiteral("sbPast"))->isEnabled());

    key(Qt::Key_U, Qt::ControlModifier);
    EXPECT_TRUE(awk->action(QStringLiteral("sb2Redo"))->isEnabled());
    key(Qt::Key_R, Qt::ControlModifier);
    EXPECT_EQ(awk->document().GetTextStr(), "ab");
}

TEST_F(ScriptEditorTest, ContextMenuAndToolBarCarryTheirCaptionsAndKeys) {
    show(ScriptMode::Awk, QString());
    const std::pair<const char*, const char*> items[] = {
        {"元に戻す(&Z)", "Ctrl+Z"}, {"やり直し(&R)", "Ctrl+R"},       {"切り取り(X)", "Ctrl+X"},
        {"張り付け(&V)", "Ctrl+V"}, {"コピー(&C)", "Ctrl+C"},         {"全て選択(&A)", "Ctrl+A"},
        {"１行削除(&Y)", "Ctrl+Y"}, {"１行挿入(&N)", "Ctrl+N"},       {"指定行ジャンプ(&J)", "Ctrl+J"},
        {"検索・置換", "Ctrl+F"},   {"上書き保存", "Ctrl+S"},         {"Ｂｏｘ 選択モード(&B)", "Ctrl+B"},
    };
    const QList<QAction*> actions = awk->contextMenu()->actions();
    ASSERT_EQ(actions.size(), 12);
    for (int i = 0; i < 12; ++i) {
        EXPECT_EQ(actions[i]->text(), QString::fromUtf8(items[i].first));
        EXPECT_EQ(actions[i]->shortcut().toString(), QString::fromUtf8(items[i].second));
    }
    const std::pair<const char*, const char*> hints[] = {
        {"sbRun", "選択範囲を実行 [Ctrl+Ret] [F9]"},
        {"sbSave", "名前を付けて保存"},
        {"sbSelectAll", "すべて選択(On/Off)"},
        {"sbCopy", "クリップボードにコピー  Ctrl+C"},
        {"sbPast", "クリップボードからペースト  Ctrl+V"},
        {"sbPath", "Script環境 [Exe/cvs] FileのPathを設定します"},
        {"sbOpen", "スクリプトファイルの読み込み"},
        {"sb2Undo", "UnDO Ctr+Z(U)"},
        {"sb2Redo", "ReDo Ctr+R"},
        {"SpeedButton1", "終了"},
        {"sbFind1", "カーソル位置から検索・置換 Ctr+F"},
    };
    for (const auto& [name, hint] : hints) {
        EXPECT_EQ(awk->action(QString::fromLatin1(name))->toolTip(), QString::fromUtf8(hint)) << name;
    }
    EXPECT_EQ(awk->argumentField().toolTip(), QStringLiteral("コマンドラインオプション、引数を渡します。"));

    // Ctrl+N and Ctrl+Y insert and delete the caret's line; Escape closes.
    awk->document().SetTextStr("a\r\nb\r\n");
    awk->document().SetRow(1);
    key(Qt::Key_N, Qt::ControlModifier);
    EXPECT_EQ(awk->document().GetTextStr(), "a\r\n\r\nb\r\n");
    awk->document().SetRow(1);
    key(Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(awk->document().GetTextStr(), "a\r\nb\r\n");
    awk->document().SetModified(false);
    key(Qt::Key_Escape);
    EXPECT_FALSE(awk->isVisible());
}

}  // namespace
