#pragma once
// The printed simple stock report: a ruled list of products with code, description, unit and
// current stock, the total stock, and the moment the report was generated.
#include "reports/report_layout.h"
#include <array>
#include <functional>

namespace data {
class ClientDataSet;
class SqlQuery;
} // namespace data
namespace report {
class DataSetRows;
}

class TFRelatorioEstoqueSimples : public ReportLayout {
    Q_OBJECT
public:
    explicit TFRelatorioEstoqueSimples(QObject* owner);
    ~TFRelatorioEstoqueSimples() override;

    data::ClientDataSet* exportedRows() const override { return TBEstoque; }
    QString exportCaption() const override {
        return QStringLiteral("Relatório de Estoque Simples");
    }

    data::SqlQuery* QEstoque;
    data::ClientDataSet* TBEstoque;

    report::Item* Titulo;
    report::Item* Explicacao;
    report::Item* txtDataHorario2;
    report::Item* txtQuantidadeEstoque;
    report::Item* txtDataHorario;

    double soma_estoque = 0;
    // The clock the generation lines read; tests fix it.
    std::function<QDateTime()> now;

private:
    void QRBand4BeforePrint();
    void QRBand2BeforePrint();
    void QRBand1BeforePrint();
    QString generationLine() const;

    std::unique_ptr<report::DataSetRows> rows_;
    CompanyBlock company_;
    std::array<report::Item*, 4> items_{};
    bool linha_branca = true;
};

extern TFRelatorioEstoqueSimples* FRelatorioEstoqueSimples;
