// TfmTabulo: the main window. It owns the document and its editor, builds
// the menus, tool bar and context menu from the command table, runs the
// commands, and recomputes the status bar and command enabling after every
// key, click and selection change.
#pragma once

#include <QHash>
#include <QMainWindow>
#include <QStringList>
#include <functional>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <sys/types.h>

#include "app/command_availability.h"
#include "calc/expr_compo.h"
#include "editor/model/document_ops.h"
#include "editor/model/editor_model.h"
#include "kanji/code_conversion.h"
#include "kanji/utf8_code.h"
#include "os/files/file_state.h"
#include "platform/printer_settings.h"
#include "regex/grep.h"
#include "script/window/script_session.h"
#include "search/engine/multi_file_grep.h"
#include "search/engine/postal_conversion.h"
#include "textops/line_command.h"
#include "textops/line_sort.h"

class QAction;
class QDialog;
class QLabel;
class QTimer;
class QMenu;
class QToolBar;

namespace tabulo::editor {
class TEditor;
}

namespace tabulo::print {
class TfmPrint;
}

namespace tabulo::script {
class TfmAwk;
class TfmRun;
class FollowingAssembly;
struct ScriptWorkFiles;
}  // namespace tabulo::script

namespace tabulo::search {
class EditorSearch;
class TfmFind;
class TfmNamazu;
class TfmSetFiles;
struct NamazuRequest;
}  // namespace tabulo::search
namespace tabulo::graph {
class GraphPrinter;
class TfmFunc;
class TfmSetFunc;
class TfmSetPrinter;
}  // namespace tabulo::graph

namespace tabulo::app {

class ProgressPump;
class TfmInsertStr;
class TfmOption;
class TOpenFileHistories;

class TfmTabulo : public QMainWindow {
    Q_OBJECT
public:
    // `arguments` are the command-line arguments after the program name.
    explicit TfmTabulo(const QStringList& arguments, QWidget* parent = nullptr);
    ~TfmTabulo() override;

    editor::EditorModel& document() { return m_document; }
    editor::TEditor& editor() { return *m_editor; }
    editor::BulkEdit& bulkEdit() { return m_bulk; }

    // A menu item, menu, context-menu item or tool button by its name.
    QAction* action(const QString& name) const;
    // What the enabling rules say for an item, before pending commands are
    // held off.
    bool ruleEnabled(const QString& name) const;
    QString panelText(int panel) const;
    QToolBar* toolBar() const { return m_toolBar; }
    QMenu* contextMenu() const { return m_popup; }

    // The script and report work files, deleted as at close.
    void deleteWorkFilesNow();

    QString documentName() const { return m_documentName; }
    void setDocumentName(const QString& name);
    bool viewerMode() const { return m_viewerMode; }
    int fileArgumentCount() const { return m_fileArguments.size(); }
    // The line the caret starts on ("--line=N"), 0 when none was given.
    int startLine() const { return m_startLine; }
    int tag() const { return m_tag; }
    void setTag(int tag) { m_tag = tag; }

    void refreshStatus();
    void refreshCommands();
    void applyAvailability(const CommandAvailability& availability);

    // Documents: the new-document command; false when the user cancelled.
    bool newDocument();
    bool saveDocument();
    bool saveDocumentAs();
    bool openFile(const QString& path);
    // The close question: false keeps the window open.
    bool closeQuestion();
    // Writes the document to `path` after the free-space check and, when
    // asked, the backup question; false when nothing was written.
    bool saveFile(const QString& path, bool askBackup);
    // Compares the document's file with what the window last read or wrote
    // and, once for each change made behind the window, asks whether to
    // save the window's text over it (run when the window is activated);
    // true when it asked.
    bool checkFileBehindWindow();
    // Files dropped on the window, in the order received.
    void dropFiles(const QStringList& paths);
    // Cat: the files chosen in TfmSetFiles joined into the document; with
    // askSave the close question comes first. True when the document now
    // holds the joined files.
    bool catFiles(const QStringList& inputs, bool askSave);
    search::TfmSetFiles& setFilesDialog() { return *m_setFiles; }

    // The grep command's search component and the file it is searching.
    regex::TGrep& grep1() { return m_grep1; }
    const QString& grepFile() const { return m_grepFile; }
    // One tick of the auto-backup timer.
    void autoBackup();
    QTimer& autoBackupTimer() { return *m_backupTimer; }
    TOpenFileHistories& histories() { return *m_histories; }
    TfmOption& optionDialog() { return *m_option; }
    // Applies the stored options and the live auto-backup interval to the
    // editor.
    void applyOptions();
    // How the options dialog is run: modally by default; tests operate it.
    void setDialogRunner(std::function<void(QDialog&)> runner) { m_runDialog = std::move(runner); }

