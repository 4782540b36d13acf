#include "script/window/elided_label.h"

#include <QPainter>

#include <algorithm>

namespace tabulo::script {

void ElidedLabel::setFullText(const QString& text) {
    setText(text);
    setToolTip(text);
}

QString ElidedLabel::shownText() const {
    const int room = contentsRect().width() - 2 * margin() - indent();
    return fontMetrics().elidedText(text(), Qt::ElideMiddle, std::max(room, 0));
}

QSize ElidedLabel::minimumSizeHint() const {
    return {fontMetrics().averageCharWidth() * 3, QLabel::minimumSizeHint().height()};
}

void ElidedLabel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    drawFrame(&painter);
    const QRect room = contentsRect().adjusted(margin() + indent(), margin(), -margin(), -margin());
    painter.drawText(room, static_cast<int>(alignment()), shownText());
}

}  // namespace tabulo::script
