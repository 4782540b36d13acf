#include "script/window/script_editor.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QStatusBar>
#include <QToolBar>
#include <unistd.h>

#include "editor/model/document_ops.h"
#include "editor/view/editor_view.h"
#include "sjis/sjis_codec.h"
#include "platform/error_handler.h"
#include "os/files/safe_save.h"
#include "platform/folders.h"
#include "platform/local_path.h"
#include "script/engine/keyword_file.h"
#include "script/window/elided_label.h"
#include "search/window/editor_search.h"
#include "search/window/find_dialog.h"

namespace tabulo::script {
namespace {

QString fromUtf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QString boxTitle() { return QString::fromStdString(platform::programFileName()); }

bool fileExists(const QString& path) {
    return !path.isEmpty() && ::access(platform::toLocalPath(path).c_str(), F_OK) == 0;
}

QString fileNameOf(const QString& path) { return path.mid(path.lastIndexOf(QLatin1Char('/')) + 1); }

// The open dialog offers every mode's scripts; the mode's own entry comes
// up first.
const QString kOpenFilter = QStringLiteral(
    "Awk Files (*.awk)|*.awk|Ruby Files (*.rb)|*.rb|Sed Files (*.sed)|*.sed|Xtr Files (*.xtr)|*.xtr|"
    "All Files (*.*)|*.*|");

QString saveFilter(ScriptMode mode) {
    switch (mode) {
    case ScriptMode::Awk: return QStringLiteral("Awk ファイル(*.Awk)|*.awk|すべてのファイル（*.*）|*.*");
    case ScriptMode::Ruby: return QStringLiteral("Ruby ファイル(*.rb)|*.rb|すべてのファイル（*.*）|*.*");
    case ScriptMode::Sed: return QStringLiteral("Sed ファイル(*.Sed)|*.sed|すべてのファイル（*.*）|*.*");
    case ScriptMode::Xtr: return QStringLiteral("Xtr ファイル(*.Xtr)|*.Xtr|すべてのファイル（*.*）|*.*");
    }
    return {};
}

// Spaces, tabs, full-width spaces (Shift-JIS 81 40) and line breaks only.
bool isBlankText(std::string_view text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == ' ' || c == '\t' || c == '\r' || c == '\n') continue;
        if (c == '\x81' && i + 1 < text.size() && text[i + 1] == '\x40') {
            ++i;
            continue;
        }
        return false;
    }
    return true;
}

// Narrow while short, then growing with the text.
int argumentFieldWidth(const QString& text) { return text.size() < 5 ? 40 : 6 * static_cast<int>(text.size()) + 16; }

// The script editor's own settings: comments after "#", links, line
// numbers, the ruler, line-break and end marks, Tab typing a tab, and its
// colours. The options of the script screen tab are applied over them.
void setScriptEditorLook(editor::TEditor& editorView) {
    editor::TEditorViewInfo view = editorView.viewInfo();
    view.Commenter = "#";
    view.Url = true;
    view.Colors.Reserve = {editor::colors::kWhite, editor::colors::kBlue, {}};
    view.Colors.Comment = {editor::colors::kWhite, editor::colors::kGreen, {}};
    view.Colors.DBCS = {editor::colors::kWhite, editor::colors::kMaroon, {}};
    view.Colors.Url = {editor::colors::kWhite, editor::colors::kBlue, {false, false, true}};
    view.Colors.Select = {editor::colors::kNavy, editor::colors::kWhite, {}};
    editorView.setViewInfo(view);
    editor::TEditorLeftbar bar = editorView.leftbar();
    bar.Visible = true;
    editorView.setLeftbar(bar);
    editor::TEditorRuler ruler = editorView.ruler();
    ruler.Visible = true;
    editorView.setRuler(ruler);
    editor::TEditorMarks marks = editorView.marks();
    marks.RetMark.Visible = true;
    marks.EofMark.Visible = true;
    editorView.setMarks(marks);
    editor::TEditorCaret caret = editorView.caretOptions();
    caret.SoftTab = false;  // Tab inserts a tab character
    editorView.setCaretOptions(caret);
}

}  // namespace