    // The printer settings of the run, made when first needed.
    platform::TPrinterSettings& printerSettings();
    // The text print dialog, made when first needed (main_window_print.cpp).
    print::TfmPrint& printDialog();

    // The line calculation (F9, Ctrl+Enter); false when the caret's line
    // holds no expression.
    bool calculateLine();
    void runLineCalculation();
    calc::TExprCompo& evaluator() { return m_calc; }

    // The graph window and the graph-kind chooser (main_window_graph.cpp).
    graph::TfmFunc& graphWindow() { return *m_func; }
    graph::TfmSetFunc& graphKindChooser() { return *m_setFunc; }
    graph::TfmSetPrinter& graphPrintSetup() { return *m_setPrinter; }
    // Shows the graph window with the current kind; with a specification it
    // replaces the expression box's text first (Shift-JIS).
    void showGraphWindow(const std::string* specification = nullptr);

    // The find and replace dialog and the main editor's search operations.
    search::TfmFind& findDialog() { return *m_find; }
    search::EditorSearch& editorSearch() { return *m_search; }

    // The full-text search dialog (main_window_namazu.cpp).
    search::TfmNamazu& namazuDialog() { return *m_namazu; }
    // True while the window waits for an outside program: only the stop
    // command runs then.
    bool waitingForChild() const { return m_waitingForChild; }
    // Scripts (main_window_script.cpp): the choices the run dialog and the
    // script editor share, the run dialog, and the run of the session's
    // script over the line range with the session's arguments and output.
    script::ScriptSession& scriptSession() { return m_scriptSession; }
    script::TfmRun& scriptRunDialog() { return *m_scriptRun; }
    void runScript();
    // The script editor window (main_window_script_editor.cpp). Showing it
    // loads the keywords for the session's script first.
    script::TfmAwk& scriptEditor() { return *m_scriptEditor; }
    void showScriptEditor();

