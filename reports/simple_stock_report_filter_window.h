#pragma once
// Chooses the products of the simple stock report (all, or a range of descriptions) and their
// order, and builds it (gerar_relatorio) on a new simple stock report layout.
#include "reports/report_filter_window.h"

class QLineEdit;
namespace ui {
class RadioGroup;
}

class TFFiltroEstoqueSimples : public ReportFilterWindow {
    Q_OBJECT
public:
    explicit TFFiltroEstoqueSimples(QWidget* parent = nullptr);

    QLineEdit* txtInicio;
    QLineEdit* txtFim;
    ui::RadioGroup* RGFiltrarPor;
    ui::RadioGroup* RGOrdenar;

    void gerar_relatorio(); // on a new layout, FRelatorioEstoqueSimples

protected:
    void FormShow() override;
    ReportLayout* buildReport() override;
    bool eventFilter(QObject* watched, QEvent* event) override;
};

extern TFFiltroEstoqueSimples* FFiltroEstoqueSimples;
