#include "clickable_picture.h"

#include <QMouseEvent>

namespace widgets {

ClickablePicture::ClickablePicture(QWidget* parent)
    : QLabel(parent) {}

void ClickablePicture::mouseReleaseEvent(QMouseEvent* event) {
    QLabel::mouseReleaseEvent(event);
    // Released outside the picture: the user changed their mind.
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        Q_EMIT clicked();
}

} // namespace widgets
