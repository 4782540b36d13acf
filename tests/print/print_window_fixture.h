// A main window with a document to print: its dialogs run through a runner
// that hands the print dialog and the preview to the test, and helpers that
// read PDF files back with poppler's tools.
#pragma once

#include "sjis/sjis_codec.h"
#include "print/window/print_dialog.h"
#include "print/window/str_preview_form.h"
#include "support/document_window_fixture.h"

#include <QProcess>

#include <functional>

namespace tabulo::testing {

class PrintWindowTest : public DocumentWindowTest {
protected:
    // Opens a window on `lines` (UTF-8, saved as Shift-JIS in `fileName`).
    app::TfmTabulo& openLines(const std::vector<QString>& lines, const QString& fileName = QStringLiteral("doc.txt")) {
        std::string bytes;
        for (const QString& line : lines)
            bytes += sjis(line) + "\r\n";
        writeBytes(path(fileName), bytes);
        auto& w = open({path(fileName)});
        w.setDialogRunner([this](QDialog& dialog) {
            if (auto* print = qobject_cast<print::TfmPrint*>(&dialog)) {
                if (onPrint) onPrint(*print);
            } else if (auto* preview = qobject_cast<print::TFormStrPreview*>(&dialog)) {
                ++previews;
                if (onPreview) onPreview(*preview);
            }
        });
        w.printerSettings().SetIndex(0);  // the built-in PDF printer
        return w;
    }

    static std::string sjis(const QString& text) {
        const std::u16string units(reinterpret_cast<const char16_t*>(text.utf16()),
                                   static_cast<std::size_t>(text.size()));
        return sjis::SjisCodec::instance().fromUtf16Lossy(units);
    }

    // Runs a poppler tool; std::nullopt when it is not installed.
    static std::optional<QString> poppler(const QString& tool, const QStringList& arguments) {
        QProcess process;
        process.start(tool, arguments);
        if (!process.waitForStarted() || !process.waitForFinished(60000))
            return std::nullopt;
        return QString::fromUtf8(process.readAllStandardOutput());
    }

    std::function<void(print::TfmPrint&)> onPrint;
    std::function<void(print::TFormStrPreview&)> onPreview;
    int previews = 0;
};

}  // namespace tabulo::testing
