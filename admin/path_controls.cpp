#include "admin/path_controls.h"
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>

namespace admin {

QLineEdit* pathEdit(QWidget* parent, const char* name) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QLatin1String(name));
    edit->setReadOnly(true);
    edit->setEnabled(false); // filled only through the dialog
    edit->setMinimumWidth(380);
    return edit;
}

QPushButton* commandButton(QWidget* parent, const char* name, const QString& caption) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(QLatin1String(name));
    button->setAutoDefault(false);
    button->setCursor(Qt::PointingHandCursor);
    return button;
}

QPushButton* openButton(QWidget* parent, const char* name) {
    QPushButton* button = commandButton(parent, name, {});
    button->setIcon(parent->style()->standardIcon(QStyle::SP_DirOpenIcon));
    button->setToolTip(QStringLiteral("Abrir"));
    return button;
}

} // namespace admin
