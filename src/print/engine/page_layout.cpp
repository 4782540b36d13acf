#include "print/engine/page_layout.h"

#include "print/engine/page_builder.h"

namespace tabulo::print {

bool layoutPages(const TStringsPrinterProperties& properties, const TextMetrics& metrics,
                 const PageGeometry& geometry, const LineSource& lines, const LayoutCallbacks& callbacks) {
    detail::PageBuilder builder(properties, metrics, geometry, lines.count, callbacks);
    const bool limited = properties.LineRangeOption == TStringsPrinterRangeOption::roLimited;
    builder.start();
    for (std::size_t i = 0; i < lines.count; ++i) {
        if (callbacks.progress && !callbacks.progress(lines.count - 1, i))
            return false;
        if (limited && (i + 1 < static_cast<std::size_t>(properties.StartLine()) ||
                        i + 1 > static_cast<std::size_t>(properties.LastLine())))
            continue;
        builder.addLine(lines.line(i));
    }
    builder.finish();
    return true;
}

}  // namespace tabulo::print
