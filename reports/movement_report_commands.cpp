#include "reports/movement_report_commands.h"
#include "platform/ui/dialogs.h"
#include "reports/movement_report_filter_window.h"
#include <QScopeGuard>
#include <memory>

void openMovementReportFilter(QWidget* owner,
                              const std::function<void(TFFiltroMovimentacoes*)>& presets) {
    // The window and its global go away together, even when a preset or the window throws.
    auto window = std::make_unique<TFFiltroMovimentacoes>(owner);
    FFiltroMovimentacoes = window.get();
    const auto forget = qScopeGuard([] { FFiltroMovimentacoes = nullptr; });
    presets(window.get());
    ui::dialogs().showModal(window.get());
}

void openStockMovementReport(QWidget* owner) {
    openMovementReportFilter(owner, [](TFFiltroMovimentacoes* w) {
        w->setWindowTitle(QStringLiteral("Relatório de Movimentações no Estoque"));
    });
}
