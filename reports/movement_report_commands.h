#pragma once
// Opening the movement report filter, shared by every command that shows it.
#include <functional>

class QWidget;
class TFFiltroMovimentacoes;

// Creates the filter window owned by owner, lets presets set it up, shows it modally and drops it.
void openMovementReportFilter(QWidget* owner,
                              const std::function<void(TFFiltroMovimentacoes*)>& presets);

// The general movement report: the filter window as designed, under its general caption.
void openStockMovementReport(QWidget* owner);
