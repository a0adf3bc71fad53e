#pragma once
// The detail row the movement and cost centre reports both print: product, quantity, unit and
// total price, supplier or customer, date, time, invoice and kind, read from the rows of their
// query. Entries show the supplier and "Entrada", anything else the customer and "Saída".
#include "platform/report/rows.h"
#include <array>
#include <span>

class MovementDetail {
public:
    // Builds the row's nine columns across `width` mm: each number right-aligned in a column as
    // wide as the widest a shop stores, the names sharing what is left, a gap between any two.
    void build(report::Band& band, double width, const report::Font& font);
    // The column titles, in printing order, each over its column and aligned as its values.
    void addHeadings(report::Band& band, double top, const std::array<const char*, 9>& titles,
                     const report::Font& font) const;
    // After the rows are read: where each column sits in them.
    void bind(const report::QueryRows& rows);

    bool isEntry() const; // TIPO is exactly "ENTRADA"
    double quantidade() const { return rows_->real(QUANTIDADE_); }
    double precoTotal() const { return rows_->real(PRECO_TOTAL_); }
    const report::QueryRows& rows() const { return *rows_; }
    // Supplier or customer, and the kind's word.
    void fillParty();

    report::Item* PRODUTO;
    report::Item* QUANTIDADE;
    report::Item* PRECO_UNITARIO;
    report::Item* PRECO_TOTAL;
    report::Item* txtFornecedor;
    report::Item* DATA;
    report::Item* HORARIO;
    report::Item* NOTA_COMPRA;
    report::Item* txtTipo;
    std::span<report::Item* const> items() const { return all_; }

private:
    const report::QueryRows* rows_ = nullptr;
    int PRODUTO_ = 0, QUANTIDADE_ = 0, PRECO_UNITARIO_ = 0, PRECO_TOTAL_ = 0, DATA_ = 0,
        HORARIO_ = 0, NOTA_COMPRA_ = 0, FORNECEDOR_ = 0, CLIENTE_ = 0, TIPO_ = 0;
    std::array<report::Item*, 9> all_{};
    struct Place {
        double left, width;
        Qt::Alignment alignment;
    };
    std::array<Place, 9> places_{};
};

// The money a money column shows ("R$ 1.234,50"); nothing for an empty value.
QString moneyText(const report::QueryRows& rows, int column);
