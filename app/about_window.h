#pragma once
// A few lines about the program and a button to close.
#include <QDialog>

class QLabel;
class QPushButton;

class TFSobre : public QDialog {
    Q_OBJECT
public:
    explicit TFSobre(QWidget* parent = nullptr);
    QLabel* txtVersao;
    QPushButton* btnFechar;
};

extern TFSobre* FSobre;
