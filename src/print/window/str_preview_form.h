// TFormStrPreview: the print preview. It shows one page recording at a time
// on a white sheet the size of the whole paper (the printable page sits
// inside it at the paper's unprintable border), at physical size or fitted
// to the width or height of the window, with page navigation.
#pragma once

#include "print/engine/paper_table.h"

#include <QDialog>

#include <functional>

class QLabel;
class QScrollArea;
class QToolButton;

namespace tabulo::print {

class TMetaFileList;

enum class TPreviewMode { pmHundred, pmWidth, pmHeight };

class TFormStrPreview : public QDialog {
    Q_OBJECT
public:
    explicit TFormStrPreview(QWidget* parent = nullptr);

    // Shows `list` from page 1 at 100% through `run` (modally by default).
    void Execute(const TMetaFileList& list, const PaperOffset& offset,
                 const std::function<void(QDialog&)>& run);

    void SetMetaFileIndex(int index);
    void SetPreviewMode(TPreviewMode mode);
    void AdjustImagePosition();

    int metaFileIndex() const { return m_index; }
    TPreviewMode previewMode() const { return m_mode; }
    // The page image as shown.
    const QImage& image() const { return m_image; }
    // Screen dots per printer dot.
    double ratio() const;

    QLabel* PageLabel = nullptr;
    QToolButton* FirstButton = nullptr;
    QToolButton* PriorButton = nullptr;
    QToolButton* NextButton = nullptr;
    QToolButton* LastButton = nullptr;
    QToolButton* HeightButton = nullptr;
    QToolButton* WidthButton = nullptr;
    QToolButton* HundredButton = nullptr;
    QToolButton* CloseButton = nullptr;
    QScrollArea* ScrollBox1 = nullptr;
    QLabel* Image1 = nullptr;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void redraw();
    QSize sheetSize() const;

    const TMetaFileList* m_list = nullptr;
    PaperOffset m_offset;
    int m_index = 0;
    TPreviewMode m_mode = TPreviewMode::pmHundred;
    QImage m_image;
};

}  // namespace tabulo::print
