// The graph window's printer over the printer settings of the run.
#pragma once

#include "graph/window/graph_printer.h"

namespace tabulo::platform {
class TPrinterSettings;
}

namespace tabulo::graph {

class SettingsGraphPrinter : public GraphPrinter {
public:
    explicit SettingsGraphPrinter(platform::TPrinterSettings& settings) : m_settings(settings) {}

    void choosePaper() override;
    QString paperName() override;
    QSize printableSize() override;
    bool configure(QPrinter& printer) override;

private:
    platform::TPrinterSettings& m_settings;
};

}  // namespace tabulo::graph
