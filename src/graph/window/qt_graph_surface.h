// The graph drawing on a Qt paint device: the screen's off-screen image, a
// printer page or a bitmap to save. Device units are the device's pixels
// (dots); its logical resolution gives the device units per 0.1 mm, and
// font sizes in points become pixel sizes at that resolution.
#pragma once

#include <QFont>
#include <QPainter>
#include <QPoint>

#include "graph/engine/graph_surface.h"

class QImage;
class QPaintDevice;

namespace tabulo::graph {

class QtGraphSurface : public GraphSurface {
public:
    // `painter` is active on `device`; `picture` may be null or empty.
    QtGraphSurface(QPainter& painter, const QPaintDevice& device, const QImage* picture, bool screen);

    double scaleX() const override { return m_scaleX; }
    double scaleY() const override { return m_scaleY; }
    bool isScreen() const override { return m_screen; }
    void fillWhite(int left, int top, int right, int bottom) override;
    void setPen(int width, PenStyle style) override;
    void moveTo(int x, int y) override;
    void lineTo(int x, int y) override;
    void setFontSize(int points) override;
    TextExtent textExtent(const std::string& text) override;
    void textOut(int x, int y, const std::string& text) override;
    void stretchPicture(int left, int top, int right, int bottom) override;

    // The serif font the graph is labelled in, at a pixel size.
    static QFont labelFont(int pixelSize);

private:
    QPainter& m_painter;
    const QImage* m_picture;
    bool m_screen;
    double m_scaleX;
    double m_scaleY;
    int m_dpiY;
    QPoint m_position;
};

}  // namespace tabulo::graph
