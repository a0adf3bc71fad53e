#pragma once
// Records goods going out to a customer: the entry window with a customer instead of a
// supplier, the sale price proposed, the stock going down, and the minimum stock guarded.
#include "stock/entry_window.h"

class TFSaida : public TFEntrada {
    Q_OBJECT
public:
    explicit TFSaida(QWidget* parent = nullptr);

    ui::DBEdit* DBEdit10;                    // CLIENTE
    ui::DBLookupComboBox* DBLookupComboBox3; // customers

    void btnFornecedorClick() override; // picks a customer

protected:
    QString limitQuestion() const override;
    QLineEdit* focusSink() const override { return Edit1; }
    void openLookups() override;
};

extern TFSaida* FSaida;