TfmAwk::TfmAwk(ScriptSession& session, ScriptEditorHost host, search::TfmFind& find, QWidget* parent)
    : QMainWindow(parent), m_session(session), m_host(std::move(host)), m_find(&find) {
    setObjectName(QStringLiteral("fmAwk"));
    setWindowTitle(QStringLiteral("Script Editor"));
    setWindowFlag(Qt::Window);
    setWindowFlag(Qt::WindowStaysOnTopHint);
    resize(520, 400);

    m_document.SetUndoListMax(64);
    m_document.SetWordWrap(false);
    m_editor = new editor::TEditor(m_document, this);
    m_editor->setObjectName(QStringLiteral("Editor1"));
    setScriptEditorLook(*m_editor);
    m_editor->setContextMenuPolicy(Qt::CustomContextMenu);
    setCentralWidget(m_editor);
    connect(m_editor, &editor::TEditor::note, this,
            [this](const QString& text) { statusBar()->showMessage(text, 10000); });

    m_search = std::make_unique<search::EditorSearch>(m_document, *m_editor);
    m_find->setTarget(search::TfmFind::kScriptEditor, m_search.get());

    buildToolBar();
    buildContextMenu();
    buildStatusBar();

    auto* close = new QAction(this);
    close->setShortcut(QKeySequence(Qt::Key_Escape));
    close->setShortcutContext(Qt::WindowShortcut);
    addAction(close);
    connect(close, &QAction::triggered, this, &QWidget::close);

    m_editor->installEventFilter(this);
    m_editor->viewport()->installEventFilter(this);
    for (auto signal : {&editor::TEditor::selectionChanged, &editor::TEditor::caretMoved, &editor::TEditor::textChanged}) {
        connect(m_editor, signal, this, [this] {
            refreshStatus();
            refreshButtons();
        });
    }
    connect(m_editor, &editor::TEditor::customContextMenuRequested, this, [this](const QPoint& pos) {
        action(QStringLiteral("Ｂｏｘ 選択モード(&B)"))->setChecked(m_document.BoxMode());
        m_popup->popup(m_editor->mapToGlobal(pos));
    });
    connect(QApplication::clipboard(), &QClipboard::dataChanged, this, &TfmAwk::refreshButtons);
    refreshStatus();
    refreshButtons();
}

// The editor widget observes m_document, which goes before the widget's
// children would: the widget goes first.
TfmAwk::~TfmAwk() {
    if (m_find) m_find->setTarget(search::TfmFind::kScriptEditor, nullptr);
    m_search.reset();
    delete m_editor;
}

QAction* TfmAwk::addButton(const QString& name, const QString& hint, const QString& glyph, const char* icon,
                           std::function<void()> command) {
    auto* a = new QAction(QIcon::fromTheme(QString::fromLatin1(icon)), glyph, this);
    a->setObjectName(name);
    a->setToolTip(hint);
    a->setStatusTip(hint);
    m_toolBar->addAction(a);
    if (QWidget* button = m_toolBar->widgetForAction(a)) button->setObjectName(name);
    if (command) connect(a, &QAction::triggered, this, [this, command = std::move(command)] { guarded(command); });
    m_actions.insert(name, a);
    return a;
}

