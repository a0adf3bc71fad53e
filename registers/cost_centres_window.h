#pragma once
// The cost centres a movement may be charged to: the plainest register, with no dependency
// check (movements keep naming a deleted centre's code).
#include "registers/register_window.h"

class TFCentroCusto : public RegisterWindow {
    Q_OBJECT
public:
    explicit TFCentroCusto(QWidget* parent = nullptr);
    ui::DBEdit* DBEdit2; // DESCRICAO
};

extern TFCentroCusto* FCentroCusto;
