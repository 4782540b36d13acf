#include "app/main_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>
#include <QToolTip>

#include "app/child_wait.h"
#include "app/command_table.h"
#include "app/desktop_integration.h"
#include "app/option_dialog.h"
#include "app/progress_pump.h"
#include "app/tool_button_icons.h"
#include "app/window_geometry.h"
#include "calc/line_calculation.h"
#include "editor/view/editor_view.h"
#include "graph/window/graph_printer.h"
#include "platform/error_handler.h"
#include "platform/folders.h"
#include "platform/modal_dialogs.h"
#include "platform/run_shell.h"
#include "platform/user_input_hold.h"
#include "search/window/editor_search.h"
#include "script/window/script_session.h"
#include "search/window/find_dialog.h"

namespace tabulo::app {

namespace {

QString fromView(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

constexpr char kRuleProperty[] = "ruleEnabled";

// "--line=N" with N a positive decimal number.
std::optional<int> lineOption(const QString& argument) {
    static const QString prefix = QStringLiteral("--line=");
    if (!argument.startsWith(prefix)) return std::nullopt;
    bool ok = false;
    const int line = argument.mid(prefix.size()).toInt(&ok);
    if (!ok || line <= 0) return std::nullopt;
    return line;
}

}  // namespace

TfmTabulo::TfmTabulo(const QStringList& arguments, QWidget* parent)
    : QMainWindow(parent),
      m_bulk(m_document, {[this](bool on) { setRule(QStringLiteral("StopBt"), on); },
                          [] { QCoreApplication::processEvents(); }}) {
    setObjectName(QStringLiteral("fmTabulo"));
    setWindowIcon(applicationIcon());
    for (const QString& arg : arguments) {
        if (arg.toLower() == QStringLiteral("-d")) {
            m_viewerMode = true;
        } else if (const std::optional<int> line = lineOption(arg)) {
            m_startLine = *line;  // not a file: one file still opens as one file
        } else {
            m_fileArguments << arg;
        }
    }

    m_document.SetWrapOption(editor::TEditorWrapOption::mainWindowDefaults());
    m_editor = new editor::TEditor(m_document, this);
    m_editor->setObjectName(QStringLiteral("Editor1"));
    m_editor->setContextMenuPolicy(Qt::CustomContextMenu);
    setCentralWidget(m_editor);
    // Input notes (characters typed as 〓) stand in the status bar a while.
    connect(m_editor, &editor::TEditor::note, this,
            [this](const QString& text) { statusBar()->showMessage(text, 10000); });

    buildMenus();
    buildToolBar();
    buildStatusBar();
    registerCommands();
    registerFileCommands();
    registerEditCommands();
    setUpFilesAndSettings();
    registerLineCommands();
    registerKanjiCommands();
    setUpLineBreaks();
    setUpFileEncoding();
    registerInsertCommands();
    registerPrintCommands();
    registerSearchCommands();
    registerFindCommands();
    setUpGraphs();
    registerPostalCommands();
    registerNamazuCommands();
    setUpScripts();
    setUpScriptEditor();
    connectCommands();

    resize(660, 508);
    if (m_viewerMode) {
        if (const QScreen* screen = QGuiApplication::primaryScreen()) {
            const QRect area = screen->availableGeometry();
            move(area.center() - rect().center());
        }
    }
    setAcceptDrops(true);

    m_editor->installEventFilter(this);
    m_editor->viewport()->installEventFilter(this);
    connect(m_editor, &editor::TEditor::selectionChanged, this, &TfmTabulo::afterInput);
    connect(m_editor, &editor::TEditor::customContextMenuRequested, this, [this](const QPoint& pos) {
        setChecked(QStringLiteral("BoxMode1"), m_document.BoxMode());
        m_popup->popup(m_editor->mapToGlobal(pos));
    });

    newDocument();
}

// The editor widget leaves the document's observers when it goes; the
// document is a member and would be gone before the child widgets are.
TfmTabulo::~TfmTabulo() {
    delete m_editor;
}

QAction* TfmTabulo::action(const QString& name) const {
    return m_actions.value(name, nullptr);
}

bool TfmTabulo::ruleEnabled(const QString& name) const {
    const QAction* a = action(name);
    return a && a->property(kRuleProperty).toBool();
}

QString TfmTabulo::panelText(int panel) const {
    return m_panels[panel]->text();
}

// An item is enabled when its rule says so and its command is built.
void TfmTabulo::setRule(const QString& name, bool enabled) {
    QAction* a = action(name);
    if (!a) return;
    a->setProperty(kRuleProperty, enabled);
    const bool pending = isPending(name.toStdString());
    bool available = true;
    if (name == QStringLiteral("mAwk") || name == QStringLiteral("_mAwk")) available = m_availability.awk;
    if (name == QStringLiteral("mRuby") || name == QStringLiteral("_mRuby")) available = m_availability.ruby;
    if (name == QStringLiteral("mSed") || name == QStringLiteral("_mSed")) available = m_availability.sed;
    if (name == QStringLiteral("mXtr") || name == QStringLiteral("_mXtr")) available = m_availability.xtr;
    if (name == QStringLiteral("MChgLine")) available = m_availability.postal;
    if (name == QStringLiteral("Namazu") || name == QStringLiteral("_Namazu")) available = m_availability.namazu;
    a->setEnabled(enabled && available && !pending);
}

void TfmTabulo::setChecked(const QString& name, bool checked) {
    if (QAction* a = action(name)) a->setChecked(checked);
}

void TfmTabulo::buildMenus() {
    for (const MenuRow& row : menuRows()) {
        QMenu* menu = menuBar()->addMenu(fromView(row.caption));
        menu->setObjectName(fromView(row.name));
        menu->setToolTipsVisible(true);
        if (!row.hint.empty()) menu->menuAction()->setStatusTip(fromView(row.hint));
        menu->menuAction()->setObjectName(fromView(row.name));
        m_menus.insert(fromView(row.name), menu);
    }
    m_popup = new QMenu(this);
    m_popup->setObjectName(QStringLiteral("PopupMenu1"));
    m_menus.insert(QStringLiteral("PopupMenu1"), m_popup);

    for (const MenuItemRow& row : menuItemRows()) {
        const QString name = fromView(row.name);
        QMenu* owner = row.parent.empty() ? m_menus.value(fromView(row.menu)) : m_menus.value(fromView(row.parent));
        if (row.separatorBefore) owner->addSeparator();
        QAction* a = nullptr;
        if (name == QStringLiteral("ReOpen") || name == QStringLiteral("SJIS1") || name == QStringLiteral("RetCode1")) {
            QMenu* sub = owner->addMenu(fromView(row.caption));
            sub->setObjectName(name);
            m_menus.insert(name, sub);
            a = sub->menuAction();
        } else {
            a = owner->addAction(fromView(row.caption));
        }
        a->setObjectName(name);
        if (!row.shortcut.empty()) {
            a->setShortcut(QKeySequence(fromView(row.shortcut)));
            a->setShortcutContext(Qt::WindowShortcut);
            addAction(a);  // context-menu shortcuts work while the menu is closed
        }
        if (!row.hint.empty()) {
            a->setStatusTip(fromView(row.hint));
            a->setToolTip(fromView(row.hint));
        }
        a->setProperty(kRuleProperty, true);
        m_actions.insert(name, a);
    }
    for (const char* toggle : {"Wrap1", "Bullets1", "SelectAll1", "BoxMode1"}) {
        action(QString::fromLatin1(toggle))->setCheckable(true);
    }
}

void TfmTabulo::buildToolBar() {
    m_toolBar = addToolBar(QStringLiteral("ToolBar"));
    m_toolBar->setObjectName(QStringLiteral("ToolBar1"));
    m_toolBar->setMovable(false);
    m_toolBar->setFixedHeight(25 + 4);
    // A button without an icon in the theme shows its glyph instead.
    m_toolBar->setToolButtonStyle(Qt::ToolButtonIconOnly);
    m_toolBar->setIconSize(QSize(16, 16));
    chooseIconTheme();
    m_toolBar->setStyleSheet(QStringLiteral("QToolBar { spacing: 0px; } QToolButton { padding: 0px; margin: 0px; }"));
    int group = -1;
    for (const ToolButtonRow& row : toolButtonRows()) {
        if (group != -1 && row.group != group) m_toolBar->addSeparator();
        group = row.group;
        QAction* a = new QAction(toolButtonIcon(row.name), fromView(row.glyph), this);
        const QString name = fromView(row.name);
        a->setObjectName(name);
        a->setToolTip(fromView(row.hint));
        a->setStatusTip(fromView(row.hint).section(QLatin1Char('\n'), 0, 0));
        a->setCheckable(row.toggle);
        a->setProperty(kRuleProperty, true);
        m_toolBar->addAction(a);
        connect(a, &QAction::changed, this, [this, a] {
            // A button disabled under the pointer gets no leave event, so its
            // hint would stay in the status bar and hide the panels.
            if (!a->isEnabled() && !a->statusTip().isEmpty() && statusBar()->currentMessage() == a->statusTip()) {
                statusBar()->clearMessage();
            }
        });
        if (QWidget* button = m_toolBar->widgetForAction(a)) {
            button->setObjectName(name);
            button->setFixedSize(20, 25);
        }
        m_actions.insert(name, a);
    }
}

void TfmTabulo::buildStatusBar() {
    const int widths[3] = {130, 70, 50};
    for (int i = 0; i < 3; ++i) {
        m_panels[i] = addStatusPanel(QStringLiteral("StatusPanel%1").arg(i), widths[i]);
    }
    m_panels[2]->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    m_panels[2]->setText(QStringLiteral("挿入"));
}

QLabel* TfmTabulo::addStatusPanel(const QString& name, int width, const QString& tip) {
    auto* panel = new QLabel(this);
    panel->setObjectName(name);
    panel->setFixedWidth(width);
    panel->setAlignment(Qt::AlignCenter);
    panel->setFrameShape(QFrame::StyledPanel);
    panel->setToolTip(tip);
    statusBar()->addWidget(panel);
    return panel;
}

void TfmTabulo::connectCommands() {
    for (auto it = m_actions.cbegin(); it != m_actions.cend(); ++it) {
        QAction* a = it.value();
        const QString name = it.key();
        if (m_menus.contains(name)) continue;  // submenu owners run nothing
        connect(a, &QAction::triggered, this, [this, name, a] { runCommand(name, a); });
    }
    const auto refreshOnOpen = [this](const char* menu, auto extra) {
        connect(m_menus.value(QString::fromLatin1(menu)), &QMenu::aboutToShow, this, extra);
    };
    refreshOnOpen("Format1", [this] {
        setRule(QStringLiteral("Find1"), m_document.Lines().Count() >= 1);
        refreshCommands();
    });
    refreshOnOpen("Edit1", [this] { refreshCommands(); });
    refreshOnOpen("SortS1", [this] { setRule(QStringLiteral("MChgLine"), m_availability.postal); });
    refreshOnOpen("Show1", [this] { setRule(QStringLiteral("CharCord"), m_document.SelLength() > 0); });

    for (auto it = m_actions.cbegin(); it != m_actions.cend(); ++it) setRule(it.key(), true);
    for (std::string_view name : disabledAtStart()) setRule(fromView(name), false);
}

void TfmTabulo::addCommand(const QString& name, CommandHandler handler) {
    m_handlers.insert(name, std::move(handler));
}

void TfmTabulo::runCommand(const QString& name, QAction* source) {
    // A command acts on committed text, as the input method left it.
    m_editor->commitComposition();
    // Tool buttons name the menu item they stand for.
    QString command = name;
    for (const ToolButtonRow& row : toolButtonRows()) {
        if (fromView(row.name) == name) command = fromView(row.command);
    }
    // While an outside program runs, the user may only stop it.
    if (m_waitingForChild && command != QStringLiteral("StopBt")) return;
    const auto handler = m_handlers.constFind(command);
    if (handler != m_handlers.cend()) {
        const editor::TextPosition caretBefore = m_document.caret();
        const int rowsBefore = m_document.RowCount();
        platform::runGuarded(platform::prompts(), [&] { handler.value()(source); });
        // A command that moved the caret or changed the rows shows the caret.
        if (!m_bulk.active() && (m_document.caret() != caretBefore || m_document.RowCount() != rowsBefore)) {
            m_document.scrollToCaret();
        }
    }
    refreshStatus();
    refreshCommands();
}

void TfmTabulo::afterInput() {
    refreshStatus();
    refreshCommands();
}

bool TfmTabulo::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_editor && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_U && key->modifiers() == Qt::ControlModifier) {
            runCommand(QStringLiteral("_Undo"), nullptr);
            return true;
        }
        if (key->key() == Qt::Key_R && key->modifiers() == Qt::ControlModifier) {
            runCommand(QStringLiteral("_Redo"), nullptr);
            return true;
        }
        if (key->key() == Qt::Key_Insert && key->modifiers() == Qt::NoModifier) {
            flipOverwrite();
            return true;
        }
        if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) &&
            key->modifiers() == Qt::ControlModifier) {
            runCommand(QStringLiteral("N23"), nullptr);
            return true;
        }
    }
    if ((watched == m_editor && event->type() == QEvent::KeyRelease) ||
        (watched == m_editor->viewport() && event->type() == QEvent::MouseButtonPress)) {
        // Let the editor act on the press first, then recompute.
        QMetaObject::invokeMethod(this, &TfmTabulo::afterInput, Qt::QueuedConnection);
    }
    return QMainWindow::eventFilter(watched, event);
}

