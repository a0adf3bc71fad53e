#pragma once
// The subgroups within a group, on the groups window's layout: the group is typed as a code or
// chosen from a list, and the groups window can be opened to look one up or add it.
#include "registers/groups_window.h"

class QPushButton;

class TFSubGrupo : public TFGrupo {
    Q_OBJECT
public:
    explicit TFSubGrupo(QWidget* parent = nullptr);

    ui::DBEdit* DBEdit3; // GRUPO
    ui::DBLookupComboBox* DBLookupComboBox1;
    QPushButton* btnGrupo;
    QLineEdit* Edit2; // this window's focus sink
    ui::DBGrid* DBGrid2;
    data::SqlQuery* QProdutosSubgrupo;

    void btnGrupoClick();

protected:
    QLineEdit* focusSink() const override { return Edit2; }
    void openLookups() override;
    void gridDoubleClick() override {} // only Enter returns from this list
    void TabSheet2Show() override;
};

extern TFSubGrupo* FSubGrupo;
