#include "graph/engine/graph_sampler.h"

#include <cmath>
#include <cstdint>

#include "calc/calc_exception.h"
#include "calc/result_format.h"

namespace tabulo::graph {

namespace {

// Device bounds: a point outside them lifts the pen.
constexpr double kDeviceMax = 5000;
constexpr double kDeviceMin = -1000;

class CurveSampler {
public:
    CurveSampler(GraphSurface& surface, calc::TExprCompo& calculator, GraphKind kind, const GraphView& view)
        : m_surface(surface), m_calc(calculator), m_kind(kind), m_view(view) {}

    // False when the pump asked to stop.
    bool draw(const CurveExpressions& curve, const SamplePump& pump) {
        const long double p = m_view.scale;
        const long double h = 1000.0L / (p * m_view.precision);
        const long double m = m_kind == GraphKind::Function ? 1 : 3;
        const long double last = m * (m_view.width - m_view.originX) / p;
        bool strokeEmpty = true;
        for (long double u = m * (0 - m_view.originX) / p; u <= last; u += h) {
            int x = 0;
            int y = 0;
            if (devicePoint(curve, u, x, y)) {
                if (strokeEmpty) {
                    m_surface.moveTo(x, y);
                } else {
                    m_surface.lineTo(x, y);
                }
                strokeEmpty = false;
            } else {
                strokeEmpty = true;
            }
            if (pump && !pump()) return false;
        }
        return true;
    }

private:
    // Assigns u to the sampling variable, then evaluates the expression; an
    // unsuccessful evaluation gives the undefined value. Faults propagate.
    long double evaluate(const char* assignment, long double u, const std::string& expression) {
        m_calc.SetExpression(assignment + calc::formatResult(u));
        m_calc.Execute();
        m_calc.SetExpression(expression);
        m_calc.Execute();
        return m_calc.Valid() ? m_calc.Value() : kUndefinedValue;
    }

    void mathematicalPoint(const CurveExpressions& curve, long double u, long double& x, long double& y) {
        switch (m_kind) {
        case GraphKind::Parametric:
            x = evaluate("_T_=", u, curve.x);
            y = evaluate("_T_=", u, curve.y);
            break;
        case GraphKind::Polar: {
            const long double r = evaluate("_T_=", u, curve.x);
            x = m_calc.Valid() ? r * std::cos(u) : kUndefinedValue;
            const long double r2 = evaluate("_T_=", u, curve.y);
            y = m_calc.Valid() ? r2 * std::sin(u) : kUndefinedValue;
            break;
        }
        default:
            x = u;
            y = evaluate("_X_=", u, curve.y);
            break;
        }
    }

    // The device point of sample u; false when it is not to be drawn.
    bool devicePoint(const CurveExpressions& curve, long double u, int& deviceX, int& deviceY) {
        long double x = 0;
        long double y = 0;
        try {
            mathematicalPoint(curve, u, x, y);
        } catch (const calc::ECalcException&) {
            return false;
        }
        long double a = 0;
        long double b = 0;
        if (!pageCoordinate(m_view.scale * x + m_view.originX, a) ||
            !pageCoordinate(m_view.originY - m_view.scale * y, b)) {
            return false;
        }
        const double X = static_cast<double>(a) * m_surface.scaleX();
        const double Y = static_cast<double>(b) * m_surface.scaleY();
        if (X >= kDeviceMax || X <= kDeviceMin || Y >= kDeviceMax || Y <= kDeviceMin) return false;
        deviceX = static_cast<int>(X);
        deviceY = static_cast<int>(Y);
        return true;
    }

    // Truncates toward zero; false when the value does not fit a 32-bit
    // page coordinate (NaN included).
    static bool pageCoordinate(long double value, long double& page) {
        if (!(value > static_cast<long double>(INT32_MIN) - 1 && value < static_cast<long double>(INT32_MAX) + 1)) {
            return false;
        }
        page = std::trunc(value);
        return true;
    }

    GraphSurface& m_surface;
    calc::TExprCompo& m_calc;
    GraphKind m_kind;
    GraphView m_view;
};

}  // namespace

CurvesResult drawCurves(GraphSurface& surface, calc::TExprCompo& calculator, const std::string& specification,
                        GraphKind kind, const GraphView& view, int lineWidth, const SamplePump& pump) {
    CurvesResult result;
    const PreparedSpecification prepared = prepareSpecification(specification, kind);
    result.status = prepared.status;
    if (prepared.status != SpecificationStatus::Ok || view.scale < 1 || view.precision < 1) return result;
    surface.setPen(lineWidth, PenStyle::Solid);
    CurveSampler sampler(surface, calculator, kind, view);
    for (const CurveExpressions& curve : prepared.curves) {
        if (!sampler.draw(curve, pump)) {
            result.stopped = true;
            return result;
        }
        result.labels.push_back(curve.label);
    }
    return result;
}

}  // namespace tabulo::graph
