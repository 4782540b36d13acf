// tabulo-cli print: writes a Shift-JIS text as a PDF file, laid out as the
// print dialog lays it out with its defaults (IPAMincho 10 pt on A4, margins
// of 15, 15, 15 and 5 mm, the footer "- %p -" centred), through the
// built-in PDF printer. A header or footer given is centred; "%f" and "%F"
// hold the input file's name.
#include <QApplication>
#include <QPrinter>

#include <malloc.h>

#include <memory>
#include <string>
#include <vector>

#include "cli/input_file.h"
#include "cli/invocation.h"
#include "cli/pdf_file.h"
#include "sjis/sjis_codec.h"
#include "platform/printer_settings.h"
#include "print/engine/print_defaults.h"
#include "print/window/printer_font_metrics.h"
#include "print/window/strings_printer.h"

namespace tabulo::cli {
namespace {

// The lines of the input held in one block.
struct HeldLines {
    std::string bytes;
    std::vector<std::size_t> starts{0};

    std::size_t count() const { return starts.size() - 1; }
    std::string line(std::size_t i) const { return bytes.substr(starts[i], starts[i + 1] - starts[i]); }
};

HeldLines readLines(const std::string& path) {
    InputFile file(path);
    LineReader reader(file);
    HeldLines lines;
    Line line;
    while (reader.next(line)) {
        lines.bytes.append(line.text);
        lines.starts.push_back(lines.bytes.size());
    }
    return lines;
}

int columnsOption(const Invocation& call) {
    const std::string value = call.value("--columns", "1");
    if (value == "1" || value == "2" || value == "3")
        return value[0] - '0';
    throw UsageError("--columns takes 1, 2 or 3, not '" + value + "'");
}

// A printing session of its own: no display is needed or touched, and the
// toolkit's diagnostics stay off standard error (failures are reported as
// the subcommand's own).
std::unique_ptr<QApplication> printingApplication() {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    static int argc = 1;
    static char name[] = "tabulo-cli";
    static char* argv[] = {name, nullptr};
    return std::make_unique<QApplication>(argc, argv);
}

// The PDF writer takes and frees buffers of several megabytes for every
// page it compresses. Kept in the heap, rather than mapped and given back
// to the system each time, they cost no system calls and page faults on
// every page: an eighth of the page faults and a tenth less time for a
// long document. A print run is short and its peak stays the same.
void keepPageBuffersInTheHeap() {
#ifdef __GLIBC__
    mallopt(M_MMAP_THRESHOLD, 32 << 20);
    mallopt(M_TRIM_THRESHOLD, 64 << 20);
#endif
}

int runPrint(Invocation& call) {
    const std::string output = call.value("--pdf");
    if (output.empty())
        throw UsageError("--pdf OUT.pdf is required");
    print::TStringsPrinterProperties properties = print::printDialogDefaults();
    properties.SetColumnCount(columnsOption(call));
    properties.LineNumber = call.flag("--line-numbers");
    if (call.has("--header")) {
        properties.Header = call.value("--header");
        properties.HeaderAlign = print::TStringsPrinterHeaderAlign::haCenter;
    }
    if (call.has("--footer")) {
        properties.Footer = call.value("--footer");
        properties.FooterAlign = print::TStringsPrinterHeaderAlign::haCenter;
    }
    const std::string path = call.inputPath();
    if (path != "-")
        properties.FileName = sjis::SjisCodec::instance().fromUtf8Lossy(call.messages().fromArgument(path));

    const HeldLines lines = readLines(path);
    if (lines.count() == 0)
        throw CliError("nothing to print: the input has no lines");

    keepPageBuffersInTheHeap();
    const auto application = printingApplication();
    platform::TPrinterSettings printer;
    printer.SetIndex(0);  // the built-in PDF printer is always the first
    print::TStringsPrinter layout(printer);
    layout.Properties = properties;
    layout.Font = print::defaultPrintFont();
    print::TMetaFileList pages;
    try {
        print::recordPages(properties, layout.Font, layout.geometry(),
                           {lines.count(), [&](std::size_t i) { return lines.line(i); }}, pages, {});
        QPrinter pdf(QPrinter::HighResolution);
        printer.configure(pdf);
        pdf.setDocName(QString::fromStdString(call.messages().fromArgument(path)));
        pdf.setCreator(QStringLiteral("tabulo-cli"));
        printToPdfFile(pdf, output, [&] { print::printPages(pages, properties, pdf); });
    } catch (const CliError&) {
        throw;
    } catch (const std::runtime_error& error) {
        throw CliError(error.what());
    }
    return 0;
}

const SubcommandRegistration kRegistration{{
    .name = "print",
    .operands = "[FILE]",
    .summary = "print the text into a PDF file (the print dialog's layout)",
    .details = "The layout is the print dialog's as it starts: IPAMincho 10 pt on A4, margins\n"
               "of 15 (left, right, top) and 5 mm (bottom), 2 mm between lines, no header and\n"
               "the footer \"- %p -\" centred. A header or footer given is centred. Templates\n"
               "know %p (page), %f and %F (FILE with and without its folder), %y %m %d (date)\n"
               "and %t (time); %% is %. The font is embedded. FILE defaults to standard input.\n",
    .options = {{"--pdf", nullptr, OptionKind::Value, "OUT.pdf", "the PDF file to write (required)"},
                {"--header", nullptr, OptionKind::Text, "T", "a centred header template"},
                {"--footer", nullptr, OptionKind::Text, "T", "a centred footer template"},
                {"--columns", nullptr, OptionKind::Value, "N", "1, 2 or 3 columns (1)"},
                {"--line-numbers", "-n", OptionKind::Flag, "", "print line numbers"}},
    .maxOperands = 1,
    .run = runPrint,
}};

}  // namespace
}  // namespace tabulo::cli
