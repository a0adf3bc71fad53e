#pragma once
// A few lines about the program and a button to close.
#include <QDialog>

class QPushButton;

class TFSobre : public QDialog {
    Q_OBJECT
public:
    explicit TFSobre(QWidget* parent = nullptr);
    QPushButton* btnFechar;
};

extern TFSobre* FSobre;
