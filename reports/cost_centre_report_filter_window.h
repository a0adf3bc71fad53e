#pragma once
// Chooses the cost centre whose movements the cost centre report lists, and builds it
// (montar_relatorio) on a new cost centre report layout.
#include "reports/report_filter_window.h"

class QComboBox;

class TFFiltroCentroCusto : public ReportFilterWindow {
    Q_OBJECT
public:
    explicit TFFiltroCentroCusto(QWidget* parent = nullptr);

    QComboBox* CBCentro;

    // Builds the report on a new layout (FRelatorioCentro). A name not found is reported and
    // the report is built for the code 0. False only when the user cancelled.
    bool montar_relatorio();

protected:
    void FormShow() override;
    ReportLayout* buildReport() override;
};

extern TFFiltroCentroCusto* FFiltroCentroCusto;
