// The script editor in the main window: the session the script windows
// share, the editor window with the main window's services it uses, and
// showing it.
#include "app/document_file.h"
#include "app/go_to_row.h"
#include "app/main_window.h"
#include "app/option_dialog.h"
#include "app/option_settings.h"
#include "app/window_geometry.h"
#include "editor/view/editor_view.h"
#include "platform/local_path.h"
#include "script/window/run_dialog.h"
#include "script/window/script_editor.h"
#include "script/window/script_session.h"

namespace tabulo::app {

void TfmTabulo::setUpScriptEditor() {
    script::ScriptEditorHost host;
    host.applyDisplayOptions = [this](editor::TEditor&) { applyScriptEditorOptions(); };
    host.goToRow = askGoToRow;
    host.loadFile = loadDocumentFile;
    host.saveFile = [](editor::EditorModel& document, const QString& path, bool askBackup) {
        return saveDocumentFile(document, path, askBackup);
    };
    host.interpreterSetting = [this](script::ScriptMode mode) {
        const ProgramPaths paths = m_option->paths();
        switch (mode) {
        case script::ScriptMode::Awk: return paths.awk;
        case script::ScriptMode::Ruby: return paths.ruby;
        case script::ScriptMode::Sed: return paths.sed;
        case script::ScriptMode::Xtr: return paths.xtr;
        }
        return std::string();
    };
    host.widenMainSelection = [this] {
        if (m_document.SelLength() == 0) return false;
        editor::widenToWholeLines(m_document);
        refreshStatus();
        return true;
    };
    host.showOptions = [this] { showOptions(); };
    host.restorePlacement = [](QWidget& window) { readGeometry(window, window.objectName()); };
    host.storePlacement = [](const QWidget& window) { storeGeometry(window, window.objectName()); };
    host.mainEditor = [this]() -> const editor::TEditor* { return m_editor; };
    m_scriptEditor = new script::TfmAwk(m_scriptSession, std::move(host), *m_find, this);
    m_scriptEditor->setRunHook([this] { runScript(); });
    m_scriptRun->setEditAndDebugHandler([this] { showScriptEditor(); });
}

// The options of the tab "スクリプト画面", with reserved words in bold when
// the options say so.
void TfmTabulo::applyScriptEditorOptions() {
    if (!m_scriptEditor) return;
    const OptionSettings& options = m_option->settings();
    editor::TEditor& editor = m_scriptEditor->editor();
    applyEditorOptions(editor, options.script, options.WordWrap, options.EWordWrap);
    applyOptionColours(editor, options.script);
    editor::TEditorViewInfo view = editor.viewInfo();
    view.Colors.Reserve.Style.bold = options.KeyWordBold;
    editor.setViewInfo(view);
}

void TfmTabulo::showScriptEditor() {
    if (!m_scriptSession.scriptPath.isEmpty()) m_scriptEditor->loadKeywords(m_scriptSession.scriptPath);
    m_scriptEditor->show();
    m_scriptEditor->raise();
    m_scriptEditor->activateWindow();
}

}  // namespace tabulo::app
