// Fuzz target of graph specifications and their sampling. Input: a kind
// byte (function, parametric, polar), bytes for the view (width, origin,
// scale P and precision Q, kept small so that a run samples a few hundred
// points a curve), then the specification. It is prepared and drawn through
// the calculator onto a surface that records the strokes. Every point drawn
// must lie inside the device bounds; a refused specification draws nothing;
// a drawn one has one label a curve; the sampling asks its pump no more
// often than the view has samples, so a run is bounded whatever the text.
#include <cmath>
#include <string>

#include "calc/expr_compo.h"
#include "common/fuzz_check.h"
#include "graph/engine/graph_sampler.h"
#include "graph/engine/graph_specification.h"

using namespace tabulo::graph;
using tabulo::fuzz::check;

namespace {

class RecordingSurface : public GraphSurface {
public:
    double scaleX() const override { return 1.0; }
    double scaleY() const override { return 1.0; }
    bool isScreen() const override { return false; }
    void fillWhite(int, int, int, int) override {}
    void setPen(int, PenStyle) override {}
    void moveTo(int x, int y) override { point(x, y); }
    void lineTo(int x, int y) override { point(x, y); }
    void setFontSize(int) override {}
    TextExtent textExtent(const std::string& text) override { return {static_cast<int>(text.size()), 1}; }
    void textOut(int, int, const std::string&) override {}
    void stretchPicture(int, int, int, int) override {}

    std::size_t points = 0;
    std::string detail;

private:
    void point(int x, int y) {
        ++points;
        // The sampler's device bounds: -1000 < X, Y < 5000 at one unit a page unit.
        check(x > -1000 && x < 5000 && y > -1000 && y < 5000, "a drawn point lies inside the device bounds", detail);
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    tabulo::fuzz::ByteReader in(data, size);
    const std::uint8_t kindByte = in.byte();
    const GraphKind kind = kindByte % 3 == 0 ? GraphKind::Function
                           : kindByte % 3 == 1 ? GraphKind::Parametric
                                                : GraphKind::Polar;
    GraphView view;
    view.width = 1 + in.byte() * 4;
    view.height = 1 + in.byte() * 4;
    view.originX = in.byte() * 4 - 200;
    view.originY = in.byte() * 4 - 200;
    view.scale = 1 + in.byte();
    view.precision = 1 + in.byte() % 16;
    const std::string specification = in.rest();

    const PreparedSpecification prepared = prepareSpecification(specification, kind);
    check((prepared.status == SpecificationStatus::Ok) == !prepared.curves.empty(),
          "a prepared specification has curves exactly when it is accepted", specification);
    tabulo::calc::TExprCompo calculator;
    RecordingSurface surface;
    surface.detail = specification;
    std::size_t pumped = 0;
    const CurvesResult result = drawCurves(surface, calculator, specification, kind, view, 1, [&] {
        ++pumped;
        return true;
    });
    check(result.status == prepared.status, "drawing prepares the specification the same way", specification);
    if (result.status != SpecificationStatus::Ok) {
        check(surface.points == 0 && result.labels.empty(), "a refused specification draws nothing", specification);
        return 0;
    }
    check(result.labels.size() == prepared.curves.size(), "every curve drawn has its label", specification);
    // Samples a curve: the range (three times it for parametric and polar
    // curves) in steps of 1000 / (P * Q), both ends included.
    const double m = kind == GraphKind::Function ? 1 : 3;
    const double samples = std::floor(m * view.width * view.precision / 1000.0) + 2;
    check(static_cast<double>(pumped) <= samples * static_cast<double>(prepared.curves.size()),
          "the sampling takes no more steps than the view has samples", specification);
    check(surface.points <= pumped, "at most one point a sample", specification);
    return 0;
}
