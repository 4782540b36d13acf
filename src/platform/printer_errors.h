// The printer-settings errors: one family, each message naming the class and
// the operation ("TPrinterSettings::GetColor: Color is not Supported"). The
// callers do not catch them; the general error handler shows the message and
// the operation that asked ends.
#pragma once

#include <stdexcept>
#include <string>

namespace tabulo::platform {

class EPrinter : public std::runtime_error {
public:
    EPrinter(const std::string& operation, const std::string& text)
        : std::runtime_error("TPrinterSettings::" + operation + ": " + text) {}
};

#define TABULO_PRINTER_ERROR(Name)                                                \
    class Name : public EPrinter {                                               \
    public:                                                                      \
        using EPrinter::EPrinter;                                                \
    };

TABULO_PRINTER_ERROR(EPrinterNoPrinter)
TABULO_PRINTER_ERROR(EPrinterNotSupported)
TABULO_PRINTER_ERROR(EPrinterNoInfo)
TABULO_PRINTER_ERROR(EPrinterIllegalIndex)
TABULO_PRINTER_ERROR(EPrinterRangeError)
TABULO_PRINTER_ERROR(EPrinterPaperSizeError)

#undef TABULO_PRINTER_ERROR

}  // namespace tabulo::platform
