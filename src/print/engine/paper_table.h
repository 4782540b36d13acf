// TStringsPrinterInfo's paper table: for each paper code of the printer
// interface (1 to 68) its constant name and the sheet's width and height in
// whole millimetres, and the unprintable border (PaperOffset) derived from
// it. Codes without an entry have an empty name and no size.
#pragma once

#include <string>

namespace tabulo::print {

struct PaperEntry {
    const char* name = "";
    int widthMm = 0;
    int heightMm = 0;
};

// The entry of `code`; an empty entry for a code the table does not hold.
PaperEntry paperEntry(int code);

// Unprintable border of the paper in printer dots.
struct PaperOffset {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

// PaperOffset for a printable page of `pageWidth` x `pageHeight` dots on the
// paper of `code` (width and height swapped in landscape).
PaperOffset paperOffset(int code, bool landscape, int dpi, int pageWidth, int pageHeight);

}  // namespace tabulo::print
