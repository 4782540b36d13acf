// TfmSetFunc, "Set Function": the graph-kind chooser of the main window's
// tool bar. "実 行" reports the chosen row and closes; "キャンセル" and Esc
// only close.
#pragma once

#include <QDialog>
#include <functional>

class QButtonGroup;

namespace tabulo::graph {

class TfmSetFunc : public QDialog {
    Q_OBJECT
public:
    explicit TfmSetFunc(QWidget* parent = nullptr);

    // Row 0 y = f(x), 1 parametric, 2 polar, 3 picture.
    int chosenRow() const;
    void setChosenRow(int row);

    std::function<void(int row)> onRun;

private:
    QButtonGroup* m_group = nullptr;
};

}  // namespace tabulo::graph