void TfmAwk::buildToolBar() {
    m_toolBar = addToolBar(QStringLiteral("ToolBar"));
    m_toolBar->setObjectName(QStringLiteral("ToolBar1"));
    m_toolBar->setMovable(false);
    m_toolBar->setIconSize(QSize(16, 16));
    addButton(QStringLiteral("sbRun"), QStringLiteral("選択範囲を実行 [Ctrl+Ret] [F9]"), QStringLiteral("実"),
              "media-playback-start", [this] { runSelection(); });
    addButton(QStringLiteral("sbSave"), QStringLiteral("名前を付けて保存"), QStringLiteral("保"), "document-save-as",
              [this] { saveScriptAs(); });
    QAction* selectAll = addButton(QStringLiteral("sbSelectAll"), QStringLiteral("すべて選択(On/Off)"),
                                   QStringLiteral("全"), "edit-select-all", {});
    selectAll->setCheckable(true);
    connect(selectAll, &QAction::triggered, this, [this](bool pressed) { guarded([&] { toggleSelectAll(pressed); }); });
    addButton(QStringLiteral("sbCopy"), QStringLiteral("クリップボードにコピー  Ctrl+C"), QStringLiteral("写"),
              "edit-copy", [this] {
                  m_editor->copyToClipboard();
                  m_editor->setFocus();
              });
    addButton(QStringLiteral("sbPast"), QStringLiteral("クリップボードからペースト  Ctrl+V"), QStringLiteral("貼"),
              "edit-paste", [this] {
                  m_editor->pasteFromClipboard();
                  m_editor->setFocus();
              });
    addButton(QStringLiteral("sbPath"), QStringLiteral("Script環境 [Exe/cvs] FileのPathを設定します"),
              QStringLiteral("環"), "preferences-system", [this] {
                  if (m_host.showOptions) m_host.showOptions();
              });
    addButton(QStringLiteral("sbOpen"), QStringLiteral("スクリプトファイルの読み込み"), QStringLiteral("開"),
              "document-open", [this] { openScript(); });
    addButton(QStringLiteral("sb2Undo"), QStringLiteral("UnDO Ctr+Z(U)"), QStringLiteral("元"), "edit-undo",
              [this] { m_document.Undo(); });
    addButton(QStringLiteral("sb2Redo"), QStringLiteral("ReDo Ctr+R"), QStringLiteral("再"), "edit-redo",
              [this] { m_document.Redo(); });
    addButton(QStringLiteral("SpeedButton1"), QStringLiteral("終了"), QStringLiteral("終"), "window-close",
              [this] { close(); });
    addButton(QStringLiteral("sbFind1"), QStringLiteral("カーソル位置から検索・置換 Ctr+F"), QStringLiteral("検"),
              "edit-find", [this] { showFind(); });

    m_toolBar->addSeparator();
    auto* label = new QLabel(QStringLiteral("引数"), m_toolBar);
    m_toolBar->addWidget(label);
    m_argument = new QLineEdit(m_toolBar);
    m_argument->setObjectName(QStringLiteral("edOption"));
    m_argument->setToolTip(QStringLiteral("コマンドラインオプション、引数を渡します。"));
    m_argument->setFixedWidth(argumentFieldWidth(QString()));
    m_toolBar->addWidget(m_argument);
    connect(m_argument, &QLineEdit::textChanged, this,
            [this](const QString& text) { guarded([&] { argumentChanged(text); }); });
}

void TfmAwk::buildContextMenu() {
    m_popup = new QMenu(this);
    m_popup->setObjectName(QStringLiteral("PopupMenu1"));
    struct Item {
        const char* caption;
        QKeySequence key;
        std::function<void()> command;
    };
    const Item items[] = {
        {"元に戻す(&Z)", QKeySequence(Qt::CTRL | Qt::Key_Z), [this] { m_document.Undo(); }},
        {"やり直し(&R)", QKeySequence(Qt::CTRL | Qt::Key_R), [this] { m_document.Redo(); }},
        {"切り取り(X)", QKeySequence(Qt::CTRL | Qt::Key_X), [this] { m_editor->cutToClipboard(); }},
        {"張り付け(&V)", QKeySequence(Qt::CTRL | Qt::Key_V), [this] { m_editor->pasteFromClipboard(); }},
        {"コピー(&C)", QKeySequence(Qt::CTRL | Qt::Key_C), [this] { m_editor->copyToClipboard(); }},
        {"全て選択(&A)", QKeySequence(Qt::CTRL | Qt::Key_A), [this] { m_document.SelectAll(); }},
        {"１行削除(&Y)", QKeySequence(Qt::CTRL | Qt::Key_Y), [this] { editor::deleteCaretLine(m_document); }},
        {"１行挿入(&N)", QKeySequence(Qt::CTRL | Qt::Key_N), [this] { editor::insertLineAtCaret(m_document); }},
        {"指定行ジャンプ(&J)", QKeySequence(Qt::CTRL | Qt::Key_J),
         [this] {
             if (m_host.goToRow) m_host.goToRow(m_document);
         }},
        {"検索・置換", QKeySequence(Qt::CTRL | Qt::Key_F), [this] { showFind(); }},
        {"上書き保存", QKeySequence(Qt::CTRL | Qt::Key_S), [this] { saveScript(); }},
        {"Ｂｏｘ 選択モード(&B)", QKeySequence(Qt::CTRL | Qt::Key_B),
         [this] { m_document.SetBoxMode(!m_document.BoxMode()); }},
    };
    for (const Item& item : items) {
        const QString caption = QString::fromUtf8(item.caption);
        QAction* a = m_popup->addAction(caption);
        a->setObjectName(caption);
        a->setShortcut(item.key);
        a->setShortcutContext(Qt::WindowShortcut);
        addAction(a);  // the shortcuts work while the menu is closed
        connect(a, &QAction::triggered, this, [this, command = item.command] { guarded(command); });
        m_actions.insert(caption, a);
    }
    action(QStringLiteral("Ｂｏｘ 選択モード(&B)"))->setCheckable(true);
}

