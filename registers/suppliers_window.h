#pragma once
// The suppliers goods are bought from. A new supplier may not repeat a stored CNPJ; opened to
// pick a supplier, a double-click on the list closes the window on the chosen one.
#include "registers/register_window.h"

class TFFornecedor : public RegisterWindow {
    Q_OBJECT
public:
    explicit TFFornecedor(QWidget* parent = nullptr);

    ui::DBEdit* DBEdit3; // CNPJ
    data::SqlQuery* QVerificadorRepeticao;

    void btnSalvarClick() override;
    void btnConsultarClick() override;

protected:
    void gridDoubleClick() override;
    void afterClose() override { removeFilter(); }
};

extern TFFornecedor* FFornecedor;
