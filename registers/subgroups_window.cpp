#include "registers/subgroups_window.h"
#include "core/data_module.h"
#include "core/globals.h"
#include "platform/ui/behaviours.h"
#include "platform/ui/db_edit.h"
#include "platform/ui/db_grid.h"
#include "platform/ui/db_lookup_combo_box.h"
#include "platform/ui/guard.h"
#include <QGridLayout>
#include <QLineEdit>
#include <QPushButton>

TFSubGrupo* FSubGrupo = nullptr;

TFSubGrupo::TFSubGrupo(QWidget* parent)
    : TFGrupo(parent, {"FSubGrupo",
                       QStringLiteral("Cadastro de Subgrupos"),
                       DM->DSSUBGRUPO,
                       QStringLiteral("DESCRICAO"),
                       false,
                       NextCode::ScanAfterReopen,
                       {}}) {
    ui::attachKeyMovement(DBEdit2);
    DBEdit3 = addEdit("DBEdit3", QStringLiteral("GRUPO"), QStringLiteral("GRUPO"));
    DBEdit3->setMaximumWidth(80);
    DBLookupComboBox1 =
        addLookup("DBLookupComboBox1", QStringLiteral("GRUPO"), DM->DSGRUPO, ListKeys | NoColours);
    btnGrupo =
        addPickButton("btnGrupo", QStringLiteral("..."), QStringLiteral("Consulta de Grupos"));
    ui::connectGuarded(btnGrupo, &QPushButton::clicked, this, [this] { btnGrupoClick(); });

    Edit2 = addFocusSink("Edit2");

    QProdutosSubgrupo =
        makeQuery("QProdutosSubgrupo", {QStringLiteral("SELECT TPRODUTO.* FROM TPRODUTO"),
                                        QStringLiteral("WHERE TPRODUTO.SUBGRUPO = :subgrupo")});
    addDependency(QProdutosSubgrupo, QStringLiteral("subgrupo"),
                  QStringLiteral("Não é possível excluir este subgrupo porque ele está associado "
                                 "a cadastros de produtos!"));

    // The groups window's list stays, hidden and unbound; this one takes its place.
    DBGrid1->setDataSource(nullptr);
    DBGrid1->hide();
    DBGrid2 = new ui::DBGrid(TabSheet2);
    DBGrid2->setObjectName(QStringLiteral("DBGrid2"));
    DBGrid2->setDataSource(DM->DSSUBGRUPO);
    DBGrid2->setColumns({{QStringLiteral("CODIGO"), QStringLiteral("CÓDIGO"), 60},
                         {QStringLiteral("DESCRICAO"), QStringLiteral("DESCRIÇÃO"), 300}});
    TabSheet2->layout()->addWidget(DBGrid2);
    ui::connectGuarded(DBGrid2, &ui::DBGrid::enterPressed, this, [this] { showForm(); });
}

void TFSubGrupo::openLookups() {
    // The products window may have left the list filtered to one group.
    removeFilter();
    DM->TBGRUPO->open();
}

void TFSubGrupo::TabSheet2Show() {
    DBGrid2->setFocus();
}

void TFSubGrupo::btnGrupoClick() {
    showOnList<TFGrupo>(this);
}
