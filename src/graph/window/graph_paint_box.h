// PaintBox1 of the graph window: shows the off-screen image the graph is
// drawn into, with the rubber band of a right-button selection drawn over
// it, and reports mouse presses, moves and releases.
#pragma once

#include <QImage>
#include <QRect>
#include <QWidget>
#include <functional>

namespace tabulo::graph {

class GraphPaintBox : public QWidget {
    Q_OBJECT
public:
    explicit GraphPaintBox(QWidget* parent = nullptr);

    const QImage& image() const { return m_image; }
    void setImage(QImage image);
    // The rubber band, drawn inverting the image under it while shown.
    void setRubberBand(const QRect& band, bool shown);

    std::function<void(QMouseEvent*)> onPress;
    std::function<void(QMouseEvent*)> onMove;
    std::function<void(QMouseEvent*)> onRelease;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QImage m_image;
    QRect m_band;
    bool m_bandShown = false;
};

}  // namespace tabulo::graph
