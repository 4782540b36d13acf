#include "graph/engine/graph_page.h"

#include <algorithm>
#include <cmath>

namespace tabulo::graph {

namespace {

int truncated(double value) { return static_cast<int>(std::trunc(value)); }

class PageDrawing {
public:
    PageDrawing(GraphSurface& surface, const PageOptions& options)
        : m_surface(surface), m_options(options), m_view(options.view), m_sx(surface.scaleX()),
          m_sy(surface.scaleY()) {}

    void background() {
        m_surface.fillWhite(0, 0, truncated((m_view.width + 1000) * m_sx), truncated((m_view.height + 1000) * m_sy));
    }

    void picture() {
        const int bw = m_options.pictureWidth;
        const int bh = m_options.pictureHeight;
        if (bw <= 0 || bh <= 0) return;
        const double k = std::min(m_view.width * m_sx / bw, m_view.height * m_sy / bh);
        m_surface.stretchPicture(0, 0, truncated(bw * k), truncated(bh * k));
    }

    void gridAndNumbers() {
        if (m_options.grid == CheckState::Unchecked) return;
        m_surface.setPen(1, PenStyle::Dotted);
        m_surface.setFontSize(m_surface.isScreen() ? m_options.fontSize + 2 : m_options.fontSize);
        const double p = m_view.scale;
        const int ox = m_view.originX;
        const int oy = m_view.originY;
        const bool full = m_options.grid == CheckState::Checked;
        for (long k = truncated((0.0 - ox) / p); k <= (m_view.width - ox) / p; ++k) {
            const int a = truncated(p * k + ox);
            const int x = truncated(a * m_sx);
            line(x, truncated((full ? m_view.height : oy - 12) * m_sy), x, truncated((full ? 0 : oy + 12) * m_sy));
            if (numbered(k)) {
                const std::string text = std::to_string(k);
                const TextExtent extent = m_surface.textExtent(text);
                m_surface.textOut(truncated(a * m_sx - extent.width), truncated((oy + 5) * m_sy), text);
            }
        }
        for (long k = truncated((oy - m_view.height) / p); k <= oy / p; ++k) {
            const int b = truncated(oy - p * k);
            const int y = truncated(b * m_sy);
            line(truncated((full ? m_view.width : ox - 12) * m_sx), y, truncated((full ? 0 : ox + 12) * m_sx), y);
            if (numbered(k)) {
                const std::string text = std::to_string(k);
                const TextExtent extent = m_surface.textExtent(text);
                m_surface.textOut(truncated((ox - 10) * m_sx - 2.0 * extent.width), truncated(b * m_sy - extent.height),
                                  text);
            }
        }
    }

    void axisLetters() {
        const int ox = m_view.originX;
        const int oy = m_view.originY;
        m_surface.setFontSize(m_options.fontSize + 5);
        m_surface.textOut(truncated((ox + 16) * m_sx), truncated(21 * m_sy), "y");
        const TextExtent x = m_surface.textExtent("x");
        m_surface.textOut(truncated(m_view.width * m_sx - 2.0 * x.width - 10), truncated(oy * m_sy - (x.height * 19) / 10),
                          "x");
        m_surface.setFontSize(m_options.fontSize + 3);
        const TextExtent o = m_surface.textExtent("O");
        m_surface.textOut(truncated(ox * m_sx - 2.0 * o.width - 2), truncated(oy * m_sy), "O");
    }

    void axes() {
        m_surface.setPen(2 * m_options.lineWidth + 1, PenStyle::Solid);
        const int y = truncated(m_view.originY * m_sy);
        line(0, y, truncated(m_view.width * m_sx), y);
        const int x = truncated(m_view.originX * m_sx);
        line(x, 0, x, truncated(m_view.height * m_sy));
    }

    void frame() {
        m_surface.setPen(2 * m_options.lineWidth + 1, PenStyle::Solid);
        const int right = truncated(m_view.width * m_sx);
        const int bottom = truncated(m_view.height * m_sy);
        m_surface.moveTo(0, 0);
        m_surface.lineTo(0, bottom);
        m_surface.lineTo(right, bottom);
        m_surface.lineTo(right, 0);
        m_surface.lineTo(0, 0);
    }

    void labels(const std::vector<std::string>& texts) {
        if (!m_options.labels) return;
        m_surface.setFontSize(m_surface.isScreen() ? m_options.fontSize + 1 : m_options.fontSize + 3);
        int n = 2;
        for (const std::string& text : texts) {
            m_surface.textOut(truncated(11 * m_sx), truncated((m_view.height - n * 40 + 30) * m_sy), text);
            ++n;
        }
    }

    // Grid lines, numbers and curve pieces that spilled right of or below
    // the frame are painted over.
    void cleanMargins() {
        const int c = m_options.lineWidth + 1;
        const double right = m_view.width * m_sx;
        const double bottom = m_view.height * m_sy;
        m_surface.fillWhite(0, truncated(bottom + c), truncated(right + 4000), truncated(bottom + 4000));
        m_surface.fillWhite(truncated(right + c), 0, truncated(right + 4000), truncated(bottom + 4000));
    }

private:
    bool numbered(long k) const {
        if (k == 0) return false;
        return m_options.numbers == CheckState::Checked || (m_options.numbers == CheckState::Grayed && k % 5 == 0);
    }

    void line(int x0, int y0, int x1, int y1) {
        m_surface.moveTo(x0, y0);
        m_surface.lineTo(x1, y1);
    }

    GraphSurface& m_surface;
    const PageOptions& m_options;
    const GraphView& m_view;
    double m_sx;
    double m_sy;
};

}  // namespace

CurvesResult drawGraphPage(GraphSurface& surface, calc::TExprCompo& calculator, const PageOptions& options,
                           const SamplePump& pump) {
    PageDrawing page(surface, options);
    page.background();
    page.picture();
    if (options.kind == GraphKind::Picture) {
        if (surface.isScreen()) page.frame();
        return {};
    }
    page.gridAndNumbers();
    page.axisLetters();
    page.axes();
    page.frame();
    CurvesResult curves =
        drawCurves(surface, calculator, options.specification, options.kind, options.view, options.lineWidth, pump);
    if (curves.stopped) return curves;
    page.labels(curves.labels);
    page.cleanMargins();
    return curves;
}

}  // namespace tabulo::graph
