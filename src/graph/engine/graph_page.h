// The whole drawing of the graph window on one surface: white background,
// the picture, grid and axis numbers, axis letters, axes, frame, the curves
// with their labels, and the cleaned margins. The screen, the printer page
// and a saved bitmap all go through here.
#pragma once

#include <string>

#include "calc/expr_compo.h"
#include "graph/engine/graph_kind.h"
#include "graph/engine/graph_sampler.h"
#include "graph/engine/graph_surface.h"

namespace tabulo::graph {

enum class CheckState { Unchecked, Grayed, Checked };

struct PageOptions {
    GraphKind kind = GraphKind::Function;
    std::string specification;  // Shift-JIS, as typed
    GraphView view;
    int lineWidth = 1;   // CSpin, 1 to 4
    int fontSize = 9;    // CSpinFont, points
    CheckState grid = CheckState::Checked;
    CheckState numbers = CheckState::Grayed;
    bool labels = true;
    int pictureWidth = 0;  // pixels; 0 when there is no picture
    int pictureHeight = 0;
};

// Draws the page. In the kind Picture only the picture is drawn, with the
// frame on the screen. Returns what the curves reported.
CurvesResult drawGraphPage(GraphSurface& surface, calc::TExprCompo& calculator, const PageOptions& options,
                           const SamplePump& pump = {});

}  // namespace tabulo::graph
