// The kind of graph the graph window draws. The main window keeps it as its
// tag: 0 Function, 1 Parametric, 2 Polar, -1 Picture.
#pragma once

namespace tabulo::graph {

enum class GraphKind { Function = 0, Parametric = 1, Polar = 2, Picture = -1 };

inline GraphKind graphKindOfTag(int tag) {
    switch (tag) {
    case 1: return GraphKind::Parametric;
    case 2: return GraphKind::Polar;
    case -1: return GraphKind::Picture;
    default: return GraphKind::Function;
    }
}

inline int tagOfGraphKind(GraphKind kind) { return static_cast<int>(kind); }

}  // namespace tabulo::graph
