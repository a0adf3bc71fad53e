#include "charts/chart_file.h"
#include <QImage>
#include <QPainter>
#include <QWidget>

QString bitmapFileName(const QString& chosen) {
    if (chosen.endsWith(QStringLiteral(".bmp"), Qt::CaseInsensitive))
        return chosen;
    return chosen + QStringLiteral(".bmp");
}

bool saveBitmap(QWidget* widget, const QString& path) {
    QImage image(widget->size(), QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        widget->render(&painter, QPoint(), QRegion(), QWidget::DrawChildren);
    }
    return image.save(path, "BMP");
}
