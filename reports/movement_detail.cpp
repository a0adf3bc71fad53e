#include "reports/movement_detail.h"
#include "platform/format/format.h"

QString moneyText(const report::QueryRows& rows, int column) {
    return rows.isNull(column) ? QString() : format::currencyToStr(rows.real(column));
}

void MovementDetail::build(report::Band& band, const Columns& columns, const report::Font& font) {
    const auto& x = columns.left;
    // Every column ends where the next begins, so a long value is cut instead of overlapping.
    auto width = [&](std::size_t i) { return (i + 1 < x.size() ? x[i + 1] : 190.0) - x[i] - 0.4; };
    const double y = (band.height - report::lineHeight(font)) / 2;
    auto field = [&](const char* name, std::size_t i, double w, std::function<QString()> source) {
        return band.addField(QString::fromLatin1(name), std::move(source), x[i], y, w, font);
    };
    PRODUTO = field("PRODUTO", 0, columns.produtoWidth, [this] { return rows_->text(PRODUTO_); });
    QUANTIDADE = field("QUANTIDADE", 1, width(1), [this] { return rows_->plainText(QUANTIDADE_); });
    PRECO_UNITARIO =
        field("PRECO_UNITARIO", 2, width(2), [this] { return moneyText(*rows_, PRECO_UNITARIO_); });
    PRECO_TOTAL =
        field("PRECO_TOTAL", 3, width(3), [this] { return moneyText(*rows_, PRECO_TOTAL_); });
    txtFornecedor =
        band.addLabel(QStringLiteral("txtFornecedor"), {}, x[4], y, columns.fornecedorWidth, font);
    DATA = field("DATA", 5, width(5), [this] { return rows_->plainText(DATA_); });
    HORARIO = field("HORARIO", 6, width(6), [this] { return rows_->plainText(HORARIO_); });
    NOTA_COMPRA = field("NOTA_COMPRA", 7, width(7), [this] { return rows_->text(NOTA_COMPRA_); });
    txtTipo = band.addLabel(QStringLiteral("txtTipo"), {}, x[8], y, width(8), font);
    all_ = {PRODUTO, QUANTIDADE, PRECO_UNITARIO, PRECO_TOTAL, txtFornecedor,
            DATA,    HORARIO,    NOTA_COMPRA,    txtTipo};
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