void TfmTabulo::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (m_shown) return;
    m_shown = true;
    platform::runGuarded(platform::prompts(), [this] { formShow(); });
}

void TfmTabulo::setVisible(bool visible) {
    QMainWindow::setVisible(visible);
    if (!visible || m_commandLineOpened || !m_shown) return;
    m_commandLineOpened = true;
    platform::waitUntilOnScreen(*this);
    platform::runGuarded(platform::prompts(), [this] {
        offerRecoveryCopies();
        openCommandLineFiles();
        refreshCommands();
        refreshStatus();
    });
}

void TfmTabulo::formShow() {
    // A work folder that is not private is refused with its reason; only
    // what needs it (the script items, Namazu, Cat) stops working.
    try {
        m_workFolder = platform::workFolder();
    } catch (const std::exception& error) {
        m_workFolderRefused = true;
        platform::reportError(platform::prompts(), error);
    }
    action(QStringLiteral("_TagJump"))
        ->setToolTip(QStringLiteral("カーソル行のファイルを開く。または\n\"command\"+F12 DOSプロンプト"));
    action(QStringLiteral("_SetFile"))
        ->setToolTip(QStringLiteral("画面設定とScriptの実行ファイルの場所や\n郵便番号*.cvsのファイルを指定。"));
    action(QStringLiteral("_AddString"))
        ->setToolTip(QStringLiteral("反転部分の行に指定した文字列を挿入する。\n赤線の位置で挿入します。"));
    action(QStringLiteral("_fn0"))
        ->setToolTip(QStringLiteral("グラフ描画、関数の右辺の式を記入してください。\ny=f(x)\n(x,y)=(f(t),g(t))\n極座標r=f(t)"));
    applyOptions();
    readGeometry(*this, objectName(), m_editor, !m_viewerMode);  // a viewer stays centred
    m_editor->setBackgroundColor(m_viewerMode ? QToolTip::palette().color(QPalette::ToolTipBase)
                                              : QColor(Qt::white));
    m_option->readPaths();
    CommandAvailability availability = commandAvailability(m_option->paths(), qEnvironmentVariable("PATH").toStdString());
    if (m_workFolderRefused) availability.awk = availability.ruby = availability.sed = availability.xtr = availability.namazu = false;
    applyAvailability(availability);
    refreshCommands();
    refreshStatus();
    calc::defineConstants(m_calc);
}

