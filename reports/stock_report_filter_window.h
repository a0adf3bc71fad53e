#pragma once
// Chooses the products of the detailed stock report (one filter and the order) and builds it
// (montar_relatorio) on a new detailed stock report layout.
#include "reports/report_filter_window.h"

class QComboBox;
namespace ui {
class RadioGroup;
}

class TFFiltroEstoque : public ReportFilterWindow {
    Q_OBJECT
public:
    explicit TFFiltroEstoque(QWidget* parent = nullptr);

    ui::RadioGroup* RGFiltro;
    ui::RadioGroup* RGOrdenar;
    QComboBox* CBProduto;
    QComboBox* CBFornecedor;
    QComboBox* CBGrupo;
    QComboBox* CBSubgrupo;

    // Builds the report on a new layout (FRelatorioEstoque). False when the chosen group,
    // subgroup or supplier is not registered (the user was told; nothing is built).
    bool montar_relatorio();

protected:
    void FormShow() override;
    ReportLayout* buildReport() override;

private:
    // The code of the row whose column equals the combo box's text, after reading the dataset
    // again; nullopt (and the message) when there is none.
    std::optional<int> codeOf(QComboBox* list, data::ClientDataSet* dataset,
                              const QString& message);
};

extern TFFiltroEstoque* FFiltroEstoque;
