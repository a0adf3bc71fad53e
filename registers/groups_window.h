#pragma once
// The groups products are classified by. Deleting a group is refused while subgroups or
// products name it.
#include "registers/register_window.h"

class TFGrupo : public RegisterWindow {
    Q_OBJECT
public:
    explicit TFGrupo(QWidget* parent = nullptr);

    ui::DBEdit* DBEdit2; // DESCRICAO
    data::SqlQuery* QSubgrupoGrupo;
    data::SqlQuery* QProdutoGrupo;

protected:
    // For windows built on this one's layout (subgroups).
    TFGrupo(QWidget* parent, const Setup& setup);
    void gridEnter() override { showForm(); }
    void TabSheet2Show() override;
};

extern TFGrupo* FGrupo;
