// The line-number bar's arithmetic: how many digits it needs, how wide it
// is, and which number (if any) each display row shows, in both numbering
// modes. The widget only paints what these say.
#pragma once

#include <optional>
#include <string>

#include "editor/model/editor_view_settings.h"

namespace tabulo::editor {

class EditorModel;

// Digits of the bar: those of the largest number it can show, at least
// `Column` and at most 8 (`Column` alone without numbers).
int leftbarDigits(const TEditorLeftbar& bar, const EditorModel& model);

// Width in pixels: margins, the digits and the 2-pixel edge.
int leftbarWidth(const TEditorLeftbar& bar, int digits, int charWidth);

// The number a display row shows, or none (rows below the text,
// continuation rows in line mode, numbers switched off).
std::optional<int> leftbarNumber(const TEditorLeftbar& bar, const EditorModel& model, int row);

// The number as drawn: right-aligned in `digits` characters, padded with
// spaces or zeros.
std::string formatLeftbarNumber(const TEditorLeftbar& bar, int number, int digits);

}  // namespace tabulo::editor
