#pragma once
// A captioned group of radio buttons, one per item, laid out in columns; itemIndex is the
// checked one (-1 for none).
#include <QGroupBox>
#include <QStringList>

class QButtonGroup;
class QRadioButton;

namespace ui {

class RadioGroup : public QGroupBox {
    Q_OBJECT
public:
    explicit RadioGroup(QWidget* parent = nullptr);
    RadioGroup(const QString& caption, const QStringList& items, int columns = 1,
               QWidget* parent = nullptr);

    void setItems(const QStringList& items);
    const QStringList& items() const { return items_; }
    void setColumns(int columns);
    int columns() const { return columns_; }
    void setItemIndex(int index); // -1 unchecks every button
    int itemIndex() const;
    QRadioButton* button(int index) const;

signals:
    void changed(); // itemIndex changed, by the user or by the program

private:
    void layOut();

    QStringList items_;
    int columns_ = 1;
    QButtonGroup* group_;
};

} // namespace ui
