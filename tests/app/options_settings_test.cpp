// Settings through the real main window: the INI options with their
// defaults and as applied to the editor, the options dialog operated through
// its buttons, the stored interpreter paths, and the window geometry and
// font kept between runs.
#include <QAction>
#include <QButtonGroup>
#include <QCheckBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSettings>
#include <QSpinBox>
#include <QTabWidget>
#include <QTimer>

#include "app/option_dialog.h"
#include "editor/view/editor_view.h"
#include "support/document_window_fixture.h"

using tabulo::testing::DocumentWindowTest;
namespace colors = tabulo::editor::colors;

namespace {

template <typename T>
T* control(tabulo::app::TfmTabulo& w, const char* name) {
    T* found = w.optionDialog().findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(found, nullptr) << name;
    return found;
}

const char* const kAllKeys[] = {
    "KeyWordBold", "WordWrap",   "EWordWrap",      "TabMark",          "RetMark",          "EofMark",
    "DBSpaceMark", "Underline",  "TabIndent",      "LeftBar",          "TabSpaceCount",    "QuoteChar",
    "Commenter",   "BackUpTimer", "AwkTabMark",    "AwkRetMark",       "AwkEofMark",       "AwkDBSpaceMark",
    "AwkUnderline", "AwkTabIndent", "AwkLeftBar",  "AwkTabSpaceCount", "AwkQuoteChar",     "AwkCommenter",
};

}  // namespace

TEST_F(DocumentWindowTest, FirstRunDefaultsAndTheIniWrittenAtExit) {
    auto& w = open();
    const auto& e = w.editor();
    EXPECT_TRUE(e.marks().RetMark.Visible);
    EXPECT_TRUE(e.marks().EofMark.Visible);
    EXPECT_FALSE(e.marks().Underline.Visible);
    EXPECT_FALSE(e.exMarks().TabMark.Visible);
    EXPECT_FALSE(e.exMarks().DBSpaceMark.Visible);
    EXPECT_FALSE(e.leftbar().Visible);
    EXPECT_TRUE(e.caretOptions().TabIndent);
    EXPECT_EQ(w.document().TabSpaceCount(), 4);
    EXPECT_EQ(e.exMarks().QuoteChar, ">");
    EXPECT_EQ(e.viewInfo().Commenter, "#");
    EXPECT_TRUE(w.document().WrapOption().Leading);
    EXPECT_TRUE(w.document().WrapOption().FollowPunctuation);
    EXPECT_TRUE(w.document().WrapOption().FollowRetMark);
    EXPECT_FALSE(w.document().WrapOption().WordBreak);
    EXPECT_EQ(w.autoBackupTimer().interval(), 10 * 60 * 1000);
    // The first start keeps the designed size.
    EXPECT_EQ(w.size(), QSize(660, 508));
    closeWindow();

    QSettings ini(programFolder() + QStringLiteral("tabulo.ini"), QSettings::IniFormat);
    ini.beginGroup(QStringLiteral("Option"));
    EXPECT_EQ(ini.childKeys().size(), 24);
    for (const char* key : kAllKeys) EXPECT_TRUE(ini.contains(QString::fromLatin1(key))) << key;
    EXPECT_EQ(ini.value(QStringLiteral("RetMark")).toString(), QStringLiteral("1"));
    EXPECT_EQ(ini.value(QStringLiteral("TabMark")).toString(), QStringLiteral("0"));
    EXPECT_EQ(ini.value(QStringLiteral("AwkLeftBar")).toString(), QStringLiteral("1"));
    EXPECT_EQ(ini.value(QStringLiteral("AwkTabMark")).toString(), QStringLiteral("1"));
    EXPECT_EQ(ini.value(QStringLiteral("TabSpaceCount")).toString(), QStringLiteral("4"));
    EXPECT_EQ(ini.value(QStringLiteral("BackUpTimer")).toString(), QStringLiteral("10"));
    EXPECT_EQ(ini.value(QStringLiteral("QuoteChar")).toString(), QStringLiteral(">"));
}

