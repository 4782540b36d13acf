// The main window's status refresh and command refresh: stateless
// recomputations run after every command, key, click and selection change.
#include <QFile>
#include <QLabel>

#include "app/main_window.h"
#include "editor/view/editor_view.h"
#include "platform/clipboard.h"
#include "platform/folders.h"
#include "platform/local_path.h"

namespace tabulo::app {

void TfmTabulo::refreshStatus() {
    m_panels[0]->setText(QStringLiteral("%1行 : %2列").arg(m_document.Row() + 1).arg(m_document.Col()));
    m_panels[1]->setText(m_document.Modified() ? QStringLiteral("変更") : QString());
    refreshLineBreak();
    refreshFileEncoding();
    if (m_documentName.isEmpty()) m_documentName = QStringLiteral("UnTitled");
    setWindowTitle(platform::displayPath(m_documentName) + QStringLiteral("  - ") +
                   QString::fromStdString(platform::programFileName()));
}

void TfmTabulo::refreshCommands() {
    auto enable = [this](std::initializer_list<const char*> names, bool on) {
        for (const char* name : names) setRule(QString::fromLatin1(name), on);
    };
    auto check = [this](std::initializer_list<const char*> names, bool on) {
        for (const char* name : names) setChecked(QString::fromLatin1(name), on);
    };

    // 1. History buttons and the auto-backup item.
    enable({"_Undo"}, m_document.CanUndo());
    enable({"_Redo"}, m_document.CanRedo());
    enable({"ReadBackup"}, QFile::exists(QString::fromStdString(platform::programFolder()) +
                                         QStringLiteral("TbBackUp.$xt")));

    // 2. An empty document.
    const std::int64_t length = m_document.textLength();
    if (length == 0) {
        check({"_SelectAll1", "SelectAll1"}, false);
        enable({"_TagJump", "TagJump", "_Find1", "Find1", "_SelectAll1", "SelectAll1"}, false);
        enable({"Clip2Text"}, platform::clipboardHasText());
        return;
    }

    // 3. Text present: reset what the selection decides below.
    enable({"_TagJump", "TagJump", "_Find1", "Find1", "_SelectAll1", "SelectAll1"}, true);
    check({"_Wrap1", "_SelectAll1", "Wrap1", "SelectAll1"}, false);
    enable({"_DelNullLine", "_DelLine", "_AddReturn", "_DelSpaceRL", "_AddString", "_Sort", "_SortR",
            "ToCrip", "Clip2Text", "DelSpaceRL", "DelNullLine", "DelLine", "AddString", "AddReturn",
            "Sort", "SortR", "SJIS1"},
           false);

    // 4. The whole text selected.
    const std::int64_t selLength = m_document.SelLength();
    if (m_document.SelStart() == 0 && selLength >= length) check({"_SelectAll1", "SelectAll1"}, true);

    // 5. A selection.
    if (selLength > 0) {
        enable({"ToCrip"}, true);
        if (!m_document.WordWrap()) {
            enable({"DelLine", "_DelLine", "DelNullLine", "_DelNullLine", "_DelSpaceRL", "_AddString",
                    "_Sort", "_SortR", "DelSpaceRL", "AddString", "Sort", "SortR", "SJIS1"},
                   true);
            enable({"_TagJump", "TagJump"}, false);
        } else if (action(QStringLiteral("SelectAll1"))->isChecked()) {
            enable({"AddReturn", "_AddReturn"}, true);
        }
    } else {
        // 6. No selection: paste follows the clipboard.
        enable({"Clip2Text"}, platform::clipboardHasText());
    }

    // 7. Soft wrap.
    if (m_document.WordWrap()) check({"_Wrap1", "Wrap1"}, true);
}

}  // namespace tabulo::app
