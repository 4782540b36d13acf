// The graph commands of the main window: the graph menu's three kinds and
// the picture item, the graph-kind chooser of the tool bar, and showing the
// graph window for them and for a graph-tag calc line.
#include <QLineEdit>

#include "app/main_window.h"
#include "app/window_geometry.h"
#include "app/window_placement.h"
#include "graph/engine/graph_kind.h"
#include "graph/window/func_window.h"
#include "graph/window/set_func_dialog.h"
#include "graph/window/set_printer_dialog.h"
#include "graph/window/settings_graph_printer.h"
#include "sjis/sjis_codec.h"

namespace tabulo::app {

namespace {

struct GraphMenuItem {
    const char* name;
    graph::GraphKind kind;
    const char* specification;  // nullptr: the expression box keeps its text
};

constexpr GraphMenuItem kGraphMenu[] = {
    {"fn0", graph::GraphKind::Function, "(2/17)*x^3 ;8/(1+61*exp(-0.86*x))"},
    {"fn1", graph::GraphKind::Parametric, "2*cos(3*t)^3 , 2*sin(3*t)^3"},
    {"fn2", graph::GraphKind::Polar, "(1/14)^((t-2.8)/14)"},
    {"JpegBMP1", graph::GraphKind::Picture, nullptr},
};

const QString kGraphWindowName = QStringLiteral("fmFunc");

}  // namespace

void TfmTabulo::setUpGraphs() {
    m_graphPrinter = std::make_unique<graph::SettingsGraphPrinter>(printerSettings());
    m_func = new graph::TfmFunc(
        m_calc, *m_graphPrinter, [this] { return graph::graphKindOfTag(m_tag); },
        [this](graph::GraphKind kind) { m_tag = graph::tagOfGraphKind(kind); }, this);
    connect(m_func, &graph::TfmFunc::closed, this, [this] { storeGeometry(*m_func, kGraphWindowName); });
    m_setFunc = new graph::TfmSetFunc(this);
    m_setPrinter = new graph::TfmSetPrinter(printerSettings(), *m_func, this);
    m_func->setPrintSetup(m_setPrinter);
    m_func->setDialogRunner([this](QDialog& dialog) { m_runDialog(dialog); });

    for (const GraphMenuItem& item : kGraphMenu) {
        addCommand(QString::fromLatin1(item.name), [this, item](QAction*) {
            m_tag = graph::tagOfGraphKind(item.kind);
            if (item.specification) {
                const std::string text(item.specification);
                showGraphWindow(&text);
            } else {
                showGraphWindow();
            }
        });
    }
    addCommand(QStringLiteral("_fn0"), [this](QAction*) { showGraphKindChooser(); });
    m_setFunc->onRun = [this](int row) {
        runCommand(QString::fromLatin1(kGraphMenu[std::clamp(row, 0, 3)].name), nullptr);
    };
}

void TfmTabulo::showGraphWindow(const std::string* specification) {
    if (specification) {
        m_func->expressionEdit().setText(
            QString::fromStdString(sjis::SjisCodec::instance().toUtf8(*specification)));
    }
    const bool wasVisible = m_func->isVisible();
    m_func->showGraph();
    // The window stays on top from its creation: turning that on now would
    // re-create the shown window.
    if (!wasVisible) readGeometry(*m_func, kGraphWindowName);
}

void TfmTabulo::showGraphKindChooser() {
    m_setFunc->adjustSize();
    m_setFunc->setGeometry(placeDialog(geometry(), m_setFunc->geometry(), 100));
    m_runDialog(*m_setFunc);
}

}  // namespace tabulo::app
