// Redrawing the graph window on the screen: five y = f(x) curves and five
// parametric curves at precision Q = 1000 on the A4 drawing area (P = 100),
// through the window's whole drawing (grid, numbers, axes, curves, labels,
// the off-screen image). "sampling only" runs the same curves on a surface
// that draws nothing, to separate the calculator's share.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QLineEdit>
#include <QTest>

#include "calc/expr_compo.h"
#include "calc/line_calculation.h"
#include "graph/engine/graph_sampler.h"
#include "graph/window/func_window.h"
#include "graph/window/graph_printer.h"
#include "platform/error_handler.h"
#include "platform/scripted_prompts.h"

namespace {

using tabulo::graph::GraphKind;

const char* const kFunctions = "sin(x);x^2/4;(2/17)*x^3;8/(1+61*exp(-0.86*x));sqrt(abs(x))*cos(2*x)";
const char* const kParametric =
    "2*cos(3*t)^3,2*sin(3*t)^3;cos(t),sin(2*t);t/3,sin(t);3*cos(t),2*sin(t);cos(5*t)*4,sin(3*t)*4";

class A4Printer : public tabulo::graph::GraphPrinter {
public:
    void choosePaper() override {}
    QString paperName() override { return QStringLiteral("A4"); }
    QSize printableSize() override { return {2000, 2870}; }
    bool configure(QPrinter&) override { return false; }
};

class NullSurface : public tabulo::graph::GraphSurface {
public:
    double scaleX() const override { return 96 / 254.0; }
    double scaleY() const override { return 96 / 254.0; }
    bool isScreen() const override { return true; }
    void fillWhite(int, int, int, int) override {}
    void setPen(int, tabulo::graph::PenStyle) override {}
    void moveTo(int, int) override {}
    void lineTo(int, int) override {}
    void setFontSize(int) override {}
    tabulo::graph::TextExtent textExtent(const std::string&) override { return {}; }
    void textOut(int, int, const std::string&) override {}
    void stretchPicture(int, int, int, int) override {}
};

void screenRedraw(benchmark::State& state, GraphKind kind, const char* specification) {
    tabulo::calc::TExprCompo calc;
    tabulo::calc::defineConstants(calc);
    A4Printer printer;
    tabulo::graph::TfmFunc window(calc, printer, [kind] { return kind; }, [](GraphKind) {});
    window.showGraph();
    window.expressionEdit().setText(QString::fromLatin1(specification));
    auto* precision = window.findChild<QLineEdit*>(QStringLiteral("Edit3"));
    precision->setText(QStringLiteral("1000"));
    QTest::keyClick(precision, Qt::Key_Return);
    for (auto _ : state) window.redraw();
}

void samplingOnly(benchmark::State& state, GraphKind kind, const char* specification) {
    tabulo::calc::TExprCompo calc;
    tabulo::calc::defineConstants(calc);
    NullSurface surface;
    const tabulo::graph::GraphView view{2000, 2870, 1000, 1435, 100, 1000};
    for (auto _ : state) {
        benchmark::DoNotOptimize(tabulo::graph::drawCurves(surface, calc, specification, kind, view, 1));
    }
}

BENCHMARK_CAPTURE(screenRedraw, five_functions_q1000, GraphKind::Function, kFunctions)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(screenRedraw, five_parametric_q1000, GraphKind::Parametric, kParametric)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(samplingOnly, five_functions_q1000, GraphKind::Function, kFunctions)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(samplingOnly, five_parametric_q1000, GraphKind::Parametric, kParametric)
    ->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    tabulo::platform::TabuloApplication app(argc, argv);
    tabulo::platform::ScriptedPrompts prompts;
    tabulo::platform::installPrompts(&prompts);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    tabulo::platform::installPrompts(nullptr);
    return 0;
}
