// The display options of the main editor and the script editor and the
// auto-backup interval, as stored in the section "Option" of the INI file,
// with their defaults for a missing key; and how they are applied to an
// editor.
#pragma once

#include <QString>

namespace tabulo::platform {
class IniFile;
}
namespace tabulo::editor {
class TEditor;
}

namespace tabulo::app {

// Options of one editor (the main one or the script editor).
struct EditorOptions {
    bool TabMark = false;
    bool RetMark = true;
    bool EofMark = true;
    bool DBSpaceMark = false;
    bool Underline = false;
    bool TabIndent = true;
    bool LeftBar = false;
    int TabSpaceCount = 4;
    QString QuoteChar = QStringLiteral(">");
    QString Commenter = QStringLiteral("#");
    bool operator==(const EditorOptions&) const = default;
};

struct OptionSettings {
    EditorOptions main;
    // The script editor shows tab marks and line numbers by default.
    EditorOptions script{.TabMark = true, .LeftBar = true};
    bool KeyWordBold = false;
    bool WordWrap = true;
    bool EWordWrap = false;
    int BackUpTimer = 10;  // minutes, 0 = off
    bool operator==(const OptionSettings&) const = default;
};

OptionSettings readOptions(const platform::IniFile& ini);
// Writes all 24 keys, changed or not.
void writeOptions(platform::IniFile& ini, const OptionSettings& options);

// Applies the options to the main editor in the program's order: tab
// width, the marks, quote character, commenter, tab indent, line numbers,
// the line-break rules from WordWrap and the word break from EWordWrap,
// then repaints. The auto-backup interval is the caller's (it reads the
// live spin box).
void applyEditorOptions(editor::TEditor& editor, const EditorOptions& options, bool wordWrap,
                        bool englishWordWrap);

// After OK: quoted rows grey unless the quote field is empty (then black),
// comments green unless the commenter is empty (then black).
void applyOptionColours(editor::TEditor& editor, const EditorOptions& options);

}  // namespace tabulo::app
