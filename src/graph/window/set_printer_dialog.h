// TfmSetPrinter, "SetPrinter": the graph's print set-up. It chooses the
// printer, the paper, the orientation and colour printing through the
// printer settings (each choice applied at once), shows the printer's
// measures, and sets the zoom that sizes the graph's drawing area.
#pragma once

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QSlider;

namespace tabulo::platform {
class TPrinterSettings;
}

namespace tabulo::graph {

class TfmFunc;

class TfmSetPrinter : public QDialog {
    Q_OBJECT
public:
    TfmSetPrinter(platform::TPrinterSettings& settings, TfmFunc& graph, QWidget* parent = nullptr);

    // Enables the controls, captions the print button, refreshes and sets
    // the zoom fields; called before each showing.
    void prepare();
    // Reads the printer again into the lists, the colour and orientation
    // controls and the information memo, and updates the zoom fields.
    void refresh();

    int zoom() const;
    void setZoom(int zoom);
    QString zoomText() const;
    QString memoText() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls();
    void updateZoomFields();
    void applyZoomEdit();
    // Applies one choice through the printer settings, then refreshes.
    void applyChoice(const std::function<void()>& change);
    void reflect();

    platform::TPrinterSettings& m_settings;
    TfmFunc& m_graph;
    QComboBox* m_printers = nullptr;
    QComboBox* m_papers = nullptr;
    QRadioButton* m_portrait = nullptr;
    QRadioButton* m_landscape = nullptr;
    QCheckBox* m_color = nullptr;
    QLineEdit* m_zoomEdit = nullptr;
    QSlider* m_zoomBar = nullptr;
    QLabel* m_width = nullptr;
    QLabel* m_height = nullptr;
    QPlainTextEdit* m_memo = nullptr;
    QPushButton* m_reflect = nullptr;
    QPushButton* m_print = nullptr;
    QPushButton* m_exit = nullptr;
    bool m_filling = false;
};

}  // namespace tabulo::graph
