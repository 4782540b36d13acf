// The window on a Linux desktop: Qt's own buttons and dialogs in Japanese,
// an icon on every tool button from the icon theme, and the program's icon.
#include <QDialogButtonBox>
#include <QToolBar>
#include <QPushButton>
#include <QToolButton>
#include <QTranslator>

#include "app/command_table.h"
#include "app/desktop_integration.h"
#include "support/main_window_fixture.h"

using tabulo::testing::MainWindowTest;

TEST(DesktopIntegrationTest, QtStandardButtonsSpeakJapanese) {
    QTranslator* translator = tabulo::app::installQtJapanese(*QCoreApplication::instance());
    ASSERT_NE(translator, nullptr) << "qtbase_ja.qm is not installed (Debian qt6-translations-l10n)";
    QDialogButtonBox box(QDialogButtonBox::Yes | QDialogButtonBox::No | QDialogButtonBox::Cancel);
    EXPECT_EQ(box.button(QDialogButtonBox::Yes)->text(), QStringLiteral("はい(&Y)"));
    EXPECT_EQ(box.button(QDialogButtonBox::No)->text(), QStringLiteral("いいえ(&N)"));
    EXPECT_EQ(box.button(QDialogButtonBox::Cancel)->text(), QStringLiteral("キャンセル"));
    QCoreApplication::removeTranslator(translator);
    delete translator;
}

TEST_F(MainWindowTest, EveryToolButtonShowsAnIconFromTheTheme) {
    auto& w = open();
    if (QIcon::themeName().isEmpty() || QIcon::themeName() == QStringLiteral("hicolor")) {
        GTEST_SKIP() << "no icon theme installed (Debian breeze-icon-theme or adwaita-icon-theme)";
    }
    for (const tabulo::app::ToolButtonRow& row : tabulo::app::toolButtonRows()) {
        const QString name = QString::fromUtf8(row.name.data(), static_cast<qsizetype>(row.name.size()));
        SCOPED_TRACE(name.toStdString());
        QAction* a = w.action(name);
        ASSERT_NE(a, nullptr);
        EXPECT_FALSE(a->icon().isNull());
        EXPECT_FALSE(a->icon().pixmap(16, 16).isNull());
        // The glyph stays as the button's text, shown only without an icon.
        EXPECT_EQ(a->text(), QString::fromUtf8(row.glyph.data(), static_cast<qsizetype>(row.glyph.size())));
    }
    const auto* undo = w.toolBar()->findChild<QToolButton*>(QStringLiteral("_Undo"));
    ASSERT_NE(undo, nullptr);
    EXPECT_EQ(undo->toolButtonStyle(), Qt::ToolButtonIconOnly);
    EXPECT_EQ(undo->size(), QSize(20, 25));
}

TEST_F(MainWindowTest, TheWindowCarriesTheProgramsIcon) {
    auto& w = open();
    ASSERT_FALSE(w.windowIcon().isNull());
    EXPECT_FALSE(w.windowIcon().pixmap(48, 48).isNull());
    EXPECT_FALSE(tabulo::app::applicationIcon().pixmap(256, 256).isNull());  // drawn as vectors
}
