#include "reports/simple_stock_report_layout.h"
#include "core/data_module.h"
#include "core/globals.h"
#include "platform/data/client_dataset.h"
#include "platform/data/sql_query.h"
#include "platform/format/format.h"
#include "platform/report/rows.h"
#include <QDateTime>

TFRelatorioEstoqueSimples* FRelatorioEstoqueSimples = nullptr;

namespace {
const report::Font kCell{QStringLiteral("Arial"), 8, false};
const report::Font kHeading{QStringLiteral("Arial"), 8, true};
const report::Font kCompany{QStringLiteral("Arial"), 7, true};
const report::Font kLine{QStringLiteral("Arial"), 7, false};
const report::Font kTitle{QStringLiteral("Arial"), 10, true};
// The table's vertical rules, mm from the left margin.
constexpr double kRules[] = {0, 14.0, 147.6, 159.8, 189.7};
} // namespace

TFRelatorioEstoqueSimples::TFRelatorioEstoqueSimples(QObject* owner)
    : ReportLayout(owner), now([] { return QDateTime::currentDateTime(); }) {
    setObjectName(QStringLiteral("FRelatorioEstoqueSimples"));
    using data::FieldKind;
    TBEstoque = makeReportDataSet(QStringLiteral("QEstoque"), QEstoque, QStringLiteral("TBEstoque"),
                                  {{"CODIGO", FieldKind::Integer},
                                   {"DESCRICAO", FieldKind::Text, 50},
                                   {"UNIDADE", FieldKind::Text, 10},
                                   {"ESTOQUEATUAL", FieldKind::Float}});
    rows_ = std::make_unique<report::DataSetRows>(TBEstoque);

    report::Report& r = QuickRep1;
    r.documentName = QStringLiteral("Relatório de Estoque Simples");
    r.margins = QMarginsF(10, 10, 10, 10);
    r.setRows(rows_.get());
    const double width = r.printableRect().width();

    auto rules = [&](report::Band& band, double top, double bottom) {
        for (double x : kRules)
            band.addLine(x, top, x, bottom, 0.15);
    };

    r.title.height = 42;
    txtDataHorario2 = r.title.addLabel(QStringLiteral("txtDataHorario2"), {}, 0, 0, 0, kLine);
    Titulo = r.title.addLabel(QStringLiteral("Titulo"), QStringLiteral("Relatório de Estoque"), 0,
                              4, width - 35, kTitle);
    Titulo->alignment = Qt::AlignHCenter;
    company_ = addCompanyBlock(12, 4, width - 33.1, 33.1, kCompany);
    Explicacao = r.title.addLabel(QStringLiteral("Explicacao"), {}, 0, 30, 0, kCompany);
    const double head = 36.5;
    r.title.addLine(0, head, width, head, 0.15);
    r.title.addLine(0, r.title.height, width, r.title.height, 0.15);
    rules(r.title, head, r.title.height);
    const double headY = head + (r.title.height - head - report::lineHeight(kHeading)) / 2;
    r.title.addLabel({}, QStringLiteral("Código"), 1.1, headY, 0, kHeading);
    r.title.addLabel({}, QStringLiteral("Descrição do Produto"), 14.8, headY, 0, kHeading);
    r.title.addLabel({}, QStringLiteral("UN"), 148.2, headY, 0, kHeading);
    r.title.addLabel({}, QStringLiteral("Estoque Atual"), 160.6, headY, 0, kHeading);

    r.detail.height = 5.0;
    const double y = (r.detail.height - report::lineHeight(kCell)) / 2;
    data::ClientDataSet* tb = TBEstoque;
    auto field = [&](const char* name, double left, double fieldWidth) {
        const data::Field* f = &tb->field(QString::fromLatin1(name));
        return r.detail.addField(
            f->name(),
            [f] {
                if (f->isNull())
                    return QString();
                return f->kind() == data::FieldKind::Float ? format::floatToStr(f->asFloat())
                                                           : f->asString();
            },
            left, y, fieldWidth, kCell);
    };
    items_ = {field("CODIGO", 1.1, 12.5), field("DESCRICAO", 14.8, 132.3),
              field("UNIDADE", 148.2, 11.2), field("ESTOQUEATUAL", 160.6, 28.7)};
    rules(r.detail, 0, r.detail.height);
    r.detail.addLine(0, r.detail.height, width, r.detail.height, 0.15);

    r.summary.height = 10;
    txtQuantidadeEstoque =
        r.summary.addCaptioned(QStringLiteral("Quantidade de Produtos em Estoque: "),
                               QStringLiteral("txtQuantidadeEstoque"), 50.8, 1.5, 0, kHeading);
    txtDataHorario = r.summary.addLabel(QStringLiteral("txtDataHorario"), {}, 0, 6, 0, kLine);

    addFooter(kCompany);

    r.title.beforePrint = [this] { QRBand4BeforePrint(); };
    r.detail.beforePrint = [this] { QRBand2BeforePrint(); };
    r.summary.beforePrint = [this] { QRBand1BeforePrint(); };
}

TFRelatorioEstoqueSimples::~TFRelatorioEstoqueSimples() {
    if (FRelatorioEstoqueSimples == this)
        FRelatorioEstoqueSimples = nullptr;
}

QString TFRelatorioEstoqueSimples::generationLine() const {
    const QDateTime moment = now();
    return QStringLiteral("Relatório Gerado dia ") + format::dateToStr(moment.date()) +
           QStringLiteral(" às ") + format::timeToStr(moment.time());
}

void TFRelatorioEstoqueSimples::QRBand4BeforePrint() {
    fillCompanyBlock(company_);
    txtDataHorario2->setCaption(generationLine());
    soma_estoque = 0;
    linha_branca = true;
}

void TFRelatorioEstoqueSimples::QRBand2BeforePrint() {
    const data::Field& estoque = TBEstoque->field(QStringLiteral("ESTOQUEATUAL"));
    const double value = estoque.isNull() ? 0 : estoque.asFloat();
    soma_estoque += value;
    paintRow(linha_branca, items_);
    const QColor ink = value > 0 ? QColor(Qt::black) : kRed;
    for (report::Item* item : items_)
        item->colour = ink;
}

void TFRelatorioEstoqueSimples::QRBand1BeforePrint() {
    txtQuantidadeEstoque->setCaption(
        format::formatFloat(QStringLiteral("###,###,##0.00"), soma_estoque));
    txtDataHorario->setCaption(generationLine());
}
