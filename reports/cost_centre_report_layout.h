#pragma once
// The printed cost centre report: every movement booked to one cost centre, and the value of its
// exits, their cost at the products' present purchase prices, the value of its entries and the
// quantities moved.
#include "platform/report/rows.h"
#include "reports/movement_detail.h"
#include "reports/report_layout.h"
#include <QHash>

namespace data {
class ClientDataSet;
class SqlQuery;
} // namespace data

class TFRelatorioCentro : public ReportLayout {
    Q_OBJECT
public:
    explicit TFRelatorioCentro(QObject* owner);
    ~TFRelatorioCentro() override;

    data::ClientDataSet* exportedRows() const override { return TBRelatorio; }
    QString exportCaption() const override {
        return QStringLiteral("Relatório de Centro de Custo");
    }

    data::SqlQuery* QRelatorio;
    data::ClientDataSet* TBRelatorio; // the same rows for the spreadsheet export

    report::Item* Titulo;
    report::Item* Explicacao;
    report::Item* Explicacao2;
    report::Item* txtSomaSaida;
    report::Item* txtSomaCustoSaida;
    report::Item* txtSomaEntrada;
    report::Item* txtQtd;
    report::Item* txtQtdEntrada;
    report::Item* txtQtdSaida;
    report::Item* Versao;

    double soma_qtd = 0;
    double soma_saida = 0;
    double soma_custo_saida = 0;
    double soma_entrada = 0;
    double soma_qtd_entrada = 0;
    double soma_qtd_saida = 0;

    // Opens QRelatorio and reads its rows for printing; false when the user cancelled.
    bool openRows(QWidget* progressParent);

private:
    void QuickRep1BeforePrint();
    void QRBand4BeforePrint();
    void QRBand2BeforePrint();
    void QRBand1BeforePrint();
    void QRBand3BeforePrint();

    report::QueryRows rows_;
    MovementDetail detail_;
    CompanyBlock company_;
    int codigoProduto_ = 0;
    QHash<qint32, double> purchasePrices_; // the products' present prices, read at each run
    bool linha_branca = true;
};

extern TFRelatorioCentro* FRelatorioCentro;
