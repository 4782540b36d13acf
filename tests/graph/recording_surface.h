// A drawing surface that records what is drawn on it, for the core tests.
#pragma once

#include <string>
#include <vector>

#include "graph/engine/graph_surface.h"

namespace tabulo::testing {

struct DrawOp {
    enum class Kind { Fill, Pen, MoveTo, LineTo, Font, Text, Picture } kind;
    int a = 0, b = 0, c = 0, d = 0;
    std::string text;
};

class RecordingSurface : public graph::GraphSurface {
public:
    explicit RecordingSurface(double scale = 1.0, bool screen = false) : m_scale(scale), m_screen(screen) {}

    double scaleX() const override { return m_scale; }
    double scaleY() const override { return m_scale; }
    bool isScreen() const override { return m_screen; }
    void fillWhite(int left, int top, int right, int bottom) override {
        ops.push_back({DrawOp::Kind::Fill, left, top, right, bottom, {}});
    }
    void setPen(int width, graph::PenStyle style) override {
        ops.push_back({DrawOp::Kind::Pen, width, static_cast<int>(style), 0, 0, {}});
    }
    void moveTo(int x, int y) override { ops.push_back({DrawOp::Kind::MoveTo, x, y, 0, 0, {}}); }
    void lineTo(int x, int y) override { ops.push_back({DrawOp::Kind::LineTo, x, y, 0, 0, {}}); }
    void setFontSize(int points) override { ops.push_back({DrawOp::Kind::Font, points, 0, 0, 0, {}}); }
    // Every character 6 units wide, 10 high.
    graph::TextExtent textExtent(const std::string& text) override {
        return {static_cast<int>(text.size()) * 6, 10};
    }
    void textOut(int x, int y, const std::string& text) override {
        ops.push_back({DrawOp::Kind::Text, x, y, 0, 0, text});
    }
    void stretchPicture(int left, int top, int right, int bottom) override {
        ops.push_back({DrawOp::Kind::Picture, left, top, right, bottom, {}});
    }

    std::vector<DrawOp> of(DrawOp::Kind kind) const {
        std::vector<DrawOp> found;
        for (const DrawOp& op : ops) {
            if (op.kind == kind) found.push_back(op);
        }
        return found;
    }
    // The points of each stroke (a move followed by its lines).
    std::vector<std::vector<std::pair<int, int>>> strokes() const {
        std::vector<std::vector<std::pair<int, int>>> result;
        for (const DrawOp& op : ops) {
            if (op.kind == DrawOp::Kind::MoveTo) result.push_back({{op.a, op.b}});
            if (op.kind == DrawOp::Kind::LineTo && !result.empty()) result.back().push_back({op.a, op.b});
        }
        return result;
    }

    std::vector<DrawOp> ops;

private:
    double m_scale;
    bool m_screen;
};

}  // namespace tabulo::testing
