// The document's line-break convention in the main window: a status-bar
// panel shows it, and the "改行コード" submenu beside the code conversion
// changes the convention the next save writes.
#include <QActionGroup>
#include <QLabel>

#include "app/main_window.h"

namespace tabulo::app {
namespace {

struct LineBreakItem {
    const char* name;
    editor::LineBreakStyle style;
};

constexpr LineBreakItem kItems[] = {
    {"RetCrLf", editor::LineBreakStyle::CrLf},
    {"RetLf", editor::LineBreakStyle::Lf},
    {"RetCr", editor::LineBreakStyle::Cr},
};

}  // namespace

void TfmTabulo::setUpLineBreaks() {
    m_lineBreakPanel =
        addStatusPanel(QStringLiteral("StatusPanelLineBreak"), 50, QStringLiteral("保存するときの改行コード"));

    auto* group = new QActionGroup(this);
    group->setExclusive(true);
    for (const LineBreakItem& item : kItems) {
        QAction* a = action(QString::fromLatin1(item.name));
        a->setCheckable(true);
        group->addAction(a);
        addCommand(QString::fromLatin1(item.name), [this, style = item.style](QAction*) { changeLineBreak(style); });
    }
}

// The text is unchanged, but what a save writes is not what the file holds:
// the document counts as changed so the new convention is not lost.
void TfmTabulo::changeLineBreak(editor::LineBreakStyle style) {
    if (style == m_document.lineBreakStyle()) return;
    m_document.setLineBreakStyle(style);
    m_document.SetModified(true);
}

void TfmTabulo::refreshLineBreak() {
    if (!m_lineBreakPanel) return;
    const editor::LineBreakStyle style = m_document.lineBreakStyle();
    const std::string_view name = editor::lineBreakName(style);
    m_lineBreakPanel->setText(QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size())));
    for (const LineBreakItem& item : kItems) setChecked(QString::fromLatin1(item.name), item.style == style);
}

}  // namespace tabulo::app
