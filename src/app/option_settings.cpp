#include "app/option_settings.h"

#include "editor/model/editor_model.h"
#include "editor/view/editor_view.h"
#include "sjis/sjis_codec.h"
#include "platform/ini_file.h"

namespace tabulo::app {
namespace {

const QString kSection = QStringLiteral("Option");

std::string bytes(const QString& text) {
    return sjis::SjisCodec::instance().fromUtf8Lossy(text.toStdString());
}

// The keys of one editor's options: the main editor's plain, the script
// editor's with the prefix "Awk".
void readEditor(const platform::IniFile& ini, const QString& prefix, EditorOptions& o) {
    o.TabMark = ini.readBool(kSection, prefix + QStringLiteral("TabMark"), o.TabMark);
    o.RetMark = ini.readBool(kSection, prefix + QStringLiteral("RetMark"), o.RetMark);
    o.EofMark = ini.readBool(kSection, prefix + QStringLiteral("EofMark"), o.EofMark);
    o.DBSpaceMark = ini.readBool(kSection, prefix + QStringLiteral("DBSpaceMark"), o.DBSpaceMark);
    o.Underline = ini.readBool(kSection, prefix + QStringLiteral("Underline"), o.Underline);
    o.TabIndent = ini.readBool(kSection, prefix + QStringLiteral("TabIndent"), o.TabIndent);
    o.LeftBar = ini.readBool(kSection, prefix + QStringLiteral("LeftBar"), o.LeftBar);
    o.TabSpaceCount = ini.readInteger(kSection, prefix + QStringLiteral("TabSpaceCount"), o.TabSpaceCount);
    o.QuoteChar = ini.readString(kSection, prefix + QStringLiteral("QuoteChar"), o.QuoteChar);
    o.Commenter = ini.readString(kSection, prefix + QStringLiteral("Commenter"), o.Commenter);
}

void writeEditor(platform::IniFile& ini, const QString& prefix, const EditorOptions& o) {
    ini.writeBool(kSection, prefix + QStringLiteral("TabMark"), o.TabMark);
    ini.writeBool(kSection, prefix + QStringLiteral("RetMark"), o.RetMark);
    ini.writeBool(kSection, prefix + QStringLiteral("EofMark"), o.EofMark);
    ini.writeBool(kSection, prefix + QStringLiteral("DBSpaceMark"), o.DBSpaceMark);
    ini.writeBool(kSection, prefix + QStringLiteral("Underline"), o.Underline);
    ini.writeBool(kSection, prefix + QStringLiteral("TabIndent"), o.TabIndent);
    ini.writeBool(kSection, prefix + QStringLiteral("LeftBar"), o.LeftBar);
    ini.writeInteger(kSection, prefix + QStringLiteral("TabSpaceCount"), o.TabSpaceCount);
    ini.writeString(kSection, prefix + QStringLiteral("QuoteChar"), o.QuoteChar);
    ini.writeString(kSection, prefix + QStringLiteral("Commenter"), o.Commenter);
}

}  // namespace

OptionSettings readOptions(const platform::IniFile& ini) {
    OptionSettings o;
    o.KeyWordBold = ini.readBool(kSection, QStringLiteral("KeyWordBold"), o.KeyWordBold);
    o.WordWrap = ini.readBool(kSection, QStringLiteral("WordWrap"), o.WordWrap);
    o.EWordWrap = ini.readBool(kSection, QStringLiteral("EWordWrap"), o.EWordWrap);
    readEditor(ini, QString(), o.main);
    o.BackUpTimer = ini.readInteger(kSection, QStringLiteral("BackUpTimer"), o.BackUpTimer);
    readEditor(ini, QStringLiteral("Awk"), o.script);
    return o;
}

void writeOptions(platform::IniFile& ini, const OptionSettings& o) {
    ini.writeBool(kSection, QStringLiteral("KeyWordBold"), o.KeyWordBold);
    ini.writeBool(kSection, QStringLiteral("WordWrap"), o.WordWrap);
    ini.writeBool(kSection, QStringLiteral("EWordWrap"), o.EWordWrap);
    writeEditor(ini, QString(), o.main);
    ini.writeInteger(kSection, QStringLiteral("BackUpTimer"), o.BackUpTimer);
    writeEditor(ini, QStringLiteral("Awk"), o.script);
}

void applyEditorOptions(editor::TEditor& editor, const EditorOptions& o, bool wordWrap, bool englishWordWrap) {
    editor::EditorModel& model = editor.model();
    // A width other than 2, 4 or 8 leaves the dialog's choice empty but the
    // editor still needs a sane width.
    model.SetTabSpaceCount(o.TabSpaceCount > 0 ? o.TabSpaceCount : 4);

    editor::TEditorExMarks exMarks = editor.exMarks();
    editor::TEditorMarks marks = editor.marks();
    exMarks.TabMark.Visible = o.TabMark;
    exMarks.DBSpaceMark.Visible = o.DBSpaceMark;
    marks.RetMark.Visible = o.RetMark;
    marks.EofMark.Visible = o.EofMark;
    marks.Underline.Visible = o.Underline;
    exMarks.QuoteChar = bytes(o.QuoteChar);
    editor.setMarks(marks);
    editor.setExMarks(exMarks);

    editor::TEditorViewInfo view = editor.viewInfo();
    view.Commenter = bytes(o.Commenter);
    editor.setViewInfo(view);

    editor::TEditorCaret caret = editor.caretOptions();
    caret.TabIndent = o.TabIndent;
    editor.setCaretOptions(caret);

    editor::TEditorLeftbar bar = editor.leftbar();
    bar.Visible = o.LeftBar;
    editor.setLeftbar(bar);

    editor::TEditorWrapOption wrap = model.WrapOption();
    wrap.FollowRetMark = wordWrap;
    wrap.FollowPunctuation = wordWrap;
    wrap.Leading = wordWrap;
    wrap.WordBreak = englishWordWrap;
    model.SetWrapOption(wrap);
    editor.viewport()->update();
}

void applyOptionColours(editor::TEditor& editor, const EditorOptions& o) {
    editor::TEditorExMarks exMarks = editor.exMarks();
    exMarks.Quotation.Color = o.QuoteChar.isEmpty() ? editor::colors::kBlack : editor::colors::kGray;
    editor.setExMarks(exMarks);
    editor::TEditorViewInfo view = editor.viewInfo();
    view.Colors.Comment.Color = o.Commenter.isEmpty() ? editor::colors::kBlack : editor::colors::kGreen;
    editor.setViewInfo(view);
}

}  // namespace tabulo::app
