#include "editor/model/line_break_style.h"

namespace tabulo::editor {

std::string_view lineBreakBytes(LineBreakStyle style) {
    switch (style) {
    case LineBreakStyle::Lf: return "\n";
    case LineBreakStyle::Cr: return "\r";
    case LineBreakStyle::CrLf: break;
    }
    return "\r\n";
}

std::string_view lineBreakName(LineBreakStyle style) {
    switch (style) {
    case LineBreakStyle::Lf: return "LF";
    case LineBreakStyle::Cr: return "CR";
    case LineBreakStyle::CrLf: break;
    }
    return "CR+LF";
}

}  // namespace tabulo::editor
