// TfmFunc, the graph window "関数グラフ": the graph specification drawn on a
// drawing area sized from the printer's printable page and the print zoom,
// with grid, numbers, axes, frame and labels; or, in the kind Picture, a
// picture from a JPEG or BMP file or the clipboard. Everything is drawn
// into an off-screen image that the paint box shows; a left click moves
// the origin, a right drag selects a region to copy.
#pragma once

#include <QImage>
#include <QPoint>
#include <QWidget>
#include <functional>
#include <string>

#include "calc/expr_compo.h"
#include "graph/engine/graph_kind.h"
#include "graph/engine/graph_page.h"

class QCheckBox;
class QDialog;
class QFrame;
class QLabel;
class QLineEdit;
class QScrollArea;
class QSlider;
class QSpinBox;
class QStatusBar;
class QToolButton;
class QPushButton;

namespace tabulo::graph {

class GraphPaintBox;
class GraphPrinter;
class TfmClipDialog;
class TfmSetPrinter;

class TfmFunc : public QWidget {
    Q_OBJECT
public:
    // The kind is the main window's: read with `kind`, set back to Function
    // through `setKind` when the window closes.
    TfmFunc(calc::TExprCompo& calculator, GraphPrinter& printer, std::function<GraphKind()> kind,
            std::function<void(GraphKind)> setKind, QWidget* parent = nullptr);
    ~TfmFunc() override;

    // Prepares the page (paper, drawing area, origin, paint-box size and the
    // scale fields) and shows the window.
    void showGraph();
    // Draws everything again on the screen image.
    void redraw();
    // Reads a picture; an empty path asks with the open dialog. False when
    // nothing was loaded (cancelled, unsupported or unreadable).
    bool openPicture(const QString& path);
    // sbClipToPaint: the clipboard's picture becomes the picture.
    void pastePicture();
    // SpeedButton1: the whole drawing into a JPEG or BMP file.
    void saveDrawing();
    // Recomputes the drawing area from the printer and the zoom, resizes the
    // paint box and redraws.
    void resizeAndRedraw();
    // sbPrint: the print set-up dialog, then, when it closes with "印　刷",
    // the graph printed on the current printer at the chosen zoom.
    void print();
    void setPrintSetup(TfmSetPrinter* setup) { m_setPrinter = setup; }

    // The zoom z of the print set-up, 10 to 200.
    int zoom() const { return m_zoom; }
    void setZoom(int zoom);

    // How dialogs are run: modally by default; tests operate them.
    void setDialogRunner(std::function<void(QDialog&)> runner) { m_runDialog = std::move(runner); }

    QLineEdit& expressionEdit() const { return *m_edit1; }
    GraphPaintBox& paintBox() const { return *m_paintBox; }
    QString panelText(int panel) const;
    void setPanelText(int panel, const QString& text);
    const QImage& picture() const { return m_picture; }
    int scale() const;
    int precision() const;
    QPoint origin() const { return m_origin; }
    QSize drawingArea() const { return {m_width, m_height}; }
    // Device units (pixels) per 0.1 mm of the screen image.
    double screenScale() const;
    bool pictureLayout() const { return m_pictureLayout; }

signals:
    void closed();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls();
    void setPictureLayout(bool on);
    PageOptions pageOptions() const;
    void drawScreen(bool withCurves);
    void computeDrawingArea();
    void sizePaintBox();
    void applyScaleEdit(bool redrawAfter);
    void applyPrecisionEdit(bool redrawAfter);
    void writeScaleEdit();
    void mousePress(QMouseEvent* event);
    void mouseMove(QMouseEvent* event);
    void mouseRelease(QMouseEvent* event);
    void copySelection();
    void runDialog(QDialog& dialog);

    calc::TExprCompo& m_calc;
    GraphPrinter& m_printer;
    std::function<GraphKind()> m_kind;
    std::function<void(GraphKind)> m_setKind;

    QFrame* m_panel = nullptr;
    QPushButton* m_open = nullptr;
    QToolButton* m_print = nullptr;
    QToolButton* m_redraw = nullptr;
    QToolButton* m_paste = nullptr;
    QToolButton* m_save = nullptr;
    QPushButton* m_exit = nullptr;
    QLabel* m_lineLabel = nullptr;
    QSpinBox* m_lineWidth = nullptr;
    QLabel* m_fontLabel = nullptr;
    QSpinBox* m_fontSize = nullptr;
    QCheckBox* m_grid = nullptr;
    QCheckBox* m_numbers = nullptr;
    QCheckBox* m_labels = nullptr;
    QLabel* m_scaleLabel = nullptr;
    QLineEdit* m_edit2 = nullptr;
    QSlider* m_scaleBar = nullptr;
    QLabel* m_precisionLabel = nullptr;
    QLineEdit* m_edit3 = nullptr;
    QSlider* m_precisionBar = nullptr;
    QLineEdit* m_edit1 = nullptr;
    QScrollArea* m_scroll = nullptr;
    GraphPaintBox* m_paintBox = nullptr;
    QStatusBar* m_status = nullptr;
    QLabel* m_panels[5] = {};
    TfmClipDialog* m_clipDialog = nullptr;
    TfmSetPrinter* m_setPrinter = nullptr;

    QImage m_picture;
    int m_zoom = 200;
    int m_width = 0;
    int m_height = 0;
    QSize m_printable;
    QPoint m_origin;
    QPoint m_selectStart;
    QPoint m_selectEnd;
    bool m_selecting = false;
    bool m_pictureLayout = false;
    bool m_drawing = false;
    bool m_redrawPending = false;
    std::string m_reportedSpecification;
    std::function<void(QDialog&)> m_runDialog;
};

}  // namespace tabulo::graph
