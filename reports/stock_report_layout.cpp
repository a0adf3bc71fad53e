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
    r.title.addLine(0, 53.4, width, 53.4, 0.1);

    r.detail.height = 5.0;
    const double y = (r.detail.height - report::lineHeight(kData)) / 2;
    data::ClientDataSet* tb = TBRelatorio;
    auto plain = [](const data::Field& f) { return f.isNull() ? QString() : f.asString(); };
    auto number = [](const data::Field& f) {
        return f.isNull() ? QString() : format::floatToStr(f.asFloat());
    };
    auto money = [](const data::Field& f) {
        return f.isNull() ? QString() : format::currencyToStr(f.asFloat());
    };
    using Text = QString (*)(const data::Field&);
    constexpr Qt::Alignment L = Qt::AlignLeft, R = Qt::AlignRight;
    // Numbers right-aligned in columns as wide as the widest a shop stores ("R$ 99.999,99",
    // "-99999,999"); the names share what is left; a gap between any two columns.
    const struct {
        const char* heading;
        const char* field;
        double width;
        Qt::Alignment alignment;
        Text text;
    } columns[] = {
        {"Código", "CODIGO", 9.0, L, plain},
        {"Produto", "DESCRICAO", 0, L, plain},
        {"Referência", "REFERENCIA", 22.0, L, plain},
        {"Pr. Compra", "PRECO_COMPRA", 15.0, R, money},
        {"Pr. Venda", "PRECO_VENDA", 15.0, R, money},
        {"UN", "UNIDADE", 8.0, L, plain},
        {"Est. Atual", "ESTOQUEATUAL", 12.8, R, number},
        {"Est. Mín.", "ESTOQUE_MINIMO", 10.8, R, number},
        {"Est. Máx.", "ESTOQUE_MAXIMO", 11.0, R, number},
        {"Total(Compra)", "TOTAL", 26.0, R, money},
    };
    constexpr double kGap = 1.2;
    double fixed = kGap * (std::size(columns) - 1);
    for (const auto& c : columns)
        fixed += c.width;
    double left = 0;
    for (const auto& c : columns) {
        const double w = c.width > 0 ? c.width : width - fixed;
        r.title.addLabel({}, QString::fromUtf8(c.heading), left, 49.6, w, kBold)->alignment =
            c.alignment;
        // Declared fields live as long as the dataset, open or closed.
        const data::Field* f = &tb->field(QString::fromLatin1(c.field));
        report::Item* item = r.detail.addField(
            f->name(), [f, text = c.text] { return text(*f); }, left, y, w, kData);
        item->alignment = c.alignment;
        items_.push_back(item);
        left += w + kGap;
    }

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
    QuantidadeEstoque->setCaption(quantityText(soma_estoque));
    txtTotalCompra->setCaption(
        format::formatFloat(QStringLiteral("R$###,###,###.00"), soma_compra));
    txtTotalVenda->setCaption(format::formatFloat(QStringLiteral("R$###,###,###.00"), soma_venda));
}
