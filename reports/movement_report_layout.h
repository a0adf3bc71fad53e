#pragma once
// The printed movement report. Never shown: the movement filter creates one per request, writes
// its query, totals and heading texts, then previews or prints it.
#include "platform/report/rows.h"
#include "reports/movement_detail.h"
#include "reports/report_layout.h"

namespace data {
class ClientDataSet;
class SqlQuery;
} // namespace data

class TFRelatorioMovimentacoes : public ReportLayout {
    Q_OBJECT
public:
    explicit TFRelatorioMovimentacoes(QObject* owner);
    ~TFRelatorioMovimentacoes() override;

    data::ClientDataSet* exportedRows() const override { return TBRelatorio; }
    QString exportCaption() const override { return QStringLiteral("Relatório de Movimentações"); }

    data::SqlQuery* QRelatorio;       // the rows printed
    data::SqlQuery* QSoma;            // the same rows again, for the totals
    data::ClientDataSet* TBRelatorio; // the same rows for the spreadsheet export

    report::Item* Titulo;
    report::Item* Explicacao;
    report::Item* Explicacao2;
    report::Item* SomaTotal;
    report::Item* QuantidadeMovimentada;
    report::Item* Versao;

    // Opens QRelatorio and reads its rows for printing; false when the user cancelled.
    bool openRows(QWidget* progressParent);
    const report::QueryRows& rows() const { return rows_; }

private:
    void QuickRep1BeforePrint();
    void QRBand4BeforePrint();
    void QRBand2BeforePrint();

    report::QueryRows rows_;
    MovementDetail detail_;
    CompanyBlock company_;
    bool linha_branca = true;
};

extern TFRelatorioMovimentacoes* FRelatorioMovimentacoes;
