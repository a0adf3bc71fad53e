#include "platform/ui/db_image.h"
#include "platform/data/client_dataset.h"
#include "platform/ui/field_link.h"
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>

namespace ui {

DBImage::DBImage(QWidget* parent) : QLabel(parent), FieldBinding(this) {
    setFrameShape(QFrame::StyledPanel);
    setAlignment(Qt::AlignCenter);
    connect(link(), &FieldLink::changed, this, &DBImage::refresh);
}

void DBImage::setStretch(bool on) {
    setScaledContents(on);
}

bool DBImage::hasPicture() const {
    return !pixmap().isNull();
}

void DBImage::refresh() {
    const data::Field* f = field();
    QPixmap picture;
    if (f && !f->isNull())
        picture.loadFromData(f->asBlob());
    if (picture.isNull())
        clear();
    else
        setPixmap(picture);
}

void DBImage::mouseReleaseEvent(QMouseEvent* event) {
    QLabel::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
}

void DBImage::paintEvent(QPaintEvent* event) {
    if (isEnabled() || pixmap().isNull()) {
        QLabel::paintEvent(event);
        return;
    }
    QFrame::paintEvent(event); // the frame only
    QPainter painter(this);
    const QRect area = contentsRect();
    if (hasScaledContents())
        painter.drawPixmap(area, pixmap());
    else
        painter.drawPixmap(area.topLeft(), pixmap());
}

} // namespace ui
