#include "graph/window/set_func_dialog.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace tabulo::graph {

TfmSetFunc::TfmSetFunc(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("fmSetFunc"));
    setWindowTitle(QStringLiteral("Set Function"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowStaysOnTopHint);
    auto* box = new QGroupBox(this);
    box->setObjectName(QStringLiteral("RadioGroup1"));
    box->setToolTip(QStringLiteral("関数を描いたり、グラフィックファイルの読み込みをします"));
    m_group = new QButtonGroup(this);
    auto* boxLayout = new QVBoxLayout(box);
    const char* const items[] = {"y = f(x)", "x = f(t) , y = g(t)", "r = f(t)   極座標", "Jprg, BMP 印刷"};
    for (int row = 0; row < 4; ++row) {
        auto* button = new QRadioButton(QString::fromUtf8(items[row]), box);
        m_group->addButton(button, row);
        boxLayout->addWidget(button);
    }
    m_group->button(0)->setChecked(true);

    auto* run = new QPushButton(QStringLiteral("実 行"), this);
    run->setObjectName(QStringLiteral("btRun"));
    run->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("キャンセル"), this);
    cancel->setObjectName(QStringLiteral("btCancel"));
    connect(run, &QPushButton::clicked, this, [this] {
        accept();
        if (onRun) onRun(chosenRow());
    });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(run);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(box);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

int TfmSetFunc::chosenRow() const { return m_group->checkedId(); }

void TfmSetFunc::setChosenRow(int row) {
    if (auto* button = m_group->button(row)) button->setChecked(true);
}

}  // namespace tabulo::graph
