#pragma once
// Lists the recorded entries or exits (consulta_entradas), filtered by product, supplier,
// customer and period. The row left current in the grid becomes the current movement of the
// shared movement dataset when the window closes, so the entry and exit windows use it as a finder.
#include "platform/ui/form.h"
#include <QColor>
#include <QDate>
#include <optional>

class QComboBox;
class QPushButton;
namespace data {
class ClientDataSet;
class DataSource;
class SqlQuery;
} // namespace data
namespace ui {
class DBGrid;
class MaskEdit;
} // namespace ui

class TFConsultaMovimentacoes : public ui::Form {
    Q_OBJECT
public:
    explicit TFConsultaMovimentacoes(QWidget* parent = nullptr);

    data::SqlQuery* QMovimentacao;
    data::ClientDataSet* TBMovimentacao;
    data::DataSource* DSMovimentacao;

    QComboBox* CBProduto;
    QComboBox* CBFornecedor;
    QComboBox* CBCliente;
    ui::MaskEdit* txtDataInicial;
    ui::MaskEdit* txtDataFinal;
    QPushButton* btnImprimir;
    QPushButton* btnBuscar;
    QPushButton* btnSair;
    ui::DBGrid* DBGrid1;

    void aplicar_cor();
    void btnBuscarClick();
    void DBGrid1DblClick();
    void btnImprimirClick();
    void btnSairClick();

protected:
    void FormShow() override;
    void FormClose() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildLayout();
    void defineDataSet();
    void paintBackground(const QColor& colour);
    void fillLists();
    // The period's date, or nullopt after telling the user it is not one.
    std::optional<QDate> periodDate(ui::MaskEdit* edit, const QString& message);
    // Adds the condition of a list whose text names a row of dataset (ignoring case).
    void addListCondition(QComboBox* list, data::ClientDataSet* dataset, const QString& nameField,
                          const QStringList& lines, const QString& parameter);
};

extern TFConsultaMovimentacoes* FConsultaMovimentacoes;

// The background colour named by a line of the colour file: a decimal number or "$00BBGGRR"
// (both blue-green-red, lowest byte red), "#RRGGBB" or a colour name. nullopt when unreadable.
std::optional<QColor> parseBackgroundColour(const QString& line);

// Positions the shared products on the product of the current movement, as soon as it is read;
// the callers of the movement query do it once the window has closed. Nothing moves when there
// is no such product. Whoever uses the product's figures finds or reads it again first.
void locateProductOfCurrentMovement();
