#pragma once
// "Histórico de Alterações": the trail of changes to movements and typed stocks, by period,
// product and user, with the old and new values side by side; printed through the report engine.
#include "platform/ui/form.h"
#include "stock/change_history.h"

class QDateEdit;
class QLineEdit;
class QPushButton;
class QTableWidget;

class TFHistoricoAlteracoes : public ui::Form {
    Q_OBJECT
public:
    explicit TFHistoricoAlteracoes(QWidget* parent = nullptr);

    QDateEdit* txtDataInicial;
    QDateEdit* txtDataFinal;
    QLineEdit* txtProduto; // a product's code, or empty
    QLineEdit* txtUsuario; // a login, or empty
    QPushButton* btnBuscar;
    QPushButton* btnImprimir;
    QPushButton* btnSair;
    QTableWidget* Grade;

    void btnBuscarClick();
    void btnImprimirClick();

    const std::vector<ChangeHistoryRow>& rows() const { return rows_; }

protected:
    void FormShow() override;

private:
    void fillGrid();

    std::vector<ChangeHistoryRow> rows_;
    ChangeHistoryFilter shownFilter_; // what the rows were read for, for the printout's title
};
