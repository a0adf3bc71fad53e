#include "reports/cost_centre_report_layout.h"
#include "core/data_module.h"
#include "core/globals.h"
#include "platform/data/client_dataset.h"
#include "platform/data/sql_query.h"
#include "platform/format/format.h"
#include "platform/report/progress.h"

TFRelatorioCentro* FRelatorioCentro = nullptr;

namespace {
const report::Font kData{QStringLiteral("Arial"), 7, false};
const report::Font kBold{QStringLiteral("Arial"), 7, true};
const report::Font kTitle{QStringLiteral("Arial"), 8, true};
const QString kMoney = QStringLiteral("R$###,###,###,###.00");
} // namespace

TFRelatorioCentro::TFRelatorioCentro(QObject* owner) : ReportLayout(owner) {
    setObjectName(QStringLiteral("FRelatorioCentro"));
    using data::FieldKind;
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
                           {"TIPO", FieldKind::Text, 20},
                           {"CODIGOPRODUTO", FieldKind::Integer}});

    report::Report& r = QuickRep1;
    r.documentName = QStringLiteral("Relatório de Centro de Custos");
    r.margins = QMarginsF(8, 8, 8, 8);
    r.setRows(&rows_);
    const double width = r.printableRect().width();

    r.title.height = 53.7;
    Titulo = r.title.addLabel(QStringLiteral("Titulo"),
                              QStringLiteral("Relatório de Centro de Custos"), 0, 0, width, kTitle);
    Titulo->alignment = Qt::AlignHCenter;
    company_ = addCompanyBlock(9, 4, width - 39.7, 39.7, kBold);
    Explicacao = r.title.addLabel(QStringLiteral("Explicacao"), {}, 0, 41.5, width, kBold);
    Explicacao2 = r.title.addLabel(QStringLiteral("Explicacao2"), {}, 0, 45.0, width, kBold);
    r.detail.height = 5.6;
    detail_.build(r.detail, width, kData);
    detail_.addHeadings(r.title, 49.6,
                        {"Produto", "Qtd.", "Pr. Unitário", "Pr. Total", "Fornecedor/Cliente",
                         "Data", "Horário", "N° Nota", "Tipo"},
                        kBold);
    r.title.addLine(0, 53.4, width, 53.4, 0.1);

    r.summary.height = 26;
    auto total = [&](const QString& caption, const char* name, int line) {
        return r.summary.addCaptioned(caption, QString::fromLatin1(name), 0, 1.5 + line * 4, 0,
                                      kBold);
    };
    txtSomaSaida = total(QStringLiteral("Valor Total das Saídas de Produtos: "), "txtSomaSaida", 0);
    txtSomaCustoSaida = total(QStringLiteral("Valor Total dos Custos das Saídas de Produtos: "),
                              "txtSomaCustoSaida", 1);
    txtSomaEntrada =
        total(QStringLiteral("Valor Total das Entradas de Produtos: "), "txtSomaEntrada", 2);
    txtQtd = total(QStringLiteral("Quantidade Total de Produtos Movimentada: "), "txtQtd", 3);
    txtQtdEntrada =
        total(QStringLiteral("Quantidade de Produtos que Entrou no Estoque: "), "txtQtdEntrada", 4);
    txtQtdSaida =
        total(QStringLiteral("Quantidade de Produtos que Saiu do Estoque: "), "txtQtdSaida", 5);

    Versao = addFooter(kBold);

    r.beforePrint = [this] { QuickRep1BeforePrint(); };
    r.title.beforePrint = [this] { QRBand4BeforePrint(); };
    r.detail.beforePrint = [this] { QRBand2BeforePrint(); };
    r.summary.beforePrint = [this] { QRBand1BeforePrint(); };
    r.pageFooter.beforePrint = [this] { QRBand3BeforePrint(); };
}

TFRelatorioCentro::~TFRelatorioCentro() {
    if (FRelatorioCentro == this)
        FRelatorioCentro = nullptr;
}

bool TFRelatorioCentro::openRows(QWidget* progressParent) {
    report::Progress progress(progressParent, QStringLiteral("Lendo as movimentações..."));
    if (!rows_.read(*QRelatorio, [&](int read) { return progress.step(read); }))
        return false;
    detail_.bind(rows_);
    codigoProduto_ = rows_.column(QStringLiteral("CODIGOPRODUTO"));
    return true;
}

void TFRelatorioCentro::QuickRep1BeforePrint() {
    soma_qtd = soma_saida = soma_custo_saida = soma_entrada = soma_qtd_entrada = soma_qtd_saida = 0;
    // The exits' cost uses each product's purchase price as it is now. Taken once per run, so a
    // long report does not search the products once per exit.
    purchasePrices_.clear();
    data::ClientDataSet* products = DM->TBPRODUTOS;
    products->open();
    const int code = products->field(QStringLiteral("CODIGO")).index();
    const int price = products->field(QStringLiteral("PRECO_COMPRA")).index();
    products->forEachRow([&](const data::ColumnStore& store, data::RowId row) {
        if (!store.isNull(row, code) && !purchasePrices_.contains(store.integer(row, code)))
            purchasePrices_.insert(store.integer(row, code),
                                   store.isNull(row, price) ? 0.0 : store.real(row, price));
    });
}

void TFRelatorioCentro::QRBand4BeforePrint() {
    fillCompanyBlock(company_);
    linha_branca = true;
}

void TFRelatorioCentro::QRBand2BeforePrint() {
    detail_.fillParty();
    paintRow(linha_branca, detail_.items());
    const double quantidade = detail_.quantidade();
    soma_qtd += quantidade;
    if (detail_.isEntry()) {
        soma_entrada += detail_.precoTotal();
        soma_qtd_entrada += quantidade;
        return;
    }
    soma_saida += detail_.precoTotal();
    soma_qtd_saida += quantidade;
    if (!detail_.rows().isNull(codigoProduto_)) {
        const auto found = purchasePrices_.constFind(detail_.rows().integer(codigoProduto_));
        if (found != purchasePrices_.constEnd()) // a deleted product adds no cost
            soma_custo_saida += quantidade * found.value();
    }
}

void TFRelatorioCentro::QRBand1BeforePrint() {
    txtSomaSaida->setCaption(format::formatFloat(kMoney, soma_saida));
    txtSomaCustoSaida->setCaption(format::formatFloat(kMoney, soma_custo_saida));
    txtSomaEntrada->setCaption(format::formatFloat(kMoney, soma_entrada));
    txtQtdEntrada->setCaption(quantityText(soma_qtd_entrada));
    txtQtdSaida->setCaption(quantityText(soma_qtd_saida));
    txtQtd->setCaption(quantityText(soma_qtd));
}

void TFRelatorioCentro::QRBand3BeforePrint() {
    data::ClientDataSet* versions = DM->TBVERSAO;
    const QString version = versions->active() && !versions->isEmpty()
                                ? versions->field(QStringLiteral("VERSAO")).asString()
                                : QString();
    Versao->setCaption(QStringLiteral("Quiru ") + version);
}
