#pragma once
// The printed labels: sheets of one layout, each label with the product's description, its sale
// price and its bar code as a vector symbol: EAN-13 where the code is a valid EAN-13 (what the
// shelves' scanners expect of goods), Code 128 for any other code, so it reads back as stored.
// A detail row of the report is one row of labels across the sheet.
#include "platform/report/report.h"
#include "reports/label_sheet.h"
#include <array>
#include <vector>

struct Label {
    QString description;
    QString price;   // as shown, "R$ 12,50"
    QString barCode; // "" prints no symbol
};

// EAN-13 where the code is a valid EAN-13, Code 128 otherwise.
report::Symbology symbologyFor(const QString& barCode);

class TFRelatorioEtiquetas {
public:
    TFRelatorioEtiquetas(const LabelSheet& sheet, std::vector<Label> labels);
    TFRelatorioEtiquetas(const TFRelatorioEtiquetas&) = delete;
    TFRelatorioEtiquetas& operator=(const TFRelatorioEtiquetas&) = delete;

    report::Report QuickRep1;

private:
    class Rows : public report::RowSource {
    public:
        Rows(int labels, int columns) : labels_(labels), columns_(columns) {}
        int rowCount() const override { return (labels_ + columns_ - 1) / columns_; }
        void moveTo(int row) override { row_ = row; }
        int row() const { return row_; }

    private:
        int labels_;
        int columns_;
        int row_ = 0;
    };
    struct Cell {
        report::Item* description;
        report::Item* price;
        report::Item* symbol;
    };

    void QRBand2BeforePrint(); // fills the row's labels

    LabelSheet sheet_;
    std::vector<Label> labels_;
    Rows rows_;
    std::vector<Cell> cells_; // one per column
};
