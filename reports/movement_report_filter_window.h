#pragma once
// Chooses which movements a movement report shows: kind, filter, order and period, and builds
// the report (montar_relatorio) on a new movement report layout.
#include "reports/report_filter_window.h"

class QComboBox;
class TFRelatorioMovimentacoes;
namespace ui {
class MaskEdit;
class RadioGroup;
} // namespace ui

class TFFiltroMovimentacoes : public ReportFilterWindow {
    Q_OBJECT
public:
    explicit TFFiltroMovimentacoes(QWidget* parent = nullptr);

    ui::RadioGroup* RGRelatorio;
    ui::RadioGroup* RGFiltro;
    ui::RadioGroup* RGOrdenar;
    ui::MaskEdit* txtDataInicial;
    ui::MaskEdit* txtDataFinal;
    QComboBox* CBCliente;
    QComboBox* CBProduto;
    QComboBox* CBFornecedor;
    QComboBox* CBGrupo;
    QComboBox* CBSubgrupo;

    // Builds the report on a new layout (FRelatorioMovimentacoes). False when a name the filter
    // needs is not found (the user was told, and the window closes) or the user cancelled.
    bool montar_relatorio();

protected:
    void FormShow() override;
    ReportLayout* buildReport() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildLayout();
    // Finds the combo box's whole text in a data module dataset (exact, case-sensitive, which
    // leaves that dataset on the found row); tells the user and closes the window when missing.
    bool locateName(QComboBox* list, data::ClientDataSet* dataset, const QString& column,
                    const QString& notFound);
    bool addFilter(data::SqlQuery& query);
};

extern TFFiltroMovimentacoes* FFiltroMovimentacoes;
