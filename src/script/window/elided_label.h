// A status panel whose text may be longer than the panel: it shows as much
// as fits with "…" in the middle, so both the mode at the start and the
// destination at the end stay readable, and the whole text is its tooltip.
// Its text() stays the whole text.
#pragma once

#include <QLabel>

namespace tabulo::script {

class ElidedLabel : public QLabel {
public:
    using QLabel::QLabel;

    void setFullText(const QString& text);
    // What the panel shows at its present width.
    QString shownText() const;

    // Any width will do: the text is shortened to fit.
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace tabulo::script
