// Display and caret settings of the editor: token colours, marks, view
// (comment and string starts, link recognition), caret options, the
// line-number bar and the ruler. Plain values with the main window's editor
// defaults; the widget paints and the key and mouse handling read them, and
// the options dialog changes them through the widget's setters.
#pragma once

#include <cstdint>
#include <string>

namespace tabulo::editor {

// A colour as 0xRRGGBB; no toolkit type so the core can hold it.
struct Rgb {
    std::uint32_t value = 0;
    constexpr int red() const { return static_cast<int>((value >> 16) & 0xFF); }
    constexpr int green() const { return static_cast<int>((value >> 8) & 0xFF); }
    constexpr int blue() const { return static_cast<int>(value & 0xFF); }
    constexpr bool operator==(const Rgb&) const = default;
};

namespace colors {
inline constexpr Rgb kBlack{0x000000};
inline constexpr Rgb kWhite{0xFFFFFF};
inline constexpr Rgb kNavy{0x000080};
inline constexpr Rgb kBlue{0x0000FF};
inline constexpr Rgb kGreen{0x008000};
inline constexpr Rgb kMaroon{0x800000};
inline constexpr Rgb kSilver{0xC0C0C0};
inline constexpr Rgb kGray{0x808080};
inline constexpr Rgb kAqua{0x00FFFF};
// The desktop's window, window text and button face colours.
inline constexpr Rgb kWindow = kWhite;
inline constexpr Rgb kWindowText = kBlack;
inline constexpr Rgb kButtonFace{0xF0F0F0};
inline constexpr Rgb kButtonText = kBlack;
}  // namespace colors

struct FontStyle {
    bool bold = false;
    bool italic = false;
    bool underline = false;
    constexpr bool operator==(const FontStyle&) const = default;
};

struct TEditorColor {
    Rgb BkColor = colors::kWindow;
    Rgb Color = colors::kWindowText;
    FontStyle Style;
    bool operator==(const TEditorColor&) const = default;
};

// Colours of the token classes (`View.Colors`).
struct TEditorColors {
    TEditorColor Ank;
    TEditorColor Comment{colors::kWhite, colors::kGreen, {}};
    TEditorColor DBCS;
    TEditorColor Int;
    TEditorColor Mail{colors::kWhite, colors::kBlack, {}};
    TEditorColor Reserve{colors::kWhite, colors::kBlue, {}};
    TEditorColor Select{colors::kNavy, colors::kWhite, {}};
    TEditorColor Str;
    TEditorColor Symbol;
    TEditorColor Url{colors::kWhite, colors::kBlue, {false, false, true}};
    bool operator==(const TEditorColors&) const = default;
};

// View settings (`View`): what the tokenizer recognises.
struct TEditorViewInfo {
    std::string Commenter = "#";   // starts a comment to the end of the row
    std::string Quotation = ">";   // opens and closes a string
    std::string HexPrefix = "0x";  // compared ignoring case
    bool ControlCode = false;      // "#123" and "#$7F"
    bool Mail = false;             // mail addresses
    bool Url = true;               // links
    TEditorColors Colors;
    bool operator==(const TEditorViewInfo&) const = default;
};

struct TEditorMark {
    Rgb Color = colors::kSilver;
    bool Visible = true;
    bool operator==(const TEditorMark&) const = default;
};

// `Marks`: line-break arrow, "[EOF]", caret-row underline.
struct TEditorMarks {
    TEditorMark RetMark{colors::kSilver, true};
    TEditorMark EofMark{colors::kSilver, true};
    TEditorMark Underline{colors::kGray, false};
    bool operator==(const TEditorMarks&) const = default;
};

// `ExMarks`: tab arrows, full-width spaces, quoted mail lines.
struct TEditorExMarks {
    TEditorMark TabMark{colors::kSilver, false};
    TEditorMark DBSpaceMark{colors::kGray, false};
    TEditorMark Quotation{colors::kGray, true};  // rows starting with QuoteChar
    std::string QuoteChar = ">";
    TEditorColor FindColor{colors::kAqua, colors::kWindowText, {}};
    bool operator==(const TEditorExMarks&) const = default;
};

// `Caret` options read by the key and mouse handling (the tab width and the
// auto-indent switch live in the document: EditorModel::TabSpaceCount and
// EditorModel::AutoIndent).
struct TEditorCaret {
    bool BackSpaceUnIndent = true;
    bool TabIndent = true;
    bool SoftTab = false;
    bool NextLine = false;
    bool PrevSpaceIndent = false;
    bool RowSelect = true;
    bool SelMove = true;
    bool AutoCursor = true;
    bool operator==(const TEditorCaret&) const = default;
};

enum class NumberMode { nmRow, nmLine };

// `Leftbar`: the line-number bar.
struct TEditorLeftbar {
    bool Visible = false;
    bool ShowNumber = true;
    NumberMode ShowNumberMode = NumberMode::nmRow;
    bool ZeroBase = false;
    bool ZeroLead = false;
    int Column = 2;  // minimum digits, kept within 1..8 by the setter
    int LeftMargin = 3;
    int RightMargin = 2;
    bool Edge = true;
    Rgb Color = colors::kWindowText;
    Rgb BkColor = colors::kButtonFace;
    bool operator==(const TEditorLeftbar&) const = default;
};

// `Ruler`: the column ruler above the text.
struct TEditorRuler {
    bool Visible = true;
    int GaugeRange = 10;  // 8 or 10, kept so by the setter
    bool Edge = true;
    Rgb Color = colors::kWindowText;
    Rgb BkColor = colors::kButtonFace;
    Rgb MarkColor = colors::kWindowText;
    bool operator==(const TEditorRuler&) const = default;
};

// Clamps the bar's digit count to 1..8.
inline int clampLeftbarColumn(int column) {
    return column < 1 ? 1 : (column > 8 ? 8 : column);
}

// Clamps a gauge range to 8..10 and makes it even.
inline int clampGaugeRange(int range) {
    range = range < 8 ? 8 : (range > 10 ? 10 : range);
    return range - range % 2;
}

}  // namespace tabulo::editor