TEST_F(DocumentWindowTest, IniOptionsAreAppliedToTheEditor) {
    {
        QSettings ini(programFolder() + QStringLiteral("tabulo.ini"), QSettings::IniFormat);
        ini.beginGroup(QStringLiteral("Option"));
        ini.setValue(QStringLiteral("TabSpaceCount"), 8);
        ini.setValue(QStringLiteral("TabMark"), 2);  // anything but 0 is true
        ini.setValue(QStringLiteral("RetMark"), 0);
        ini.setValue(QStringLiteral("LeftBar"), 1);
        ini.setValue(QStringLiteral("TabIndent"), 0);
        ini.setValue(QStringLiteral("WordWrap"), 0);
        ini.setValue(QStringLiteral("EWordWrap"), 1);
        ini.setValue(QStringLiteral("QuoteChar"), QStringLiteral("|"));
        ini.setValue(QStringLiteral("Commenter"), QStringLiteral("//"));
        ini.setValue(QStringLiteral("BackUpTimer"), 0);
        ini.setValue(QStringLiteral("AwkTabSpaceCount"), 3);
    }
    auto& w = open();
    const auto& e = w.editor();
    EXPECT_EQ(w.document().TabSpaceCount(), 8);
    EXPECT_TRUE(e.exMarks().TabMark.Visible);
    EXPECT_FALSE(e.marks().RetMark.Visible);
    EXPECT_TRUE(e.leftbar().Visible);
    EXPECT_FALSE(e.caretOptions().TabIndent);
    EXPECT_FALSE(w.document().WrapOption().Leading);
    EXPECT_FALSE(w.document().WrapOption().FollowRetMark);
    EXPECT_TRUE(w.document().WrapOption().WordBreak);
    EXPECT_EQ(e.exMarks().QuoteChar, "|");
    EXPECT_EQ(e.viewInfo().Commenter, "//");
    EXPECT_FALSE(w.autoBackupTimer().isActive());  // 0 stops it
    // The dialog shows them; a width of 3 leaves the script tab's choice empty.
    EXPECT_TRUE(control<QCheckBox>(w, "TabCheckBox1")->isChecked());
    EXPECT_TRUE(control<QCheckBox>(w, "LeftBarCheckBox1")->isChecked());
    EXPECT_EQ(control<QSpinBox>(w, "csBackUp")->value(), 0);
    EXPECT_TRUE(control<QAbstractButton>(w, "TabRadio8")->isChecked());
    for (const char* radio : {"AwkTabRadio2", "AwkTabRadio4", "AwkTabRadio8"}) {
        EXPECT_FALSE(control<QAbstractButton>(w, radio)->isChecked()) << radio;
    }
}

