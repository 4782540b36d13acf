// Scripts: the "Awk", "Ruby", "Sed" and "XTR" items open the run dialog with
// the mode set, and runScript() runs the session's script over the line
// range. The target lines go to the interpreter as a file with LF breaks;
// the interpreter starts from an argument list (no shell) in its own process
// group, with events running while it works and the user's input held off,
// so the stop command can end it and everything it started; the document is
// never changed by a run. The result (the lines before the range, the
// output, the lines after it, in the document's line-break convention) goes
// to a second copy of the program or to the clipboard; for the first
// destination the program's windows are minimised and wait, with the stop
// command answered, until the user closes that copy. An empty output
// offers the debug script in a terminal; an interpreter that failed or
// complained shows its standard error afterwards.
#include <QFile>
#include <QFileInfo>
#include <QStatusBar>
#include <QStringDecoder>

#include <sys/stat.h>

#include <cstdint>
#include <fstream>

#include "app/main_window.h"
#include "app/option_dialog.h"
#include "editor/model/line_break_style.h"
#include "platform/busy_cursor.h"
#include "platform/clipboard.h"
#include "sjis/sjis_codec.h"
#include "platform/error_handler.h"
#include "platform/folders.h"
#include "platform/free_space.h"
#include "platform/local_path.h"
#include "platform/run_shell.h"
#include "script/engine/interpreter_command.h"
#include "script/engine/result_assembly.h"
#include "script/engine/script_arguments.h"
#include "script/engine/script_runner.h"
#include "script/engine/script_work_files.h"
#include "script/window/run_dialog.h"

