// TfmInsertStr: the small dialog of the insert-strings command. It keeps
// its values between uses and reports the column it would insert at while
// it is shown, so the editor can draw the red column line there.
#pragma once

#include <QDialog>
#include <optional>

#include "textops/insert_sequence.h"

class QButtonGroup;
class QCheckBox;
class QLineEdit;
class QSpinBox;

namespace tabulo::app {

class TfmInsertStr : public QDialog {
    Q_OBJECT
public:
    explicit TfmInsertStr(QWidget* parent = nullptr);

    // Called when the dialog is activated: the column may not exceed the
    // columns visible in the main editor.
    void prepare(int visibleColumns);

    textops::InsertKind kind() const;
    void setKind(textops::InsertKind kind);
    QLineEdit& textEdit() { return *m_edit; }
    QSpinBox& columnSpin() { return *m_column; }
    QCheckBox& insertIntoEmptyLines() { return *m_insertOpt; }

signals:
    // The column of the red line, or nothing when the dialog closes.
    void columnShown(std::optional<int> column);

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void kindChosen(int kind);

    QLineEdit* m_edit;
    QSpinBox* m_column;
    QButtonGroup* m_kinds;
    QCheckBox* m_insertOpt;
};

}  // namespace tabulo::app