void TfmTabulo::applyAvailability(const CommandAvailability& availability) {
    m_availability = availability;
    for (const char* name : {"mAwk", "_mAwk", "mRuby", "_mRuby", "mSed", "_mSed", "mXtr", "_mXtr",
                             "MChgLine", "Namazu", "_Namazu"}) {
        const QString n = QString::fromLatin1(name);
        setRule(n, ruleEnabled(n));
    }
    // An unavailable Ruby or Namazu also leaves the tool bar; the buttons to
    // its right close up.
    action(QStringLiteral("_mRuby"))->setVisible(availability.ruby);
    action(QStringLiteral("_Namazu"))->setVisible(availability.namazu);
}

void TfmTabulo::closeEvent(QCloseEvent* event) {
    if (m_waitingForChild) {  // the stop command ends the wait first
        event->ignore();
        return;
    }
    bool close = true;
    platform::runGuarded(platform::prompts(), [&] { close = closeQuestion(); });
    if (!close) {
        event->ignore();
        return;
    }
    platform::runGuarded(platform::prompts(), [this] { storeSettingsAtClose(); });
    m_find->close();  // the find dialog writes its histories when it closes
    event->accept();
}

void TfmTabulo::beginBulkEdit(bool clearSelection) {
    m_bulk.begin(clearSelection);
    QApplication::setOverrideCursor(Qt::WaitCursor);
}

void TfmTabulo::endBulkEdit(bool restore) {
    const bool wasActive = m_bulk.active();
    m_bulk.end(restore);
    if (wasActive) QApplication::restoreOverrideCursor();
}

void TfmTabulo::waitForChild(const std::function<void(const ChildPump& pump)>& wait) {
    const ChildWait waiting(m_waitingForChild, *menuBar());
    const platform::UserInputHold hold;
    beginBulkEdit(false);  // the stop item
    const ChildPump pump = [this] {
        QCoreApplication::processEvents();
        return !m_bulk.stopRequested();
    };
    try {
        wait(pump);
    } catch (...) {
        endBulkEdit(false);
        throw;
    }
    endBulkEdit(false);
}

void TfmTabulo::runDebugCommand(const QString& command) {
    waitForChild([&](const ChildPump& pump) {
        platform::runShellWaiting(QStringLiteral("command"), {QStringLiteral("-e"), QStringLiteral("/bin/sh"), command},
                                  pump);
    });
}

}  // namespace tabulo::app
