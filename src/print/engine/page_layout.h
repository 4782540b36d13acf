// DivideStringsToMetaFiles without a device: lays a list of Shift-JIS lines
// out on pages in printer dots (body within the margins, header and footer,
// one to three columns, line numbers) and hands every finished page over as
// a list of positioned text runs, which the window layer records and
// replays on the printer or in the preview.
#pragma once

#include "print/engine/header_template.h"
#include "print/engine/paper_table.h"
#include "print/engine/strings_printer_properties.h"
#include "print/engine/text_metrics.h"

#include <cstddef>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

namespace tabulo::print {

// One piece of text drawn on one line, with no tab in it; `x` is its left
// edge and `baseline` the y of its baseline, in printer dots from the
// printable page's top-left corner.
struct TextRun {
    int x = 0;
    int baseline = 0;
    std::string text;

    bool operator==(const TextRun&) const = default;
};

struct PrintPage {
    std::vector<TextRun> runs;
};

// The printable page of the current printer, in dots.
struct PageGeometry {
    int dpi = 600;
    int pageWidth = 0;
    int pageHeight = 0;
    PaperOffset offset;
};

// Raised when the margins leave no room for a single line of text.
class EPrintLayout : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

inline constexpr const char* kMarginsTooLarge = "余白が大きすぎて印刷できません";

struct LineSource {
    std::size_t count = 0;
    std::function<std::string(std::size_t)> line;
};

struct LayoutCallbacks {
    // Called before every input line with maximum = count - 1 and the
    // line's index; returning false cancels the layout.
    std::function<bool(std::size_t maximum, std::size_t position)> progress;
    // Receives every finished page, in order.
    std::function<void(PrintPage&&)> page;
    // The date and time for the templates, read once per header or footer.
    std::function<DateTime()> clock = &DateTime::now;
};

// Lays the lines out; false when cancelled. Throws EPrintLayout (message
// kMarginsTooLarge) when no line fits on the page.
bool layoutPages(const TStringsPrinterProperties& properties, const TextMetrics& metrics,
                 const PageGeometry& geometry, const LineSource& lines, const LayoutCallbacks& callbacks);

}  // namespace tabulo::print
