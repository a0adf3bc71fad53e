#pragma once
// Four buttons that move a dataset's cursor: first, prior, next, last. Each is enabled only
// where it can move (first and prior away from the first row, next and last before the last).
#include <QPointer>
#include <QWidget>

class QToolButton;

namespace data {
class DataSource;
}

namespace ui {

class DBNavigator : public QWidget {
    Q_OBJECT
public:
    enum Button { First, Prior, Next, Last };
    Q_ENUM(Button)

    explicit DBNavigator(QWidget* parent = nullptr);

    void setDataSource(data::DataSource* source);
    data::DataSource* dataSource() const { return source_; }
    QToolButton* button(Button which) const { return buttons_[which]; }

signals:
    void clicked(ui::DBNavigator::Button button); // after the move

private:
    void move(Button which);
    void updateButtons();

    QPointer<data::DataSource> source_;
    QToolButton* buttons_[4];
    QList<QMetaObject::Connection> links_;
};

} // namespace ui
