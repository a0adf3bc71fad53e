#pragma once
// Chooses which movements a movement report shows: kind, filter, order and period.
#include <QDialog>

class QPushButton;
namespace ui {
class RadioGroup;
}

class TFFiltroMovimentacoes : public QDialog {
    Q_OBJECT
public:
    explicit TFFiltroMovimentacoes(QWidget* parent = nullptr);

    ui::RadioGroup* RGRelatorio;
    ui::RadioGroup* RGFiltro;
    ui::RadioGroup* RGOrdenar;
    QPushButton* btnSair;
};

extern TFFiltroMovimentacoes* FFiltroMovimentacoes;
