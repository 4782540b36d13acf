// What the editor does with its keys: caret movement with and without
// selection, Delete, Backspace (with unindent), Tab, Enter (with
// auto-indent) and typed characters in insert and overwrite mode. Every edit
// is one replacement of the document and so one step of its history. The
// widget turns toolkit key events into these calls.
#pragma once

#include <string_view>

#include "editor/model/editor_view_settings.h"

namespace tabulo::editor {

class EditorModel;

enum class EditKey { Left, Right, Up, Down, Home, End, PageUp, PageDown, Delete, Backspace, Tab, Enter };

struct KeyModifiers {
    bool shift = false;
    bool ctrl = false;
    bool autoRepeat = false;  // the key repeats while held down
};

// Acts on one key; the caret is scrolled into view afterwards.
void pressKey(EditorModel& model, const TEditorCaret& caret, EditKey key, KeyModifiers mods = {});

// Types Shift-JIS characters as the typing of one character does (in
// overwrite mode they replace as many columns as they take), in one step of
// the history: an input method's commit is undone whole.
// Returns false, changing nothing, when the text holds a byte that cannot be
// typed: a control character or a lead byte without its second byte.
bool typeText(EditorModel& model, std::string_view sjis);

// Display columns of a row's leading spaces and tabs.
int rowIndentation(const EditorModel& model, int row);

}  // namespace tabulo::editor
