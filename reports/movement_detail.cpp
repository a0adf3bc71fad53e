#include "reports/movement_detail.h"
#include "platform/format/format.h"

QString moneyText(const report::QueryRows& rows, int column) {
    return rows.isNull(column) ? QString() : format::currencyToStr(rows.real(column));
}

void MovementDetail::build(report::Band& band, double width, const report::Font& font) {
    constexpr double kGap = 1.2;
    // Fixed columns fit their widest values ("R$ 9.999.999,99", "23:59:59") and titles; the
    // product, the supplier or customer and the invoice share the rest, 2 : 2 : 1.
    constexpr Qt::Alignment L = Qt::AlignLeft, R = Qt::AlignRight;
    const double fixedWidths[] = {0, 10.0, 15.2, 18.6, 0, 12.6, 10.0, 0, 10.0};
    double fixed = 8 * kGap;
    for (double w : fixedWidths)
        fixed += w;
    const double share = (width - fixed) / 5;
    const double widths[] = {2 * share, 10.0, 15.2, 18.6, 2 * share, 12.6, 10.0, share, 10.0};
    const Qt::Alignment alignments[] = {L, R, R, R, L, L, L, L, L};
    double left = 0;
    for (std::size_t i = 0; i < places_.size(); ++i) {
        places_[i] = {left, widths[i], alignments[i]};
        left += widths[i] + kGap;
    }

    const double y = (band.height - report::lineHeight(font)) / 2;
    auto field = [&](const char* name, std::size_t i, std::function<QString()> source) {
        report::Item* item = source ? band.addField(QString::fromLatin1(name), std::move(source),
                                                    places_[i].left, y, places_[i].width, font)
                                    : band.addLabel(QString::fromLatin1(name), {}, places_[i].left,
                                                    y, places_[i].width, font);
        item->alignment = places_[i].alignment;
        return item;
    };
    PRODUTO = field("PRODUTO", 0, [this] { return rows_->text(PRODUTO_); });
    QUANTIDADE = field("QUANTIDADE", 1, [this] { return rows_->plainText(QUANTIDADE_); });
    PRECO_UNITARIO =
        field("PRECO_UNITARIO", 2, [this] { return moneyText(*rows_, PRECO_UNITARIO_); });
    PRECO_TOTAL = field("PRECO_TOTAL", 3, [this] { return moneyText(*rows_, PRECO_TOTAL_); });
    txtFornecedor = field("txtFornecedor", 4, {});
    DATA = field("DATA", 5, [this] { return rows_->plainText(DATA_); });
    HORARIO = field("HORARIO", 6, [this] { return rows_->plainText(HORARIO_); });
    NOTA_COMPRA = field("NOTA_COMPRA", 7, [this] { return rows_->text(NOTA_COMPRA_); });
    txtTipo = field("txtTipo", 8, {});
    all_ = {PRODUTO, QUANTIDADE, PRECO_UNITARIO, PRECO_TOTAL, txtFornecedor,
            DATA,    HORARIO,    NOTA_COMPRA,    txtTipo};
}

void MovementDetail::addHeadings(report::Band& band, double top,
                                 const std::array<const char*, 9>& titles,
                                 const report::Font& font) const {
    for (std::size_t i = 0; i < places_.size(); ++i)
        band.addLabel({}, QString::fromUtf8(titles[i]), places_[i].left, top, places_[i].width,
                      font)
            ->alignment = places_[i].alignment;
}

void MovementDetail::bind(const report::QueryRows& rows) {
    rows_ = &rows;
    PRODUTO_ = rows.column(QStringLiteral("PRODUTO"));
    QUANTIDADE_ = rows.column(QStringLiteral("QUANTIDADE"));
    PRECO_UNITARIO_ = rows.column(QStringLiteral("PRECO_UNITARIO"));
    PRECO_TOTAL_ = rows.column(QStringLiteral("PRECO_TOTAL"));
    DATA_ = rows.column(QStringLiteral("DATA"));
    HORARIO_ = rows.column(QStringLiteral("HORARIO"));
    NOTA_COMPRA_ = rows.column(QStringLiteral("NOTA_COMPRA"));
    FORNECEDOR_ = rows.column(QStringLiteral("FORNECEDOR"));
    CLIENTE_ = rows.column(QStringLiteral("CLIENTE"));
    TIPO_ = rows.column(QStringLiteral("TIPO"));
}

bool MovementDetail::isEntry() const {
    return rows_->text(TIPO_) == QLatin1String("ENTRADA");
}

void MovementDetail::fillParty() {
    if (isEntry()) {
        txtFornecedor->setCaption(rows_->text(FORNECEDOR_));
        txtTipo->setCaption(QStringLiteral("Entrada"));
    } else {
        txtFornecedor->setCaption(rows_->text(CLIENTE_));
        txtTipo->setCaption(QStringLiteral("Saída"));
    }
}