TEST_F(DocumentWindowTest, OptionsDialogOkAndCancel) {
    auto& w = open();
    EXPECT_TRUE(enabled("ShowOpt"));
    EXPECT_TRUE(enabled("SetFile"));
    EXPECT_TRUE(enabled("_SetFile"));
    QSpinBox* backUp = control<QSpinBox>(w, "csBackUp");
    backUp->setValue(99);
    EXPECT_EQ(backUp->value(), 60);

    // OK on the script tab: the commenter cleared turns comments black, the
    // quote stays grey, the backup interval and tab width apply.
    bool wasOnTop = false;
    w.setDialogRunner([&](QDialog& dialog) {
        dialog.show();
        wasOnTop = dialog.windowFlags().testFlag(Qt::WindowStaysOnTopHint);
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("環境設定"));
        EXPECT_EQ(dialog.frameGeometry().top(), w.frameGeometry().top() + 100);
        EXPECT_EQ(control<QPlainTextEdit>(w, "MemoPath")->toPlainText(),
                  QStringLiteral("PATH=") + qEnvironmentVariable("PATH"));
        control<QLineEdit>(w, "CommenterEdit1")->clear();
        control<QAbstractButton>(w, "TabRadio2")->setChecked(true);
        control<QCheckBox>(w, "LeftBarCheckBox1")->setChecked(true);
        control<QSpinBox>(w, "csBackUp")->setValue(5);
        control<QPushButton>(w, "BitBtn1")->click();
    });
    run("ShowOpt");
    EXPECT_TRUE(wasOnTop);
    EXPECT_EQ(w.optionDialog().result(), QDialog::Accepted);
    EXPECT_EQ(w.editor().viewInfo().Colors.Comment.Color, colors::kBlack);
    EXPECT_EQ(w.editor().exMarks().Quotation.Color, colors::kGray);
    EXPECT_EQ(w.editor().viewInfo().Commenter, "");
    EXPECT_EQ(w.document().TabSpaceCount(), 2);
    EXPECT_TRUE(w.editor().leftbar().Visible);
    EXPECT_EQ(w.autoBackupTimer().interval(), 5 * 60 * 1000);
    EXPECT_EQ(w.optionDialog().settings().main.Commenter, QString());

    // Cancel puts the controls back and applies nothing new.
    w.setDialogRunner([&](QDialog& dialog) {
        dialog.show();
        control<QLineEdit>(w, "QuoteCharEdit1")->clear();
        control<QCheckBox>(w, "LeftBarCheckBox1")->setChecked(false);
        control<QPushButton>(w, "CancelBitBtn1")->click();
    });
    run("_SetFile");
    EXPECT_EQ(control<QLineEdit>(w, "QuoteCharEdit1")->text(), QStringLiteral(">"));
    EXPECT_TRUE(control<QCheckBox>(w, "LeftBarCheckBox1")->isChecked());
    EXPECT_TRUE(w.editor().leftbar().Visible);
    EXPECT_EQ(w.editor().exMarks().Quotation.Color, colors::kGray);
    closeWindow();

    // OK changed the stored settings, which reach the INI at exit.
    QSettings ini(programFolder() + QStringLiteral("tabulo.ini"), QSettings::IniFormat);
    EXPECT_EQ(ini.value(QStringLiteral("Option/Commenter")).toString(), QString());
    EXPECT_EQ(ini.value(QStringLiteral("Option/TabSpaceCount")).toString(), QStringLiteral("2"));
    EXPECT_EQ(ini.value(QStringLiteral("Option/BackUpTimer")).toString(), QStringLiteral("5"));
}

TEST_F(DocumentWindowTest, StoringThePathsTrimsThemAndUpdatesTheCommands) {
    // A search path without ruby: an empty Ruby field leaves Ruby unavailable.
    const QByteArray oldPath = qgetenv("PATH");
    qputenv("PATH", QFile::encodeName(dir.path()));
    auto& w = open();
    EXPECT_FALSE(w.action(QStringLiteral("_mRuby"))->isVisible());
    w.setDialogRunner([&](QDialog& dialog) {
        dialog.show();
        control<QLineEdit>(w, "EditA")->setText(QStringLiteral("  /usr/bin/gawk\t"));
        control<QLineEdit>(w, "EditB")->setText(QStringLiteral("\u3000ruby "));
        control<QLineEdit>(w, "EditE")->setText(QStringLiteral("/data/KEN_ALL.CSV"));
        control<QPushButton>(w, "btScriptSetPas")->click();
    });
    run("SetFile");
    EXPECT_EQ(prompts.texts(),
              QStringList{QStringLiteral("レジストりー \\Software\\Tabulo\\ExeFileName に記憶しました。")});
    EXPECT_TRUE(w.action(QStringLiteral("_mRuby"))->isVisible());
    EXPECT_FALSE(w.optionDialog().isVisible());
    // The field keeps its text; the store has it trimmed.
    EXPECT_EQ(control<QLineEdit>(w, "EditA")->text(), QStringLiteral("  /usr/bin/gawk\t"));
    closeWindow();

    QSettings registry(programFolder() + QStringLiteral("registry.ini"), QSettings::IniFormat);
    EXPECT_EQ(registry.value(QStringLiteral("Software/Tabulo/ExeFileName/Awk")).toString(), QStringLiteral("/usr/bin/gawk"));
    EXPECT_EQ(registry.value(QStringLiteral("Software/Tabulo/ExeFileName/Ruby")).toString(), QStringLiteral("ruby"));
    EXPECT_EQ(registry.value(QStringLiteral("Software/Tabulo/ExeFileName/Sed")).toString(), QString());

    // The next start reads them into the fields.
    auto& second = open();
    EXPECT_EQ(control<QLineEdit>(second, "EditA")->text(), QStringLiteral("/usr/bin/gawk"));
    EXPECT_EQ(control<QLineEdit>(second, "EditE")->text(), QStringLiteral("/data/KEN_ALL.CSV"));
    EXPECT_TRUE(second.action(QStringLiteral("_mRuby"))->isVisible());
    qputenv("PATH", oldPath);
}

