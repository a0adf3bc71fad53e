#pragma once
// The controls the settings and backup windows share: a path filled only through a file dialog,
// its "Abrir" button, and a command button.
#include <QString>

class QLineEdit;
class QPushButton;
class QWidget;

namespace admin {

QLineEdit* pathEdit(QWidget* parent, const char* name);
QPushButton* commandButton(QWidget* parent, const char* name, const QString& caption);
QPushButton* openButton(QWidget* parent, const char* name);

} // namespace admin
