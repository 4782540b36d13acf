// The small commands of the main window that belong to no subsystem of
// their own: soft wrap, auto-indent, select all, font, line insert and
// delete, go to a row, stop, help text and the Insert key.
#include <QAction>
#include <QApplication>
#include <QLabel>

#include "app/font_spacing.h"
#include "app/go_to_row.h"
#include "app/help_text.h"
#include "app/main_window.h"
#include "editor/view/editor_view.h"
#include "sjis/sjis_codec.h"
#include "platform/error_handler.h"
#include "platform/folders.h"

namespace tabulo::app {

namespace {

// A toggle's menu item is flipped by Qt when the item itself is chosen;
// chosen from its tool button, the menu item is flipped here.
bool flipMenuCheck(QAction* menuItem, QAction* source) {
    if (source != menuItem) menuItem->setChecked(!menuItem->isChecked());
    return menuItem->isChecked();
}

}  // namespace

void TfmTabulo::registerCommands() {
    addCommand(QStringLiteral("Exit1"), [this](QAction*) { close(); });
    addCommand(QStringLiteral("Wrap1"), [this](QAction* source) { toggleWrap(source); });
    addCommand(QStringLiteral("Bullets1"), [this](QAction* source) { toggleAutoIndent(source); });
    addCommand(QStringLiteral("Font2"), [this](QAction*) { chooseFont(); });
    addCommand(QStringLiteral("SelectAll1"), [this](QAction* source) { toggleSelectAll(source); });
    addCommand(QStringLiteral("StopBt"), [this](QAction*) { stopCommand(); });
    addCommand(QStringLiteral("HelpBt"), [this](QAction*) { showHelpText(); });
    addCommand(QStringLiteral("Delete1"), [this](QAction*) { deleteLine(); });
    addCommand(QStringLiteral("N25"), [this](QAction*) { insertLine(); });
    addCommand(QStringLiteral("N27"), [this](QAction*) { goToRow(); });
    addCommand(QStringLiteral("N23"), [this](QAction*) { runLineCalculation(); });
}

void TfmTabulo::toggleWrap(QAction* source) {
    if (flipMenuCheck(action(QStringLiteral("Wrap1")), source)) {
        editor::TEditorWrapOption option = m_document.WrapOption();
        option.WrapByte = m_document.VisibleColumns();
        m_document.SetWrapOption(option);
        m_document.SetWordWrap(true);
    } else {
        m_document.SetWordWrap(false);
    }
}

void TfmTabulo::toggleAutoIndent(QAction* source) {
    flipMenuCheck(action(QStringLiteral("Bullets1")), source);
    m_document.SetAutoIndent(!m_document.AutoIndent());
    setChecked(QStringLiteral("_Bullets1"), action(QStringLiteral("Bullets1"))->isChecked());
}

void TfmTabulo::toggleSelectAll(QAction* source) {
    if (m_document.textLength() == 0) {
        setChecked(QStringLiteral("_SelectAll1"), false);
        return;
    }
    if (flipMenuCheck(action(QStringLiteral("SelectAll1")), source)) {
        m_document.SelectAll();
    } else {
        m_document.clearSelection();
        m_document.SetSelStart(0);
    }
}

void TfmTabulo::chooseFont() {
    const std::optional<QFont> font = platform::prompts().chooseFont(m_editor->editorFont());
    if (!font) return;
    QFont chosen = m_editor->editorFont();
    chosen.setFamily(font->family());
    if (font->pointSize() > 0) chosen.setPointSize(font->pointSize());
    else if (font->pixelSize() > 0) chosen.setPixelSize(font->pixelSize());
    m_editor->setEditorFont(chosen);
    const int size = chosen.pointSize() > 0 ? chosen.pointSize() : chosen.pixelSize();
    m_editor->setCharacterMargin(characterSpacingFor(chosen.family().toStdString(), size));
}

void TfmTabulo::insertLine() { editor::insertLineAtCaret(m_document); }

void TfmTabulo::deleteLine() { editor::deleteCaretLine(m_document); }

void TfmTabulo::goToRow() { askGoToRow(m_document); }

void TfmTabulo::stopCommand() {
    const platform::Answer answer = platform::prompts().confirm(
        QStringLiteral("実行中の処理を中止しますか?"), QString::fromStdString(platform::programFileName()),
        platform::Buttons::YesNo);
    if (answer != platform::Answer::Yes) return;
    m_bulk.requestStop();
    setRule(QStringLiteral("StopBt"), false);
    endBulkEdit(true);
}

void TfmTabulo::showHelpText() {
    if (!newDocument()) return;
    const auto& codec = sjis::SjisCodec::instance();
    m_document.BeginUpdate();
    for (std::string_view line : helpTextLines()) m_document.Lines().Add(codec.fromUtf8Lossy(line));
    m_document.EndUpdate();
    m_document.SetSelStart(0);
    m_document.SetModified(false);
}

void TfmTabulo::flipOverwrite() {
    m_document.SetOverwriteMode(!m_document.OverwriteMode());
    m_panels[2]->setText(m_panels[2]->text() == QStringLiteral("挿入") ? QStringLiteral("上書き")
                                                                       : QStringLiteral("挿入"));
}

}  // namespace tabulo::app