TEST_F(DocumentWindowTest, RubyOnThePathFillsAnEmptyRubyField) {
    const QByteArray old = qgetenv("PATH");
    qputenv("PATH", "/usr/bin:/opt/ruby/bin");
    auto& w = open();
    EXPECT_EQ(control<QLineEdit>(w, "EditB")->text(), QStringLiteral("ruby"));
    qputenv("PATH", old);
}

TEST_F(DocumentWindowTest, BrowsingForAnInterpreterInsideTheProgramFolder) {
    auto& w = open();
    const QString inside = programFolder() + QStringLiteral("bin/Gawk");
    prompts.queueFile(inside);
    w.optionDialog().browseClick(0);
    EXPECT_EQ(control<QLineEdit>(w, "EditA")->text(), QStringLiteral("./bin/Gawk"));
    EXPECT_EQ(prompts.records().back().filter, QStringLiteral("実行ファイル(*.EXE)|*.EXE|すべてのファイル（*）|*"));
    prompts.queueFile(QStringLiteral("/usr/bin/sed"));
    w.optionDialog().browseClick(2);
    EXPECT_EQ(control<QLineEdit>(w, "EditC")->text(), QStringLiteral("/usr/bin/sed"));
    prompts.queueFile(programFolder() + QStringLiteral("KEN_ALL.CSV"));
    w.optionDialog().browseClick(4);
    EXPECT_EQ(control<QLineEdit>(w, "EditE")->text(), programFolder() + QStringLiteral("KEN_ALL.CSV"));
    prompts.queueFile(std::nullopt);
    w.optionDialog().browseClick(1);
    EXPECT_EQ(control<QLineEdit>(w, "EditB")->text(), QString());
}

TEST_F(DocumentWindowTest, GeometryAndFontAreKeptBetweenRuns) {
    {
        auto& w = open();
        w.move(40, 50);
        w.resize(700, 400);
        QFont font = w.editor().editorFont();
        font.setFamily(QStringLiteral("ＭＳ Ｐゴシック"));
        font.setPointSize(14);
        w.editor().setEditorFont(font);
        closeWindow();
    }
    {
        auto& w = open();
        EXPECT_EQ(w.size(), QSize(700, 400));
        EXPECT_EQ(w.frameGeometry().topLeft(), QPoint(40, 50));
        EXPECT_EQ(w.editor().editorFont().pointSize(), 14);
        EXPECT_EQ(w.editor().characterMargin(), 3);  // the proportional-font rule
        // A maximised window at exit leaves the stored geometry alone.
        w.showMaximized();
        QTest::qWait(20);
        closeWindow();
    }
    QSettings registry(programFolder() + QStringLiteral("registry.ini"), QSettings::IniFormat);
    EXPECT_EQ(registry.value(QStringLiteral("Software/Tabulo/fmTabulo/WindowWidth")).toInt(), 700);
    EXPECT_EQ(registry.value(QStringLiteral("Software/Tabulo/fmTabulo/WindowHeight")).toInt(), 400);
    EXPECT_EQ(registry.value(QStringLiteral("Software/Tabulo/fmTabulo/FontSize")).toInt(), 14);
}

TEST_F(DocumentWindowTest, ViewerModeStoresNoGeometry) {
    auto& w = open({QStringLiteral("-D")});
    EXPECT_TRUE(w.viewerMode());
    closeWindow();
    QSettings registry(programFolder() + QStringLiteral("registry.ini"), QSettings::IniFormat);
    EXPECT_FALSE(registry.contains(QStringLiteral("Software/Tabulo/fmTabulo/WindowWidth")));
}
