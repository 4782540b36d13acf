// TfmClipDialog, "Copy": where a dragged region goes, with or without the
// selection frame. Each button closes it and leaves the destination.
#pragma once

#include <QDialog>

class QRadioButton;

namespace tabulo::graph {

enum class CopyDestination { Cancelled = 0, ClipboardFramed = 1, Clipboard = 2, FileFramed = 3, File = 4 };

class TfmClipDialog : public QDialog {
    Q_OBJECT
public:
    explicit TfmClipDialog(QWidget* parent = nullptr);

    // Reset to Cancelled each time the dialog is shown.
    CopyDestination destination() const { return m_destination; }
    void resetDestination() { m_destination = CopyDestination::Cancelled; }

private:
    void choose(bool file);

    QRadioButton* m_framed = nullptr;
    CopyDestination m_destination = CopyDestination::Cancelled;
};

}  // namespace tabulo::graph
