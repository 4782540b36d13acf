// Sampling the curves of a graph specification through the calculator and
// drawing them as strokes. The sampling variable runs over the drawing
// area's mathematical x-range (three times it for parametric and polar
// curves) in steps of 1000 / (P * Q); a point that cannot be computed or
// lands outside the device bounds lifts the pen.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "calc/expr_compo.h"
#include "graph/engine/graph_kind.h"
#include "graph/engine/graph_specification.h"
#include "graph/engine/graph_surface.h"

namespace tabulo::graph {

// The view the curves are drawn in: page units of 0.1 mm.
struct GraphView {
    int width = 0;     // W
    int height = 0;    // H
    int originX = 0;   // ox
    int originY = 0;   // oy
    int scale = 100;   // P, page units per unit
    int precision = 200;  // Q
};

// Called between samples; returns false to stop drawing (a newer redraw
// is waiting).
using SamplePump = std::function<bool()>;

// The value of a sample that could not be computed: it always lands outside
// the device bounds.
inline constexpr long double kUndefinedValue = 100000;

struct CurvesResult {
    SpecificationStatus status = SpecificationStatus::Empty;
    std::vector<std::string> labels;  // in drawing order
    bool stopped = false;             // the pump asked to stop
};

// Draws every curve of the graph line with a solid pen lineWidth device
// units wide. An over-long graph line draws nothing; its status says why.
CurvesResult drawCurves(GraphSurface& surface, calc::TExprCompo& calculator, const std::string& specification,
                        GraphKind kind, const GraphView& view, int lineWidth, const SamplePump& pump = {});

}  // namespace tabulo::graph
