// What the print dialog starts with, shared by tabulo-cli print: no header
// (its template "%F %y/%m/%d" ready), the footer "- %p -" centred, margins
// of 15, 15, 15 and 5 mm, 2 mm between lines, one column (4 mm apart when
// more), no line numbers.
#pragma once

#include "print/engine/strings_printer_properties.h"

namespace tabulo::print {

inline constexpr const char* kDefaultHeader = "%F %y/%m/%d";
inline constexpr const char* kDefaultFooter = "- %p -";

inline TStringsPrinterProperties printDialogDefaults() {
    TStringsPrinterProperties p;
    p.Header = kDefaultHeader;
    p.HeaderAlign = TStringsPrinterHeaderAlign::haNone;
    p.Footer = kDefaultFooter;
    p.FooterAlign = TStringsPrinterHeaderAlign::haCenter;
    p.SetMarginLeft(15);
    p.SetMarginRight(15);
    p.SetMarginTop(15);
    p.SetMarginBottom(5);
    p.SetMarginLine(2);
    p.SetColumnCount(1);
    p.SetColumnSpace(4);
    return p;
}

}  // namespace tabulo::print
