#pragma once
// A picture box showing a blob field's bytes as a picture (nothing when empty or unreadable),
// stretched to the box when asked, keeping its proportions (a logo is not squeezed square).
#include "platform/ui/field_link.h"
#include <QLabel>

namespace ui {

class DBImage : public QLabel, public FieldBinding {
    Q_OBJECT
public:
    explicit DBImage(QWidget* parent = nullptr);

    void setStretch(bool on);
    bool stretch() const { return stretch_; }
    bool hasPicture() const;

signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
    // The picture in its own colours while the box is disabled too: a browsed record is read,
    // not greyed out.
    void paintEvent(QPaintEvent* event) override;

private:
    void refresh();
    // Where the picture is drawn: its own size at the top left, or as large as the box allows
    // with its proportions, centred.
    QRect pictureArea() const;

    bool stretch_ = false;
};

} // namespace ui
