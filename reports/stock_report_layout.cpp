#include "reports/stock_report_layout.h"
#include "core/data_module.h"
#include "core/globals.h"
#include "platform/data/client_dataset.h"
#include "platform/data/sql_query.h"
#include "platform/format/format.h"
#include "platform/report/rows.h"

TFRelatorioEstoque* FRelatorioEstoque = nullptr;

namespace {

const report::Font kData{QStringLiteral("Arial"), 7, false};
const report::Font kBold{QStringLiteral("Arial"), 7, true};
const report::Font kTitle{QStringLiteral("Arial"), 8, true};

} // namespace

TFRelatorioEstoque::TFRelatorioEstoque(QObject* owner) : ReportLayout(owner) {
    setObjectName(QStringLiteral("FRelatorioEstoque"));
    using data::FieldKind;
    TBRelatorio =
        makeReportDataSet(QStringLiteral("QRelatorio"), QRelatorio, QStringLiteral("TBRelatorio"),
                          {{"DESCRICAO", FieldKind::Text, 50},
                           {"REFERENCIA", FieldKind::Text, 50},
                           {"ESTOQUE_MINIMO", FieldKind::Float},
                           {"ESTOQUE_MAXIMO", FieldKind::Float},
                           {"PRECO_COMPRA", FieldKind::Float, 0, true},
                           {"PRECO_VENDA", FieldKind::Float, 0, true},
                           {"ESTOQUEATUAL", FieldKind::Float},
                           {"FORNECEDOR", FieldKind::Text, 50},
                           {"CODIGOBARRAS", FieldKind::Text, 30},
                           {"UNIDADE", FieldKind::Text, 10},
                           {"TOTAL", FieldKind::Float},
                           {"CODIGO", FieldKind::Integer}});
    rows_ = std::make_unique<report::DataSetRows>(TBRelatorio);

    report::Report& r = QuickRep1;
    r.documentName = QStringLiteral("Relatório de Estoque");
    r.margins = QMarginsF(8, 8, 8, 8);
    r.setRows(rows_.get());
    const double width = r.printableRect().width();

    r.title.height = 53.7;
    Titulo = r.title.addLabel(QStringLiteral("Titulo"), QStringLiteral("Relatório de Estoque"), 0,
                              0, width, kTitle);
    Titulo->alignment = Qt::AlignHCenter;
    company_ = addCompanyBlock(9, 4, width - 39.7, 39.7, kBold);
    Explicacao = r.title.addLabel(QStringLiteral("Explicacao"),
                                  QStringLiteral("Este relatório diz respeito as movimentações de "
                                                 "estoque"),
                                  0, 41.5, width, kBold);
    Explicacao2 = r.title.addLabel(QStringLiteral("Explicacao2"), {}, 0, 45.0, width, kBold);
    const struct {
        const char* caption;
        double left;
    } headings[] = {{"Código", 0},           {"Produto", 10.6},    {"Referência", 77.0},
                    {"Pr. Compra", 108.2},   {"Pr. Venda", 123.0}, {"UN", 136.0},
                    {"Est. Atual", 143.1},   {"Est. Mín.", 155.3}, {"Est. Máx.", 166.7},
                    {"Total(Compra)", 178.3}};
    for (const auto& h : headings)
        r.title.addLabel({}, QString::fromUtf8(h.caption), h.left, 49.6, 0, kBold);
    r.title.addLine(0, 53.4, width, 53.4, 0.1);

    r.detail.height = 5.0;
    const double y = (r.detail.height - report::lineHeight(kData)) / 2;
    data::ClientDataSet* tb = TBRelatorio;
    auto field = [&](const char* name, double left, double fieldWidth, auto text) {
        // Declared fields live as long as the dataset, open or closed.
        const data::Field* f = &tb->field(QString::fromLatin1(name));
        return r.detail.addField(
            f->name(), [f, text] { return text(*f); }, left, y, fieldWidth, kData);
    };
    auto plain = [](const data::Field& f) { return f.isNull() ? QString() : f.asString(); };
    auto number = [](const data::Field& f) {
        return f.isNull() ? QString() : format::floatToStr(f.asFloat());
    };
    auto money = [](const data::Field& f) { return f.displayText(); };
    items_ = {field("CODIGO", 0, 10.2, plain),
              field("DESCRICAO", 10.6, 66.1, plain),
              field("REFERENCIA", 77.0, 30.4, plain),
              field("PRECO_COMPRA", 108.2, 14.2, money),
              field("PRECO_VENDA", 122.8, 13.0, money),
              field("UNIDADE", 136.0, 6.9, plain),
              field("ESTOQUEATUAL", 143.1, 11.8, number),
              field("ESTOQUE_MINIMO", 155.3, 10.7, number),
              field("ESTOQUE_MAXIMO", 166.4, 11.5, number),
              field("TOTAL", 178.3, width - 178.3, number)};

    r.summary.height = 14;
    QuantidadeEstoque =
        r.summary.addCaptioned(QStringLiteral("Quantidade de Produtos em Estoque: "),
                               QStringLiteral("QuantidadeEstoque"), 0, 1.5, 0, kBold);
    txtTotalCompra = r.summary.addCaptioned(
        QStringLiteral("Valor Total do Estoque Baseado no Preço de Compra: "),
        QStringLiteral("txtTotalCompra"), 0, 5.5, 0, kBold);
    txtTotalVenda =
        r.summary.addCaptioned(QStringLiteral("Valor Total do Estoque Baseado no Preço de Venda: "),
                               QStringLiteral("txtTotalVenda"), 0, 9.5, 0, kBold);

    addFooter(kBold); // "Quiru", with no version in this report

    r.title.beforePrint = [this] { QRBand4BeforePrint(); };
    r.detail.beforePrint = [this] { QRBand2BeforePrint(); };
    r.summary.beforePrint = [this] { QRBand1BeforePrint(); };
}

TFRelatorioEstoque::~TFRelatorioEstoque() {
    if (FRelatorioEstoque == this)
        FRelatorioEstoque = nullptr;
}

double TFRelatorioEstoque::value(const char* column) const {
    const data::Field& f = TBRelatorio->field(QString::fromLatin1(column));
    return f.isNull() ? 0 : f.asFloat();
}

void TFRelatorioEstoque::QRBand4BeforePrint() {
    fillCompanyBlock(company_);
    soma_estoque = 0;
    soma_compra = 0;
    soma_venda = 0;
    linha_branca = true;
}

void TFRelatorioEstoque::QRBand2BeforePrint() {
    const double estoque = value("ESTOQUEATUAL");
    soma_estoque += estoque;
    paintRow(linha_branca, items_);
    const QColor ink = estoque > 0 ? QColor(Qt::black) : kRed;
    for (report::Item* item : items_)
        item->colour = ink;
    soma_compra += estoque * value("PRECO_COMPRA");
    soma_venda += estoque * value("PRECO_VENDA");
}

void TFRelatorioEstoque::QRBand1BeforePrint() {
    QuantidadeEstoque->setCaption(format::floatToStr(soma_estoque));
    txtTotalCompra->setCaption(
        format::formatFloat(QStringLiteral("R$###,###,###.00"), soma_compra));
    txtTotalVenda->setCaption(format::formatFloat(QStringLiteral("R$###,###,###.00"), soma_venda));
}