void TfmAwk::buildStatusBar() {
    const int widths[3] = {110, 40, 50};
    for (int i = 0; i < 4; ++i) {
        // The last panel holds the command summary, which can be longer
        // than the window is wide.
        m_panels[i] = i < 3 ? new QLabel(this) : (m_statusText = new ElidedLabel(this));
        m_panels[i]->setObjectName(QStringLiteral("StatusPanel%1").arg(i));
        m_panels[i]->setFrameShape(QFrame::StyledPanel);
        if (i < 3) {
            m_panels[i]->setFixedWidth(widths[i]);
            m_panels[i]->setAlignment(Qt::AlignCenter);
            statusBar()->addWidget(m_panels[i]);
        } else {
            statusBar()->addWidget(m_panels[i], 1);
        }
    }
    m_panels[2]->setText(QStringLiteral("挿入"));
}

QAction* TfmAwk::action(const QString& name) const { return m_actions.value(name, nullptr); }

QString TfmAwk::panelText(int panel) const { return m_panels[panel]->text(); }

void TfmAwk::guarded(const std::function<void()>& command) {
    m_editor->commitComposition();  // commands act on committed text
    platform::runGuarded(platform::prompts(), command);
    refreshStatus();
    refreshButtons();
}

void TfmAwk::refreshStatus() {
    const int line = m_document.LineIndexOfRow(m_document.Row()) + 1;
    m_panels[0]->setText(QStringLiteral("%1行 : %2列").arg(line).arg(m_document.Col() + 1));
    m_panels[1]->setText(m_document.Modified() ? QStringLiteral("変更") : QString());
}

void TfmAwk::refreshButtons() {
    action(QStringLiteral("sb2Undo"))->setEnabled(m_document.CanUndo());
    action(QStringLiteral("sb2Redo"))->setEnabled(m_document.CanRedo());
    const std::int64_t length = m_document.textLength();
    const bool selection = m_document.hasSelection() && m_document.SelLength() > 0;
    QAction* selectAll = action(QStringLiteral("sbSelectAll"));
    selectAll->setEnabled(length > 0);
    selectAll->setChecked(selection && m_document.SelStart() == 0 && m_document.SelLength() == length);
    action(QStringLiteral("sbCopy"))->setEnabled(selection);
    const QMimeData* clip = QApplication::clipboard()->mimeData();
    action(QStringLiteral("sbPast"))->setEnabled(!selection && clip && clip->hasText() && !clip->text().isEmpty());
}

void TfmAwk::toggleSelectAll(bool pressed) {
    if (pressed && m_document.textLength() > 0) {
        m_document.SelectAll();
    } else {
        m_document.clearSelection();
    }
}

void TfmAwk::flipOverwrite() {
    m_document.SetOverwriteMode(!m_document.OverwriteMode());
    m_panels[2]->setText(m_document.OverwriteMode() ? QStringLiteral("上書き") : QStringLiteral("挿入"));
}

void TfmAwk::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    guarded([this] { formShow(); });
}

void TfmAwk::formShow() {
    if (m_host.restorePlacement) m_host.restorePlacement(*this);
    // The panel and the editor's mode start out agreeing.
    m_document.SetOverwriteMode(false);
    m_panels[2]->setText(QStringLiteral("挿入"));
    prepare();
    m_argument->setText(m_session.arguments);
    m_editor->setFocus();
    if (const editor::TEditor* main = m_host.mainEditor ? m_host.mainEditor() : nullptr) {
        m_editor->setEditorFont(main->editorFont());
        m_editor->setCharacterMargin(main->characterMargin());
    }
    if (fileExists(m_session.scriptPath) && m_host.loadFile) m_host.loadFile(m_document, m_session.scriptPath);
    m_document.SetModified(false);
    refreshStatus();
    refreshButtons();
    if (m_host.applyDisplayOptions) m_host.applyDisplayOptions(*m_editor);
}

