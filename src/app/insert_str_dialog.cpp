#include "app/insert_str_dialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace tabulo::app {

TfmInsertStr::TfmInsertStr(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("fmInsertStr"));
    setWindowTitle(QStringLiteral("Insert Strings"));
    setWindowFlag(Qt::MSWindowsFixedSizeDialogHint, true);

    m_edit = new QLineEdit(this);
    m_edit->setObjectName(QStringLiteral("Edit1"));

    auto* columnLabel = new QLabel(QStringLiteral("位置"), this);
    m_column = new QSpinBox(this);
    m_column->setObjectName(QStringLiteral("CSpinEdit1"));
    m_column->setRange(0, 1024);
    m_column->setToolTip(QStringLiteral("挿入位置、空行には挿入しません"));

    auto* group = new QGroupBox(QStringLiteral("挿入種類"), this);
    group->setObjectName(QStringLiteral("RadioGroup1"));
    group->setToolTip(QStringLiteral("文字列以外は連続文字です"));
    auto* grid = new QGridLayout(group);
    m_kinds = new QButtonGroup(this);
    const QString items[] = {
        QStringLiteral("文字列"), QStringLiteral("1.2.3～"), QStringLiteral("①～⑳"), QStringLiteral("ⅰ～ⅹ"),
        QStringLiteral("Ⅰ～Ⅹ"),  QStringLiteral("a,b～z"),  QStringLiteral("AB～Z"), QStringLiteral("α～ω"),
        QStringLiteral("ア～ン"), QStringLiteral("あ～ん"),
    };
    for (int i = 0; i < 10; ++i) {
        auto* radio = new QRadioButton(items[i], group);
        m_kinds->addButton(radio, i);
        grid->addWidget(radio, i / 2, i % 2);  // two columns
    }

    m_insertOpt = new QCheckBox(QStringLiteral("空行も挿入"), this);
    m_insertOpt->setObjectName(QStringLiteral("ckInsertOpt"));
    m_insertOpt->setToolTip(QStringLiteral("空白行にも挿入するか、挿入しないか"));
    m_insertOpt->setChecked(true);

    auto* ok = new QPushButton(QStringLiteral("実行"), this);
    ok->setObjectName(QStringLiteral("butOk"));
    ok->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("キャンセル"), this);
    cancel->setObjectName(QStringLiteral("bbCancel"));
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* columnRow = new QHBoxLayout;
    columnRow->addWidget(columnLabel);
    columnRow->addWidget(m_column);
    columnRow->addStretch();
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_edit);
    layout->addLayout(columnRow);
    layout->addWidget(group);
    layout->addWidget(m_insertOpt);
    layout->addLayout(buttons);

    connect(m_kinds, &QButtonGroup::idClicked, this, &TfmInsertStr::kindChosen);
    connect(m_column, &QSpinBox::valueChanged, this, [this](int value) {
        if (isVisible()) emit columnShown(value);
    });
    m_kinds->button(0)->setChecked(true);
    kindChosen(0);
}

void TfmInsertStr::prepare(int visibleColumns) {
    m_column->setMaximum(std::max(0, visibleColumns));
}

textops::InsertKind TfmInsertStr::kind() const {
    return static_cast<textops::InsertKind>(std::max(0, m_kinds->checkedId()));
}

void TfmInsertStr::setKind(textops::InsertKind kind) {
    m_kinds->button(static_cast<int>(kind))->setChecked(true);
    kindChosen(static_cast<int>(kind));
}

void TfmInsertStr::kindChosen(int kind) {
    m_edit->setVisible(kind <= 1);
    if (kind == 1) {
        m_edit->setText(QStringLiteral("**)"));
        m_edit->setToolTip(
            QStringLiteral("数字の桁数だけ * を入力します。また【***】のように、両端に文字列を指定できます。"));
    } else {
        m_edit->clear();
        m_edit->setToolTip(QStringLiteral("挿入文字を入力します"));
    }
}

void TfmInsertStr::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    emit columnShown(m_column->value());
}

void TfmInsertStr::hideEvent(QHideEvent* event) {
    QDialog::hideEvent(event);
    emit columnShown(std::nullopt);
}

}  // namespace tabulo::app
