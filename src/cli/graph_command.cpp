// tabulo-cli graph: draws a graph specification as the graph window does:
// as a PDF page through the built-in PDF printer at zoom 200 on A4 (what the
// print set-up prints), or as the JPEG or BMP picture a save writes, at 96
// pixels per inch.
#include <QGuiApplication>
#include <QPrinter>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "calc/line_calculation.h"
#include "cli/invocation.h"
#include "cli/pdf_file.h"
#include "graph/engine/graph_page.h"
#include "graph/engine/graph_specification.h"
#include "graph/engine/picture_error.h"
#include "graph/window/graph_rendering.h"
#include "graph/window/picture_file.h"
#include "graph/window/settings_graph_printer.h"
#include "platform/printer_settings.h"

namespace tabulo::cli {
namespace {

constexpr double kPictureDpi = 96;

graph::GraphKind kindNamed(const std::string& name) {
    if (name == "function") return graph::GraphKind::Function;
    if (name == "parametric") return graph::GraphKind::Parametric;
    if (name == "polar") return graph::GraphKind::Polar;
    throw UsageError("unknown kind '" + name + "' for --kind (function, parametric or polar)");
}

int numberIn(const Invocation& call, const char* option, const char* fallback, int low, int high) {
    const std::string text = call.value(option, fallback);
    char* end = nullptr;
    const long value = std::strtol(text.c_str(), &end, 10);
    if (text.empty() || *end != '\0' || value < low || value > high) {
        throw UsageError(std::string(option) + " takes a whole number from " + std::to_string(low) + " to " +
                         std::to_string(high));
    }
    return static_cast<int>(value);
}

// Fonts and painting need an application object; it never shows a window,
// so the offscreen platform serves, with or without a display. The
// toolkit's own notes (a missing runtime folder and the like) stay off
// standard error, which carries this program's messages.
struct PaintingApplication {
    static void quietToolkit(QtMsgType type, const QMessageLogContext&, const QString& message) {
        if (type == QtCriticalMsg || type == QtFatalMsg) std::fprintf(stderr, "%s\n", qPrintable(message));
    }
    QtMessageHandler previous = qInstallMessageHandler(quietToolkit);  // before the application starts
    int argc = 3;
    char name[11] = "tabulo-cli";
    char platform[10] = "-platform";
    char offscreen[10] = "offscreen";
    char* argv[4] = {name, platform, offscreen, nullptr};
    QGuiApplication application{argc, argv};
};

int runGraph(Invocation& call) {
    const std::string pdf = call.value("--pdf");
    const std::string jpeg = call.value("--jpeg");
    const std::string bmp = call.value("--bmp");
    if (call.has("--pdf") + call.has("--jpeg") + call.has("--bmp") != 1) {
        throw UsageError("give one of --pdf, --jpeg and --bmp");
    }
    graph::PageOptions options;
    options.kind = kindNamed(call.value("--kind", "function"));
    options.specification = call.operands()[0];
    options.view.scale = numberIn(call, "--scale", "100", 10, 500);
    options.view.precision = numberIn(call, "--precision", "200", 1, 1000);
    const graph::SpecificationStatus status = graph::prepareSpecification(options.specification, options.kind).status;
    if (const char* message = graph::specificationMessage(status); *message) throw CliError(message);

    PaintingApplication painting;
    platform::TPrinterSettings settings;
    settings.SetIndex(0);  // the built-in PDF printer comes first
    graph::SettingsGraphPrinter printer(settings);
    printer.choosePaper();
    const QSize printable = printer.printableSize();
    options.view.width = printable.width();
    options.view.height = printable.height();
    options.view.originX = printable.width() / 2;
    options.view.originY = printable.height() / 2;
    calc::TExprCompo calculator;
    calc::defineConstants(calculator);

    if (call.has("--pdf")) {
        QPrinter job(QPrinter::HighResolution);
        printer.configure(job);
        printToPdfFile(job, pdf, [&] {
            if (!graph::printGraphPage(job, calculator, options, nullptr)) {
                throw CliError("cannot write " + call.messages().fromArgument(pdf));
            }
        });
        return 0;
    }
    // The paint box's size, as the window's save draws it.
    const QSize size(static_cast<int>(printable.width() / 2.5), static_cast<int>(printable.height() / 2.5));
    const QImage bitmap = graph::renderGraphBitmap(size, kPictureDpi, calculator, options, nullptr);
    const std::string& out = call.has("--jpeg") ? jpeg : bmp;
    try {
        graph::writePicture(bitmap, QString::fromLocal8Bit(out.c_str()),
                            call.has("--jpeg") ? graph::PictureFormat::Jpeg : graph::PictureFormat::Bmp);
    } catch (const graph::EPictureError& error) {
        throw CliError(error.what());
    }
    return 0;
}

const SubcommandRegistration kRegistration{{
    .name = "graph",
    .operands = "SPEC",
    .summary = "draw a graph specification into a PDF page, a JPEG or a BMP (the graph window)",
    .details =
        "SPEC is what the graph window's expression box holds: curves separated by \";\",\n"
        "each an expression in x (function), \"f(t) , g(t)\" (parametric) or an\n"
        "expression in t giving r (polar); \"^\" is the power operator. The graph has the\n"
        "window's defaults: origin in the middle, grid on, numbers every 5 units, labels.\n"
        "--pdf writes what the print set-up prints at zoom 200 on A4 through the built-in\n"
        "PDF printer: at --scale 100 one unit is 10 mm on paper. --jpeg (quality 90) and\n"
        "--bmp write the picture the window's save writes, at 96 pixels per inch.\n"
        "A specification over 1022 bytes, or with a curve over 255 bytes, is refused.\n",
    .options = {{"--kind", "-k", OptionKind::Value, "function|parametric|polar", "the kind of graph (function)"},
                {"--scale", "-s", OptionKind::Value, "P", "the length of one unit in 0.1 mm, 10 to 500 (100)"},
                {"--precision", "-q", OptionKind::Value, "Q", "the precision, 1 to 1000: samples lie 100/Q mm apart (200)"},
                {"--pdf", nullptr, OptionKind::Value, "OUT.pdf", "write the printed page as PDF"},
                {"--jpeg", nullptr, OptionKind::Value, "OUT.jpg", "write the picture as JPEG"},
                {"--bmp", nullptr, OptionKind::Value, "OUT.bmp", "write the picture as BMP"}},
    .minOperands = 1,
    .maxOperands = 1,
    .textOperands = 1,
    .run = runGraph,
}};

}  // namespace
}  // namespace tabulo::cli
