#pragma once
// The printed detailed stock report: every product the filter chose with its prices, unit and
// stock levels and stock value, rows with no stock left in red, and the totals of units and of
// the stock's value at purchase and at sale prices.
#include "reports/report_layout.h"
#include <vector>

namespace data {
class ClientDataSet;
class Field;
class SqlQuery;
} // namespace data
namespace report {
class DataSetRows;
}

class TFRelatorioEstoque : public ReportLayout {
    Q_OBJECT
public:
    explicit TFRelatorioEstoque(QObject* owner);
    ~TFRelatorioEstoque() override;

    data::ClientDataSet* exportedRows() const override { return TBRelatorio; }
    QString exportCaption() const override { return QStringLiteral("Relatório de Estoque"); }

    data::SqlQuery* QRelatorio;
    data::ClientDataSet* TBRelatorio; // the rows printed, and those the export reads

    report::Item* Titulo;
    report::Item* Explicacao;
    report::Item* Explicacao2;
    report::Item* QuantidadeEstoque;
    report::Item* txtTotalCompra;
    report::Item* txtTotalVenda;

    double soma_estoque = 0;
    double soma_compra = 0;
    double soma_venda = 0;

private:
    void QRBand4BeforePrint();
    void QRBand2BeforePrint();
    void QRBand1BeforePrint();
    double value(const char* column) const; // of the current row; null counts as 0

    std::unique_ptr<report::DataSetRows> rows_;
    CompanyBlock company_;
    std::vector<report::Item*> items_;
    bool linha_branca = true;
};

extern TFRelatorioEstoque* FRelatorioEstoque;
