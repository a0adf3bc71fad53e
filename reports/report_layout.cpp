#include "reports/report_layout.h"
#include "core/data_module.h"
#include "core/globals.h"
#include "platform/data/client_dataset.h"
#include "platform/data/sql_query.h"
#include "platform/format/format.h"
#include "platform/report/output.h"
#include "platform/report/preview_window.h"

QString quantityText(double total) {
    return format::formatFloat(QStringLiteral("#,##0.###"), total);
}

const QColor ReportLayout::kWhite(255, 255, 255);
const QColor ReportLayout::kCream(255, 251, 240);
const QColor ReportLayout::kRed(255, 0, 0);

namespace {
const QString kMakerAddress = QStringLiteral("www.quiru.com.br");
} // namespace

ReportLayout::ReportLayout(QObject* owner) : QObject(owner) {}

void ReportLayout::preview(QWidget* parent) {
    report::preview(QuickRep1, parent);
}

void ReportLayout::print(QWidget* parent) {
    report::printDirect(QuickRep1, parent);
}

ReportLayout::CompanyBlock ReportLayout::addCompanyBlock(double top, double lineStep,
                                                         double logoLeft, double logoSide,
                                                         const report::Font& font) {
    report::Band& band = QuickRep1.title;
    auto line = [&](const QString& caption, const char* name, double x, double y, double valueX,
                    double width) {
        band.addLabel({}, caption, x, y, 0, font);
        return band.addLabel(QString::fromLatin1(name), {}, valueX, y, width, font);
    };
    CompanyBlock block;
    const double value = 14; // the values line up after the longest caption, "Endereço: "
    block.txtEmpresa =
        line(QStringLiteral("Empresa: "), "txtEmpresa", 0, top, value, logoLeft - value - 2);
    block.txtEndereco = line(QStringLiteral("Endereço: "), "txtEndereco", 0, top + lineStep, value,
                             logoLeft - value - 2);
    block.txtCidade =
        line(QStringLiteral("Cidade: "), "txtCidade", 0, top + 2 * lineStep, value, 61 - value - 2);
    block.txtEstado =
        line(QStringLiteral("Estado: "), "txtEstado", 61, top + 2 * lineStep, 61 + 11, 10);
    block.txtCNPJ = line(QStringLiteral("CNPJ: "), "txtCNPJ", 0, top + 3 * lineStep, value, 60);
    block.logo =
        band.addImage(QStringLiteral("QRDBImage1"), QRectF(logoLeft, 0, logoSide, logoSide));
    return block;
}

void ReportLayout::fillCompanyBlock(const CompanyBlock& block) {
    data::ClientDataSet* company = DM->TBEMPRESA;
    const bool hasRow = company->active() && !company->isEmpty();
    auto text = [&](const char* column) {
        return hasRow ? company->field(QString::fromLatin1(column)).asString() : QString();
    };
    block.txtEmpresa->setCaption(text("RAZAO_SOCIAL"));
    block.txtEndereco->setCaption(text("ENDERECO"));
    block.txtCidade->setCaption(text("CIDADE"));
    block.txtEstado->setCaption(text("UF"));
    block.txtCNPJ->setCaption(text("CNPJ"));
    // A picture that cannot be read leaves the square empty; the report still prints.
    block.logo->image =
        hasRow ? QImage::fromData(company->field(QStringLiteral("LOGO")).asBlob()) : QImage();
}

report::Item* ReportLayout::addFooter(const report::Font& font) {
    report::Band& band = QuickRep1.pageFooter;
    band.height = 5;
    band.addLine(0, 0.5, QuickRep1.printableRect().width(), 0.5, 0.1);
    report::Item* versao =
        band.addLabel(QStringLiteral("Versao"), QStringLiteral("Quiru"), 0, 1.2, 0, font);
    report::Item* site = band.addLabel(QStringLiteral("Site"), kMakerAddress, 0, 1.2,
                                       QuickRep1.printableRect().width(), font);
    site->alignment = Qt::AlignRight;
    return versao;
}

void ReportLayout::paintRow(bool& linhaBranca, std::span<report::Item* const> items) {
    const QColor colour = linhaBranca ? kWhite : kCream;
    QuickRep1.detail.background = colour;
    for (report::Item* item : items)
        item->background = colour;
    linhaBranca = !linhaBranca;
}

data::ClientDataSet* ReportLayout::makeReportDataSet(const QString& queryName,
                                                     data::SqlQuery*& query,
                                                     const QString& datasetName,
                                                     std::initializer_list<ReportField> fields) {
    query = new data::SqlQuery(DM->SQLConnection1, this);
    query->setObjectName(queryName);
    auto* dataset = new data::ClientDataSet(this);
    dataset->setObjectName(datasetName);
    dataset->setQuery(query);
    for (const ReportField& f : fields) {
        data::FieldDef def;
        def.name = QString::fromLatin1(f.name);
        def.kind = f.kind;
        def.size = f.size;
        def.currency = f.currency;
        def.required = def.name == QLatin1String("CODIGO");
        def.componentName = datasetName + def.name;
        dataset->addField(def);
    }
    return dataset;
}
