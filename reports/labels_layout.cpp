#include "reports/labels_layout.h"
#include "core/bar_code.h"

namespace {
constexpr double kSide = 1.5; // mm kept clear inside a label's left and right edges
constexpr double kEdge = 1.0; // above and below
} // namespace

report::Symbology symbologyFor(const QString& barCode) {
    return barcode::isValidEan13(barCode) ? report::Symbology::Ean13 : report::Symbology::Code128;
}

TFRelatorioEtiquetas::TFRelatorioEtiquetas(const LabelSheet& sheet, std::vector<Label> labels)
    : sheet_(sheet), labels_(std::move(labels)), rows_(int(labels_.size()), sheet.columns) {
    QuickRep1.documentName = QStringLiteral("Etiquetas");
    // The printable area is exactly the labels' rows: a page takes `rows` of them.
    const double pitch = sheet.label.height() + sheet.down;
    const double width = sheet.columns * sheet.label.width() + (sheet.columns - 1) * sheet.across;
    QuickRep1.margins =
        QMarginsF(sheet.left, sheet.top, LabelSheet::kPage.width() - sheet.left - width,
                  LabelSheet::kPage.height() - sheet.top - sheet.rows * pitch);
    QuickRep1.setRows(&rows_);
    report::Band& band = QuickRep1.detail;
    band.height = pitch;
    // Small labels take small letters.
    report::Font text;
    text.points = sheet.label.height() < 20 ? 6 : 8;
    report::Font price = text;
    price.bold = true;
    const double inner = sheet.label.width() - 2 * kSide;
    const double line = report::lineHeight(text);
    for (int c = 0; c < sheet.columns; ++c) {
        const double x = c * (sheet.label.width() + sheet.across) + kSide;
        Cell cell;
        cell.description =
            band.addLabel(QStringLiteral("Descricao%1").arg(c), {}, x, kEdge, inner, text);
        cell.price =
            band.addLabel(QStringLiteral("Preco%1").arg(c), {}, x, kEdge + line, inner, price);
        const double top = kEdge + 2 * line;
        cell.symbol = band.addBarCode(QStringLiteral("Codigo%1").arg(c),
                                      QRectF(x, top, inner, sheet.label.height() - top - kEdge));
        cells_.push_back(cell);
    }
    band.beforePrint = [this] { QRBand2BeforePrint(); };
}

void TFRelatorioEtiquetas::QRBand2BeforePrint() {
    for (int c = 0; c < sheet_.columns; ++c) {
        const std::size_t index = std::size_t(rows_.row() * sheet_.columns + c);
        const Cell& cell = cells_[std::size_t(c)];
        const bool filled = index < labels_.size();
        cell.description->visible = cell.price->visible = filled;
        cell.symbol->visible = filled && !labels_[index].barCode.isEmpty();
        if (!filled)
            continue; // the last sheet's rest stays blank, for the next printing
        const Label& label = labels_[index];
        cell.description->caption = label.description;
        cell.price->caption = label.price;
        cell.symbol->caption = label.barCode;
        cell.symbol->symbology = symbologyFor(label.barCode);
    }
}
