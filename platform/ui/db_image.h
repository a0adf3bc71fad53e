#pragma once
// A picture box showing a blob field's bytes as a picture (nothing when empty or unreadable),
// stretched to the box when asked.
#include "platform/ui/field_link.h"
#include <QLabel>

namespace ui {

class DBImage : public QLabel, public FieldBinding {
    Q_OBJECT
public:
    explicit DBImage(QWidget* parent = nullptr);

    void setStretch(bool on);
    bool stretch() const { return hasScaledContents(); }
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
};

} // namespace ui