namespace tabulo::app {

namespace {

// Whether the file has grown past the space still free beside it.
bool outgrowsItsFolder(const std::string& path) {
    struct stat info{};
    if (::stat(path.c_str(), &info) != 0) return false;
    const platform::FreeSpace free = platform::freeSpaceFor(path);
    return free.bytes && static_cast<std::uint64_t>(info.st_size) > *free.bytes;
}

using script::ScriptMode;

std::string storedInterpreterPath(const ProgramPaths& paths, ScriptMode mode) {
    switch (mode) {
    case ScriptMode::Awk: return paths.awk;
    case ScriptMode::Ruby: return paths.ruby;
    case ScriptMode::Sed: return paths.sed;
    case ScriptMode::Xtr: return paths.xtr;
    }
    return {};
}

QString fromSjis(std::string_view bytes) {
    return QString::fromStdU16String(sjis::SjisCodec::instance().toUtf16(bytes));
}

// Interpreters write their messages in UTF-8 or, in the Shift-JIS locale,
// in Shift-JIS.
QString messageText(const std::string& bytes) {
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString text = utf8.decode(QByteArray::fromStdString(bytes));
    return utf8.hasError() ? fromSjis(bytes) : text;
}

QString failureText(const std::string& interpreter, const script::ScriptRunOutcome& outcome) {
    QString text;
    if (outcome.started && !outcome.end.succeeded()) {
        text = platform::fromLocalPath(interpreter) +
               (outcome.end.how == os::ChildEnd::How::Signalled
                    ? QStringLiteral(" がシグナル %1 で終了しました").arg(outcome.end.code)
                    : QStringLiteral(" が終了コード %1 で終了しました").arg(outcome.end.code));
    }
    if (!outcome.errorText.empty()) {
        if (!text.isEmpty()) text += QStringLiteral("\n\n");
        text += messageText(outcome.errorText);
    }
    return text;
}

void writeDebugScript(const std::string& path, const std::string& text) {
    QFile file(platform::fromLocalPath(path));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(text.data(), static_cast<qint64>(text.size())) != static_cast<qint64>(text.size())) {
        platform::prompts().message(QStringLiteral("can't open ") + platform::fromLocalPath(path));
        return;
    }
    file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

}  // namespace

void TfmTabulo::setUpScripts() {
    m_scriptRun = new script::TfmRun(m_scriptSession, this);
    m_scriptRun->setRunHandler([this] { runScript(); });
    m_scriptRun->setActivationHandler([this] {
        editor::widenToWholeLines(m_document);
        refreshStatus();
    });
    for (const char* name : {"mAwk", "mRuby", "mSed", "mXtr"}) {
        const QString command = QString::fromLatin1(name);
        addCommand(command, [this, command](QAction*) { openScriptRunDialog(command); });
    }
}

void TfmTabulo::openScriptRunDialog(const QString& commandName) {
    const std::optional<ScriptMode> previous = m_scriptSession.mode;
    if (m_scriptRun->isVisible()) m_scriptRun->close();
    const std::optional<ScriptMode> mode = script::modeFromCommandName(commandName.toStdString());
    m_scriptRun->showForMode(mode.value_or(previous.value_or(ScriptMode::Awk)));
}

void TfmTabulo::runScript() {
    if (!m_scriptSession.mode) return;
    const ScriptMode mode = *m_scriptSession.mode;
    const script::ScriptWorkFiles files = script::scriptWorkFiles(platform::workFolder(), mode);
    QFile::remove(platform::fromLocalPath(files.output));

    std::optional<std::string> target;
    if (!prepareScriptTarget(files, target)) return;

    script::ScriptCommand command;
    command.mode = mode;
    command.interpreter = script::resolveInterpreter(mode, storedInterpreterPath(m_option->paths(), mode));
    command.scriptPath = files.script;
    command.arguments = scriptArgumentWords();
    command.placement = m_scriptSession.placement;
    command.target = target;

    const bool sjisLocale = script::sjisLocaleInstalled();
    const std::vector<std::string> environment = script::interpreterEnvironment(mode, sjisLocale);
    if (!sjisLocale && mode != ScriptMode::Ruby) {
        statusBar()->showMessage(QStringLiteral("ja_JP.SJIS ロケールがないため LC_ALL=C で実行します (文字ではなくバイト単位)"));
    }
    const std::string debugScript = platform::programFolder() + "Tbdebug.sh";
    writeDebugScript(debugScript, script::debugScriptText(command, environment));

    // The result is put together while the interpreter writes; a stopped run
    // leaves none.
    script::FollowingAssembly assembly(files, std::string(editor::lineBreakBytes(m_document.lineBreakStyle())));
    script::ScriptRunOutcome outcome;
    bool outOfSpace = false;
    waitForChild([&](const ChildPump& pump) {
        // An output that would leave no room for the result it becomes
        // stops the run before it fills the disk.
        const ChildPump bounded = [&] {
            outOfSpace = outgrowsItsFolder(files.output);
            return !outOfSpace && pump();
        };
        outcome = script::runScriptCommand(command, environment, files.output, bounded);
    });
    if (outOfSpace) {
        QFile::remove(platform::fromLocalPath(files.output));
        platform::prompts().message(
            QStringLiteral("作業フォルダーの空き容量が足りないため、スクリプトの実行を中止しました。"), QString(),
            platform::Icon::Warning);
        return;
    }
    if (outcome.started && outcome.end.how == os::ChildEnd::How::Stopped) {
        statusBar()->showMessage(QStringLiteral("スクリプトの実行を中止しました"));
        return;
    }
    deliverScriptResult(files, assembly, platform::fromLocalPath(debugScript));
    if (outcome.failed()) {
        platform::prompts().message(failureText(command.interpreter, outcome), QString(), platform::Icon::Warning);
    }
}

bool TfmTabulo::prepareScriptTarget(const script::ScriptWorkFiles& files, std::optional<std::string>& target) {
    const ScriptMode mode = *m_scriptSession.mode;
    target = files.target;
    std::optional<editor::LineRange> range;
    if (m_document.SelLength() > 0) {
        range = editor::lineRange(m_document);
    } else if (mode == ScriptMode::Sed || mode == ScriptMode::Xtr) {
        if (m_document.textLength() == 0) {
            m_document.clearSelection();
            platform::prompts().message(QStringLiteral("ターゲットがありません"));
            return false;
        }
        setChecked(QStringLiteral("SelectAll1"), true);
        setChecked(QStringLiteral("_SelectAll1"), true);
        m_document.SelectAll();
        const platform::Answer answer = platform::prompts().confirm(
            QStringLiteral("全文をターゲットにしてスクリプトを実行します。"), QString(), platform::Buttons::YesNo);
        if (answer != platform::Answer::Yes) {
            setChecked(QStringLiteral("SelectAll1"), false);
            setChecked(QStringLiteral("_SelectAll1"), false);
            m_document.clearSelection();
            m_document.SetSelStart(0);
            return false;
        }
        range = editor::lineRange(m_document);
    } else {
        const platform::Answer answer = platform::prompts().confirm(
            QStringLiteral("ターゲットが選択されていません。スクリプトの単独実行をします。"), QString(),
            platform::Buttons::YesNo);
        if (answer != platform::Answer::Yes) return false;
        script::removeTargetFiles(files);
        target.reset();
    }
    // Without a selection the caret's line is the range: the output takes
    // its place in the result.
    if (!range) {
        const int caretLine = m_document.LineIndexOfRow(m_document.Row());
        range = editor::LineRange{caretLine, caretLine};
    }
    const int count = m_document.Lines().Count();
    if (range->first < 0 || range->last < range->first || range->first >= count) {
        // A target that is written replaces the old one whole, over its
        // pages; one that is not must not survive.
        QFile::remove(platform::fromLocalPath(files.target));
        const platform::Answer answer = platform::prompts().confirm(QStringLiteral("スクリプト単独の実行ですか?"),
                                                                    QString(), platform::Buttons::YesCancel);
        if (answer != platform::Answer::Yes) return false;
        // No lines of an earlier run may frame this run's output.
        script::removeTargetFiles(files);
        target.reset();
        return true;
    }
    const platform::BusyCursor busy;
    std::string joined;
    script::writeTargetFiles(files, {count, [this, &joined](int i) { return m_document.Lines().View(i, joined); }},
                             range->first, std::min(range->last, count - 1));
    return true;
}

std::vector<std::string> TfmTabulo::scriptArgumentWords() {
    const auto& codec = sjis::SjisCodec::instance();
    const script::ScriptArguments split =
        script::splitArguments(codec.fromUtf16Lossy(m_scriptSession.arguments.toStdU16String()));
    if (split.missingQuote) platform::prompts().message(QStringLiteral("\" が不足です"));
    if (split.quotedName && !QFileInfo::exists(fromSjis(*split.quotedName))) {
        platform::prompts().message(fromSjis(*split.quotedName) + QStringLiteral(" が見つかりません"));
    }
    // A word that names a file goes in the file system's form; any other in
    // Shift-JIS, as the interpreter reads the text.
    std::vector<std::string> words;
    for (const std::string& word : split.words) {
        const QString name = fromSjis(word);
        words.push_back(QFileInfo::exists(name) ? platform::toLocalPath(name) : word);
    }
    return words;
}

void TfmTabulo::deliverScriptResult(const script::ScriptWorkFiles& files, script::FollowingAssembly& assembly,
                                    const QString& debugScript) {
    if (script::fileSize(files.output) == 0) {
        platform::prompts().beep();
        const std::optional<QString> command = platform::prompts().input(
            QStringLiteral("Debug"), QStringLiteral("処理に失敗しました。DOSプロンプトで実行"), debugScript);
        if (command) runDebugCommand(*command);
        return;
    }
    {
        const platform::BusyCursor busy;
        assembly.finish();
    }
    const QString result = platform::fromLocalPath(files.result);
    switch (m_scriptSession.destination) {
    case script::OutputDestination::MinimisedSecondCopy:
        // The user works on the result in the copy; this program's windows
        // step aside until that copy ends.
        waitForChild([&](const ChildPump& pump) { platform::runSecondCopyWaiting({result, false, 0}, pump); });
        break;
    case script::OutputDestination::SecondCopy: platform::openInSecondCopy({result, true, 0}); break;
    case script::OutputDestination::Clipboard: {
        std::ifstream in(files.result, std::ios::binary);
        const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        platform::setClipboardText(text, false);
        platform::prompts().message(QStringLiteral("クリップボーにコピーしました"));
        break;
    }
    }
}

}  // namespace tabulo::app
