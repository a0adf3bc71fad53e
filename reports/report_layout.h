#pragma once
// What the four printed reports share: the report object, the company block of the title band
// (from the data module's current company row), the footer with the program's name and the
// maker's address, the white and cream rows, and the ways a report goes out (preview, print).
#include "platform/report/report.h"
#include <QObject>
#include <span>

#include "platform/data/field_def.h"
#include <initializer_list>

class QWidget;
namespace data {
class ClientDataSet;
class SqlQuery;
} // namespace data

// A total quantity as people read it: thousands grouped, up to three decimals ("1.912.934",
// "160,5").
QString quantityText(double total);

class ReportLayout : public QObject {
    Q_OBJECT
public:
    explicit ReportLayout(QObject* owner);

    report::Report QuickRep1;

    void preview(QWidget* parent);
    void print(QWidget* parent); // straight to the default printer

    // What "Gerar em Excel" copies (the report's rows, every field) and the caption it gives the
    // spreadsheet window.
    virtual data::ClientDataSet* exportedRows() const = 0;
    virtual QString exportCaption() const = 0;

    static const QColor kWhite;
    static const QColor kCream;
    static const QColor kRed;

protected:
    struct ReportField {
        const char* name;
        data::FieldKind kind;
        int size = 0; // text length
        bool currency = false;
    };
    // The report's own query on the main database and the dataset reading it, with its fields
    // in the query's column order. CODIGO, where there is one, is required.
    data::ClientDataSet* makeReportDataSet(const QString& queryName, data::SqlQuery*& query,
                                           const QString& datasetName,
                                           std::initializer_list<ReportField> fields);

    struct CompanyBlock {
        report::Item* txtEmpresa;
        report::Item* txtEndereco;
        report::Item* txtCidade;
        report::Item* txtEstado;
        report::Item* txtCNPJ;
        report::Item* logo;
    };
    // Four lines from top, each a bold caption and its value; the logo in a square at logoLeft.
    CompanyBlock addCompanyBlock(double top, double lineStep, double logoLeft, double logoSide,
                                 const report::Font& font);
    // Copies the data module's current company row into the block (it neither opens nor moves
    // the company dataset).
    void fillCompanyBlock(const CompanyBlock& block);
    // Versao at the left, the maker's address at the right. Returns Versao.
    report::Item* addFooter(const report::Font& font);
    // Paints a detail row and its items white or cream, and flips the flag for the next one.
    void paintRow(bool& linhaBranca, std::span<report::Item* const> items);
};
