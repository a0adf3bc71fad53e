#include "reports/movement_report_layout.h"
#include "core/data_module.h"
#include "core/globals.h"
#include "platform/data/client_dataset.h"
#include "platform/data/sql_query.h"
#include "platform/report/progress.h"

TFRelatorioMovimentacoes* FRelatorioMovimentacoes = nullptr;

namespace {

const report::Font kData{QStringLiteral("Arial"), 7, false};
const report::Font kBold{QStringLiteral("Arial"), 7, true};
const report::Font kTitle{QStringLiteral("Arial"), 8, true};

} // namespace

TFRelatorioMovimentacoes::TFRelatorioMovimentacoes(QObject* owner) : ReportLayout(owner) {
    setObjectName(QStringLiteral("FRelatorioMovimentacoes"));
    using data::FieldKind;
    // The eleven columns every movement query selects, in order.
    TBRelatorio =
        makeReportDataSet(QStringLiteral("QRelatorio"), QRelatorio, QStringLiteral("TBRelatorio"),
                          {{"CODIGO", FieldKind::Integer},
                           {"QUANTIDADE", FieldKind::Float},
                           {"PRECO_UNITARIO", FieldKind::Float},
                           {"PRECO_TOTAL", FieldKind::Float},
                           {"DATA", FieldKind::Date},
                           {"HORARIO", FieldKind::Time},
                           {"NOTA_COMPRA", FieldKind::Text, 50},
                           {"PRODUTO", FieldKind::Text, 50},
                           {"FORNECEDOR", FieldKind::Text, 50},
                           {"CLIENTE", FieldKind::Text, 50},
                           {"TIPO", FieldKind::Text, 20}});
    QSoma = new data::SqlQuery(DM->SQLConnection1, this);
    QSoma->setObjectName(QStringLiteral("QSoma"));

    report::Report& r = QuickRep1;
    r.documentName = QStringLiteral("Relatório de Movimentações");
    r.margins = QMarginsF(10, 10, 10, 10);
    r.setRows(&rows_);

    r.title.height = 53.7;
    Titulo = r.title.addLabel(QStringLiteral("Titulo"),
                              QStringLiteral("Relatório de Movimentações de Estoque"), 0, 0, 190,
                              kTitle);
    Titulo->alignment = Qt::AlignHCenter;
    company_ = addCompanyBlock(9, 4, 149.5, 39.7, kBold);
    Explicacao = r.title.addLabel(QStringLiteral("Explicacao"), {}, 0, 41.5, 190, kBold);
    Explicacao2 = r.title.addLabel(QStringLiteral("Explicacao2"), {}, 0, 45.0, 190, kBold);
    r.detail.height = 5.6;
    detail_.build(r.detail, 190, kData);
    detail_.addHeadings(r.title, 49.6,
                        {"Produto", "Qtd.", "Pr. Unitário", "Pr. Total", "Fornecedor/Cliente",
                         "Data", "Horário", "N° da Nota", "Tipo"},
                        kBold);
    r.title.addLine(0, 53.4, 190, 53.4, 0.1);

    r.summary.height = 10;
    SomaTotal = r.summary.addCaptioned(QStringLiteral("Soma Total: "), QStringLiteral("SomaTotal"),
                                       0, 1.5, 0, kBold);
    QuantidadeMovimentada =
        r.summary.addCaptioned(QStringLiteral("Quantidade de Produtos Movimentada: "),
                               QStringLiteral("QuantidadeMovimentada"), 0, 5.5, 0, kBold);

    Versao = addFooter(kBold);

    r.beforePrint = [this] { QuickRep1BeforePrint(); };
    r.title.beforePrint = [this] { QRBand4BeforePrint(); };
    r.detail.beforePrint = [this] { QRBand2BeforePrint(); };
}

TFRelatorioMovimentacoes::~TFRelatorioMovimentacoes() {
    if (FRelatorioMovimentacoes == this)
        FRelatorioMovimentacoes = nullptr;
}

bool TFRelatorioMovimentacoes::openRows(QWidget* progressParent) {
    report::Progress progress(progressParent, QStringLiteral("Lendo as movimentações..."));
    if (!rows_.read(*QRelatorio, [&](int read) { return progress.step(read); }))
        return false;
    detail_.bind(rows_);
    return true;
}

void TFRelatorioMovimentacoes::QuickRep1BeforePrint() {
    DM->TBVERSAO->close();
    DM->TBVERSAO->open();
    DM->TBVERSAO->first();
    const QString version = DM->TBVERSAO->isEmpty()
                                ? QString()
                                : DM->TBVERSAO->field(QStringLiteral("VERSAO")).asString();
    Versao->setCaption(QStringLiteral("Quiru ") + version);
    linha_branca = true;
}

void TFRelatorioMovimentacoes::QRBand4BeforePrint() {
    fillCompanyBlock(company_);
}

void TFRelatorioMovimentacoes::QRBand2BeforePrint() {
    detail_.fillParty();
    paintRow(linha_branca, detail_.items());
}