void TfmAwk::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && isVisible()) {
        guarded([this] { prepare(); });
    }
}

void TfmAwk::argumentChanged(const QString& text) {
    m_session.arguments = text;
    m_argument->setFixedWidth(argumentFieldWidth(text));
    prepare();
}

void TfmAwk::prepare() {
    if (!m_session.mode) return;
    const ScriptMode mode = *m_session.mode;
    const std::string interpreter =
        resolveInterpreter(mode, m_host.interpreterSetting ? m_host.interpreterSetting(mode) : std::string());
    const bool mainSelection = m_host.widenMainSelection && m_host.widenMainSelection();
    const std::string text =
        statusPanelText(mode, interpreter, fileNameOf(m_session.scriptPath).toStdString(),
                        m_session.arguments.toStdString(), m_session.placement, mainSelection);
    m_statusText->setFullText(fromUtf8(text));
    setWindowTitle(m_session.scriptPath + QStringLiteral(" - Script Editor"));
}

QString TfmAwk::workScriptPath() const {
    const std::string_view name = modeInfo(*m_session.mode).workScript;
    return QString::fromStdString(platform::workFolder()) + fromUtf8(name);
}

bool TfmAwk::runSelection() {
    if (!m_session.mode) return false;
    if (m_document.hasSelection()) editor::widenToWholeLines(m_document);
    prepare();
    if (!writeScriptSelection() || !checkScriptFile()) return false;
    if (m_runHook) m_runHook();
    return true;
}

// The work script holds the selected lines with LF breaks, the line breaks
// the interpreters read.
bool TfmAwk::writeScriptSelection() {
    if (m_document.SelLength() == 0) {
        const platform::Answer answer = platform::prompts().confirm(
            QStringLiteral("スクリプト全体を実行しますか?"), boxTitle(), platform::Buttons::YesNo);
        if (answer != platform::Answer::Yes) return false;
        action(QStringLiteral("sbSelectAll"))->setChecked(true);
        m_document.SelectAll();
    }
    const std::string path = platform::toLocalPath(workScriptPath());
    ::unlink(path.c_str());
    const std::optional<editor::LineRange> range = editor::lineRange(m_document);
    if (!range) return true;
    std::string bytes;
    for (int line = range->first; line <= range->last; ++line) {
        bytes += m_document.Lines().Get(line);
        bytes += '\n';
    }
    os::saveFileBytes(path, bytes, os::SaveOptions{.privateFile = true, .attributesFrom = {}, .followLink = true, .recoveryFolder = {}});
    return true;
}

bool TfmAwk::checkScriptFile() {
    const QString path = workScriptPath();
    if (fileExists(path)) return true;
    platform::prompts().message(path + QStringLiteral("が見つかりません。スクリプトの範囲指定をしてください。"));
    return false;
}

void TfmAwk::loadKeywords(const QString& scriptPath) {
    try {
        const std::vector<std::string> words =
            script::loadKeywords(platform::toLocalPath(scriptPath), platform::programFolder());
        m_reservedWords.insert(m_reservedWords.end(), words.begin(), words.end());
    } catch (const KeywordFileError& error) {
        platform::prompts().message(QString::fromUtf8(error.what()));
    }
    m_editor->setReserveWordList(m_reservedWords);
}

void TfmAwk::openScript() {
    if (m_document.Modified()) {
        const platform::Answer answer = platform::prompts().confirm(QStringLiteral("変更点を保存しますか?"),
                                                                    boxTitle(), platform::Buttons::YesNoCancel);
        if (answer == platform::Answer::Cancel) return;
        // A Yes that did not end in a saved file keeps the text.
        if (answer == platform::Answer::Yes && !saveScriptAs()) return;
        m_document.Lines().Clear();
        m_document.SetModified(false);
    }
    const int entry = m_session.mode ? static_cast<int>(*m_session.mode) : 0;
    const std::optional<QString> path = platform::prompts().openFile(QString(), m_session.scriptPath, kOpenFilter, entry);
    if (!path) return;
    if (m_host.loadFile) m_host.loadFile(m_document, *path);
    m_session.scriptPath = *path;
    prepare();
    m_document.SetModified(false);
}

