// tabulo-cli print: writes a Shift-JIS text as a PDF file, laid out as the
// print dialog lays it out with its defaults (IPAMincho 10 pt on A4, margins
// of 15, 15, 15 and 5 mm, the footer "- %p -" centred), through the
// built-in PDF printer. A header or footer given is centred; "%f" and "%F"
// hold the input file's name.
#include <QApplication>
#include <QPrinter>

#include <fcntl.h>
#include <malloc.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>

#include "cli/input_file.h"
#include "cli/invocation.h"
#include "cli/pdf_file.h"
#include "os/files/file_io.h"
#include "sjis/sjis_codec.h"
#include "platform/printer_settings.h"
#include "print/engine/page_stream.h"
#include "print/engine/print_defaults.h"
#include "print/window/printer_font_metrics.h"
#include "print/window/strings_printer.h"

namespace tabulo::cli {
namespace {

constexpr std::size_t kBlockSize = std::size_t{1} << 20;

// Counts lines by the input's rule (CR LF, a lone CR or a lone LF ends a
// line), a block at a time.
class LineCounter {
public:
    void add(std::string_view block) {
        for (const char byte : block) {
            if (byte == '\n') {
                if (!m_afterCr) ++m_breaks;
            } else if (byte == '\r') {
                ++m_breaks;
            }
            m_afterCr = byte == '\r';
            m_open = byte != '\r' && byte != '\n';
        }
    }
    std::size_t count() const { return m_breaks + (m_open ? 1 : 0); }

private:
    std::size_t m_breaks = 0;
    bool m_afterCr = false;
    bool m_open = false;
};

// The number of lines of the input, for the width of the number column,
// and where to read the input from then: a regular file named is read
// twice; anything else is copied into an unnamed temporary file as it is
// counted, so that no input is held in memory.
struct CountedInput {
    std::size_t lines = 0;
    std::string path;
    int spool = -1;

    CountedInput() = default;
    CountedInput(const CountedInput&) = delete;
    CountedInput& operator=(const CountedInput&) = delete;
    ~CountedInput() {
        if (spool >= 0) ::close(spool);
    }
};

void countLines(const std::string& path, CountedInput& counted) {
    InputFile file(path);
    struct stat info {};
    const bool again = path != "-" && ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
    counted.path = path;
    if (!again) {
        const char* folder = std::getenv("TMPDIR");
        counted.spool = ::open(folder && *folder ? folder : "/tmp", O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
        if (counted.spool < 0) throw CliError(std::string("cannot make a temporary file: ") + std::strerror(errno));
        counted.path = "/proc/self/fd/" + std::to_string(counted.spool);
    }
    LineCounter counter;
    std::string block(kBlockSize, '\0');
    while (const std::size_t got = file.read(block.data(), block.size())) {
        counter.add(std::string_view(block.data(), got));
        if (!again) os::detail::writeAll(counted.spool, std::string_view(block.data(), got), "temporary file");
    }
    counted.lines = counter.count();
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

    try {
        // The line count only sets the width of the number column.
        CountedInput counted;
        if (properties.LineNumber)
            countLines(path, counted);
        InputFile file(properties.LineNumber ? counted.path : path);
        std::string block(kBlockSize, '\0');
        std::size_t got = file.read(block.data(), block.size());
        if (got == 0)
            throw CliError("nothing to print: the input has no lines");

        keepPageBuffersInTheHeap();
        const auto application = printingApplication();
        platform::TPrinterSettings printer;
        printer.SetIndex(0);  // the built-in PDF printer is always the first
        print::TStringsPrinter layout(printer);
        layout.Properties = properties;
        layout.Font = print::defaultPrintFont();
        const print::PageGeometry geometry = layout.geometry();
        const QFont font = print::printerFont(layout.Font, geometry.dpi);
        const print::PrinterFontMetrics metrics(font);
        QPrinter pdf(QPrinter::HighResolution);
        printer.configure(pdf);
        pdf.setDocName(QString::fromStdString(call.messages().fromArgument(path)));
        pdf.setCreator(QStringLiteral("tabulo-cli"));
        printToPdfFile(pdf, output, [&] {
            // Each page is replayed as soon as it is laid out: one page is
            // held at a time.
            print::PagePrinter pages(properties, pdf);
            print::TMetaFileList page;
            page.reset(QSize(geometry.pageWidth, geometry.pageHeight), font);
            int pageIndex = 0;
            print::LayoutCallbacks callbacks;
            callbacks.page = [&](print::PrintPage&& laidOut) {
                page.Clear();
                page.Add(laidOut);
                pages.print(page, 0, pageIndex++);
            };
            print::PageStream stream(properties, metrics, geometry, counted.lines, callbacks);
            do {
                stream.write(std::string_view(block.data(), got));
            } while ((got = file.read(block.data(), block.size())) != 0);
            stream.finish();
            pages.end();
        });
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
               "and %t (time); %% is %. The font is embedded. FILE defaults to standard input.\n"
               "Pages are written as the text is read: a line of any length is printed in\n"
               "bounded memory. With -n the lines are counted first (a named regular file is\n"
               "read twice, other input copied to a temporary file).\n",
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
