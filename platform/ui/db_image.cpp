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
    stretch_ = on;
    update();
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

QRect DBImage::pictureArea() const {
    const QRect area = contentsRect();
    if (!stretch_)
        return QRect(area.topLeft(), pixmap().deviceIndependentSize().toSize());
    QSize size = pixmap().deviceIndependentSize().toSize();
    size.scale(area.size(), Qt::KeepAspectRatio);
    return QRect(area.left() + (area.width() - size.width()) / 2,
                 area.top() + (area.height() - size.height()) / 2, size.width(), size.height());
}

void DBImage::paintEvent(QPaintEvent* event) {
    if (pixmap().isNull()) {
        QLabel::paintEvent(event);
        return;
    }
    QFrame::paintEvent(event); // the frame; the picture is ours to place
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawPixmap(pictureArea(), pixmap());
}

} // namespace ui
