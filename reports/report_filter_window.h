#pragma once
// The frame the four report filters share: a fixed dialog centred on the desktop, one page with
// a blank tab for the window's own choices, and the Imprimir, Visualizar, Gerar em Excel and Sair
// buttons along the bottom. Visualizar and Imprimir build the report on a new layout (the one
// built before is freed) and preview it or send it to the default printer.
#include "platform/ui/form.h"
#include <QDate>

class QBoxLayout;
class QComboBox;
class QPushButton;
class ReportLayout;
namespace data {
class ClientDataSet;
class SqlQuery;
} // namespace data
namespace ui {
class MaskEdit;
}

class ReportFilterWindow : public ui::Form {
    Q_OBJECT
public:
    ReportFilterWindow(QWidget* parent, const QString& name, const QString& caption);

    QPushButton* btnImprimir;
    QPushButton* btnVisualizar;
    QPushButton* btnExcel;
    QPushButton* btnSair;

    void btnImprimirClick();
    void btnVisualizarClick();
    void btnExcelClick();
    void btnSairClick();

protected:
    // Builds the report (the window's montar_relatorio) and returns its layout, or nullptr when
    // nothing was built: the user was told why, or cancelled.
    virtual ReportLayout* buildReport() = 0;

    // The blank tab's page; the window lays its controls out on it, then calls finish().
    QWidget* page() const { return page_; }
    void finish(QBoxLayout* pageLayout);

    // Replaces the newest layout with a new one owned by this window, freeing the old one first
    // so that repeated runs of a large report hold one report's rows at a time.
    template <typename Layout> Layout* newLayout(Layout*& newest) {
        delete newest;
        newest = nullptr;
        newest = new Layout(this);
        return newest;
    }

    static QComboBox* makeComboBox(QWidget* parent, const char* name, bool upperCase);
    // Refreshes the dataset from the server and lists one column of every row, in its order.
    static void fillComboBox(QComboBox* list, data::ClientDataSet* dataset, const QString& column);
    // A period date as typed; throws the conversion's error (and takes the focus there) when the
    // text is not a date.
    static QDate periodDate(ui::MaskEdit* edit);
    static ui::MaskEdit* makeDateEdit(QWidget* parent, const char* name);

private:
    QWidget* page_;
};

// An ORDER BY term for a name as the windows' lists sort it (accents and case folded, so "AÇO"
// comes before "ALUMÍNIO" and "ÓLEO" among the O's), the exact text breaking ties.
QString byName(const QString& column, bool descending = false);
// The last ORDER BY terms of a movement report: rows of an equal key in date and time order.
extern const QString kMovementsInTimeOrder;

// Copies a query's SQL text and its parameters, with their values, into another.
void copyQuery(const data::SqlQuery& from, data::SqlQuery& to);
