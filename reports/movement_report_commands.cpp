#include "reports/movement_report_commands.h"
#include "platform/ui/modal.h"
#include "reports/movement_report_filter_window.h"

void openMovementReportFilter(QWidget* owner,
                              const std::function<void(TFFiltroMovimentacoes*)>& presets) {
    ui::openModal(owner, FFiltroMovimentacoes, presets);
}

void openStockMovementReport(QWidget* owner) {
    openMovementReportFilter(owner, [](TFFiltroMovimentacoes* w) {
        w->setWindowTitle(QStringLiteral("Relatório de Movimentações no Estoque"));
    });
}
