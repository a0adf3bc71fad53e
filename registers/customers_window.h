#pragma once
// The customers goods are handed to, with a search by name as the user types. A customer named
// by a movement cannot be deleted; opened to pick one, a double-click closes on the choice.
#include "registers/register_window.h"

namespace ui {
class DBRadioGroup;
}

class TFCliente : public RegisterWindow {
    Q_OBJECT
public:
    explicit TFCliente(QWidget* parent = nullptr);

    ui::DBEdit* DBEdit2; // NOME
    ui::DBRadioGroup* DBRadioGroup1;
    QLineEdit* txtNome;
    data::SqlQuery* QMovimentacao;

    void txtNomeChange();

protected:
    void setDefaults() override;
    void gridDoubleClick() override;
    void TabSheet2Show() override;
    void TabSheet2Hide() override;
    void afterClose() override { removeFilter(); }
};

extern TFCliente* FCliente;
