#pragma once
// A picture box showing a blob field's bytes as a picture (nothing when empty or unreadable),
// stretched to the box when asked.
#include <QLabel>

namespace data {
class DataSource;
class Field;
} // namespace data

namespace ui {

class FieldLink;

class DBImage : public QLabel {
    Q_OBJECT
public:
    explicit DBImage(QWidget* parent = nullptr);

    void setDataSource(data::DataSource* source);
    data::DataSource* dataSource() const;
    void setDataField(const QString& name);
    const QString& dataField() const;
    data::Field* field() const;
    void setStretch(bool on);
    bool stretch() const { return hasScaledContents(); }
    bool hasPicture() const;

signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void refresh();

    FieldLink* link_;
};

} // namespace ui