bool TfmAwk::saveScriptAs() {
    if (!m_session.mode) return false;
    const ScriptMode mode = *m_session.mode;
    const std::optional<QString> chosen =
        platform::prompts().saveFile(QString(), m_session.scriptPath, saveFilter(mode),
                                     /*askOverwrite=*/false);  // the backup question asks
    if (!chosen) return false;
    QString path = *chosen;
    if (QFileInfo(path).suffix().isEmpty()) path += fromUtf8(modeInfo(mode).extension);
    return saveScriptTo(path);
}

bool TfmAwk::saveScriptTo(const QString& path) {
    if (!m_host.saveFile || !m_host.saveFile(m_document, path, true)) return false;
    m_session.scriptPath = path;
    prepare();
    m_document.SetModified(false);
    return true;
}

void TfmAwk::saveScript() {
    if (isBlankText(m_document.GetTextStr())) return;
    if (QFileInfo(m_session.scriptPath).suffix().isEmpty()) {
        saveScriptAs();
        return;
    }
    if (m_host.saveFile && m_host.saveFile(m_document, m_session.scriptPath, false)) m_document.SetModified(false);
}

void TfmAwk::showFind() {
    const std::string selected = m_document.SelectedText();
    m_find->findCombo().setCurrentText(QString::fromStdString(sjis::SjisCodec::instance().toUtf8(selected)));
    if (m_document.textLength() == 0) return;
    m_find->setTag(search::TfmFind::kScriptEditor);
    m_find->show();
    m_find->raise();
    m_find->activateWindow();
}

bool TfmAwk::closeQuestion() {
    if (!m_document.Modified()) return true;
    const platform::Answer answer =
        platform::prompts().confirm(QStringLiteral("内容が変更されています。ファイルを保存しますか？"), boxTitle(),
                                    platform::Buttons::YesNoCancel);
    if (answer == platform::Answer::Cancel) return false;
    if (answer == platform::Answer::Yes) {
        // Closing after a cancelled or failed save would lose the text.
        bool saved = false;
        platform::runGuarded(platform::prompts(), [&] { saved = saveScriptAs(); });
        return saved;
    }
    return true;
}

void TfmAwk::closeEvent(QCloseEvent* event) {
    bool close = true;
    platform::runGuarded(platform::prompts(), [&] { close = closeQuestion(); });
    if (!close) {
        event->ignore();
        return;
    }
    platform::runGuarded(platform::prompts(), [this] {
        if (m_host.storePlacement) m_host.storePlacement(*this);
        deleteWorkFiles();
    });
    event->accept();
}

// The run's work files; the result "TT.txt" stays for the next run.
void TfmAwk::deleteWorkFiles() {
    const std::string work = platform::workFolder();
    std::vector<std::string> paths;
    for (const char* name : {"L.$", "T.$", "TA.txt", "TZ.txt"}) paths.push_back(work + name);
    if (m_session.mode) paths.push_back(work + std::string(modeInfo(*m_session.mode).workScript));
    paths.push_back(platform::programFolder() + "Tbdebug.sh");
    for (const std::string& path : paths) ::unlink(path.c_str());
}

bool TfmAwk::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_editor && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const Qt::KeyboardModifiers mods = key->modifiers() & ~Qt::KeypadModifier;
        if (key->key() == Qt::Key_U && mods == Qt::ControlModifier) {
            guarded([this] { m_document.Undo(); });
            return true;
        }
        if (key->key() == Qt::Key_R && mods == Qt::ControlModifier) {
            guarded([this] { m_document.Redo(); });
            return true;
        }
        if (key->key() == Qt::Key_Insert && mods == Qt::NoModifier) {
            flipOverwrite();
            return true;
        }
        const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
        if ((enter && mods == Qt::ControlModifier) || (key->key() == Qt::Key_F9 && mods == Qt::NoModifier)) {
            guarded([this] { runSelection(); });
            return true;
        }
    }
    if ((watched == m_editor && event->type() == QEvent::KeyRelease) ||
        (watched == m_editor->viewport() && event->type() == QEvent::MouseButtonRelease)) {
        QMetaObject::invokeMethod(
            this,
            [this] {
                refreshStatus();
                refreshButtons();
            },
            Qt::QueuedConnection);
    }
    return QMainWindow::eventFilter(watched, event);
}

}  // namespace tabulo::script