    // Bulk edit bracket of long commands, wired to the stop item.
    void beginBulkEdit(bool clearSelection);
    void endBulkEdit(bool restore);
    // Runs `wait`, which waits for an outside program, the way the window
    // waits: every menu and command but the stop held off, the user's input
    // held, events running. `wait` calls the pump it is given now and then;
    // the pump returns false once the user has stopped the wait.
    using ChildPump = std::function<bool()>;
    void waitForChild(const std::function<void(const ChildPump& pump)>& wait);
    // Runs a command the user confirmed in the "Debug" box in a terminal and
    // waits for the terminal's end like any outside program.
    void runDebugCommand(const QString& command);

protected:
    void showEvent(QShowEvent* event) override;
    // After the first showing: the files named on the command line open
    // once the window is on the screen, so that their questions and the Cat
    // dialog appear over it.
    void setVisible(bool visible) override;
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Each group of commands registers its handlers by command name (the
    // menu item a tool button stands for); the handler gets the action that
    // was triggered. Running one is guarded by the general error handler and
    // followed by both refreshes.
    using CommandHandler = std::function<void(QAction* source)>;
    void addCommand(const QString& name, CommandHandler handler);
    void registerCommands();      // main_window_commands.cpp
    void registerFileCommands();  // main_window_files.cpp
    void registerEditCommands();  // main_window_edit.cpp
    // Creates the options dialog, the recent-file history and the
    // auto-backup timer and registers their commands (main_window_options.cpp).
    void setUpFilesAndSettings();
    void registerLineCommands();  // main_window_lines.cpp
    void registerKanjiCommands(); // main_window_kanji.cpp
    // The line-break panel of the status bar and the "改行コード" submenu
    // (main_window_line_breaks.cpp).
    void setUpLineBreaks();
    void changeLineBreak(editor::LineBreakStyle style);
    void refreshLineBreak();
    // UTF-8 files: the encoding panel of the status bar, the conversion
    // offered at open, the encoding asked at save, and the "→ UTF-8" and
    // "UTF-8 →" items (main_window_utf8.cpp).
    void setUpFileEncoding();
    void refreshFileEncoding();
    void offerUtf8Conversion(const QString& path);
    // Asks how a document converted from UTF-8 is saved: std::nullopt when
    // the user cancelled; with `written` UTF-8 the bytes to write; with
    // Shift-JIS an empty string, and the document writes its own text.
    std::optional<std::string> bytesToSave(editor::FileEncoding& written);
    void convertUtf8Range(bool toUtf8);
    void registerInsertCommands();  // main_window_insert.cpp
    void registerPrintCommands();   // main_window_print.cpp
    void registerSearchCommands();  // main_window_grep.cpp
    void registerFindCommands();    // main_window_find.cpp
    // Creates the graph window and chooser and registers the graph menu.
    void setUpGraphs();             // main_window_graph.cpp
    void showGraphKindChooser();
    // A picture file for the graph window: shown there when it loads.
    void showPicture(const QString& path);
    void registerPostalCommands();  // main_window_postal.cpp
    void registerNamazuCommands();  // main_window_namazu.cpp
    void setUpScripts();            // main_window_script.cpp
    void openScriptRunDialog(const QString& commandName);
    // The target of a run: the file the interpreter reads, or none when the
    // script runs alone; false when the run ends here.
    bool prepareScriptTarget(const script::ScriptWorkFiles& files, std::optional<std::string>& target);
    std::vector<std::string> scriptArgumentWords();
    void deliverScriptResult(const script::ScriptWorkFiles& files, script::FollowingAssembly& assembly,
                             const QString& debugScript);
    void setUpScriptEditor();       // main_window_script_editor.cpp
    void applyScriptEditorOptions();

    void buildMenus();
    void buildToolBar();
    void buildStatusBar();
    // A framed, centred panel added at the right end of the status bar.
    QLabel* addStatusPanel(const QString& name, int width, const QString& tip = {});
    void connectCommands();
    void formShow();
    void setRule(const QString& name, bool enabled);
    void setChecked(const QString& name, bool checked);
    void runCommand(const QString& name, QAction* source);
    void afterInput();
    // Scrolls down just enough that `row` is in the window.
    void showRowsUpTo(int row);

    // Command handlers.
    void toggleWrap(QAction* source);
    void toggleAutoIndent(QAction* source);
    void toggleSelectAll(QAction* source);
    void chooseFont();
    void insertLine();
    void deleteLine();
    void goToRow();
    void stopCommand();
    void showHelpText();
    void copyToClipboard();
    void cutToClipboard();
    void pasteFromClipboard();
    void openWithDialog();
    // Documents and settings (main_window_files.cpp, main_window_drops.cpp,
    // main_window_options.cpp).
    // Loads the file and tells the user what the text does not show as it
    // is in the file (bytes after a 0x1A, mixed line breaks), naming it as
    // `shownAs` when given (a file built in the work folder for one of the
    // user's). With offerUtf8, a UTF-8 file is offered for conversion to
    // Shift-JIS.
    void loadDocument(const QString& path, bool offerUtf8 = false, const QString& shownAs = QString());
    // Asks before a save to the file whose text was cut at a 0x1A would
    // drop the bytes after it; false when the user said no.
    bool confirmDroppingCutBytes(const std::string& target);
    // Changes behind the window (main_window_file_changes.cpp): the state of
    // the document's file is remembered after each read and write; a save
    // over a file that changed since asks first.
    void rememberFile(const QString& name);
    void forgetFile();
    // Whether a save to `path` may go on, asking when the file changed
    // behind the window (unless `confirmed`); `followLink` is set to whether
    // a link at the name is the one that was there when the file was read.
    bool confirmChangeBehindWindow(const QString& path, bool confirmed, bool& followLink);
    bool askAboutChange(const QString& path, os::FileChange change);
    bool writeDocument(const QString& path, bool askBackup, bool changeConfirmed);
    // At start: saves of a file with several links that were cut short left
    // its old text in a recovery copy; the user is told and may restore it
    // (main_window_recovery.cpp).
    void offerRecoveryCopies();
    void addToHistory(const QString& path);
    void openHistoryEntry(const QString& path);
    void readBackup();
    void openCommandLineFiles();
    void showOptions();
    void storeSettingsAtClose();
    void flipOverwrite();

    // Line-range commands (main_window_lines.cpp).
    using RangeFunction = std::function<textops::LineResult(
        std::vector<std::string>&, textops::LineRange, const textops::ProgressFn&)>;
    void sortCommand(textops::SortOrder order);
    void rangeCommand(std::string_view status, std::string_view suffix, bool withLineAbove,
                      const RangeFunction& function);
    // Copies of the document's lines first..last (both included), and
    // writing such a block back as one change.
    std::vector<std::string> linesOf(int first, int last);
    void writeBackLines(int first, int last, const std::vector<std::string>& lines);
    void fixSoftWraps();
    void functionLengths();
    void showProgress(const QString& panel0, const QString& panel1);
    void convertCodes(kanji::TargetCode target);
    void decodeLines(kanji::MailEncoding encoding);
    // The frame of the code conversion items: `convert` appends the lines
    // that replace each line of the line range, inside a bulk edit with
    // progress; a stop keeps the lines converted so far. The result is
    // written back as one change unless `confirmWrite` says no.
    using LineConverter = std::function<void(std::string_view line, int index, std::vector<std::string>& out)>;
    void convertRange(const LineConverter& convert, const std::function<bool()>& confirmWrite = {});
    void insertStringsCommand();
    void showCharacterCode();
    void showCount(std::size_t count, std::string_view suffix);
    void printCommand();

    // Search tools (main_window_grep.cpp, main_window_cat.cpp).
    void grepCommand();
    void searchFiles(const QStringList& files, search::GrepEncoding encoding);
    void tagJump();
    void goToLine(int line);

    void convertPostalLine();  // main_window_postal.cpp

    // Full-text search (main_window_namazu.cpp).
    void showNamazu();
    void runNamazu(const search::NamazuRequest& request);

    editor::EditorModel m_document;
    editor::TEditor* m_editor = nullptr;
    editor::BulkEdit m_bulk;
    QHash<QString, QAction*> m_actions;
    QHash<QString, CommandHandler> m_handlers;
    QHash<QString, QMenu*> m_menus;
    QMenu* m_popup = nullptr;
    QToolBar* m_toolBar = nullptr;
    QLabel* m_panels[3] = {};
    QLabel* m_lineBreakPanel = nullptr;
    QLabel* m_encodingPanel = nullptr;
    // The JIS look-alikes of the UTF-8 file the document was converted from,
    // given back when it is saved as UTF-8.
    kanji::LookAlikeForms m_lookAlikes;
    // Whether that file began with a byte-order mark, which is kept out of
    // the text and written back with it.
    bool m_utf8Bom = false;
    // The file last loaded whose text ended at a 0x1A with bytes after it.
    struct CutFile {
        dev_t device;
        ino_t inode;
        std::uint64_t bytesAfterMarker;
    };
    std::optional<CutFile> m_cutFile;
    // The document's file as the window last read or wrote it, and a state
    // of it already asked about when the window was activated.
    struct KnownFile {
        QString name;
        os::FileState state;
    };
    std::optional<KnownFile> m_knownFile;
    std::optional<os::FileState> m_askedState;
    QString m_documentName;
    QStringList m_fileArguments;
    int m_startLine = 0;
    bool m_viewerMode = false;
    bool m_shown = false;
    bool m_commandLineOpened = false;
    int m_tag = 0;
    CommandAvailability m_availability;
    calc::TExprCompo m_calc;
    std::unique_ptr<graph::GraphPrinter> m_graphPrinter;
    graph::TfmFunc* m_func = nullptr;
    graph::TfmSetFunc* m_setFunc = nullptr;
    graph::TfmSetPrinter* m_setPrinter = nullptr;
    search::PostalConverter m_postal;
    TfmInsertStr* m_insertStr = nullptr;
    search::TfmFind* m_find = nullptr;
    std::unique_ptr<search::EditorSearch> m_search;
    std::unique_ptr<ProgressPump> m_searchPump;
    std::string m_workFolder;
    // The work folder was refused at start: what needs it is disabled.
    bool m_workFolderRefused = false;
    TfmOption* m_option = nullptr;
    TOpenFileHistories* m_histories = nullptr;
    QTimer* m_backupTimer = nullptr;
    std::function<void(QDialog&)> m_runDialog;
    std::unique_ptr<platform::TPrinterSettings> m_printerSettings;
    print::TfmPrint* m_print = nullptr;
    regex::TGrep m_grep1;
    QString m_grepFile;
    bool m_grepDetectsCodes = false;  // the grep box's check box, kept while the program runs
    search::TfmSetFiles* m_setFiles = nullptr;
    search::TfmNamazu* m_namazu = nullptr;
    bool m_waitingForChild = false;
    script::ScriptSession m_scriptSession;
    script::TfmRun* m_scriptRun = nullptr;
    script::TfmAwk* m_scriptEditor = nullptr;
};

}  // namespace tabulo::app
