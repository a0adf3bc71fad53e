#include "registers/groups_window.h"
#include "core/data_module.h"
#include "core/globals.h"
#include "platform/ui/db_edit.h"
#include "platform/ui/db_grid.h"
#include <QLayout>

TFGrupo* FGrupo = nullptr;

TFGrupo::TFGrupo(QWidget* parent)
    : TFGrupo(parent, {"FGrupo",
                       QStringLiteral("Cadastro de Grupos"),
                       DM->DSGRUPO,
                       QStringLiteral("DESCRICAO"),
                       false,
                       NextCode::ScanAfterReopen,
                       {}}) {
    addDependency(QSubgrupoGrupo, QStringLiteral("grupo"),
                  QStringLiteral("Não é possível excluir este grupo porque ele está associado a "
                                 "subgrupos cadastrados!"));
    addDependency(
        QProdutoGrupo, QStringLiteral("grupo"),
        QStringLiteral(
            "Não é possível excluir este grupo porque ele está associado a produtos cadastrados!"));
}

TFGrupo::TFGrupo(QWidget* parent, const Setup& setup) : RegisterWindow(parent, setup) {
    DBEdit2 =
        addEdit("DBEdit2", QStringLiteral("DESCRIÇÃO"), QStringLiteral("DESCRICAO"), NoMovement);
    DBEdit2->setMinimumWidth(320);
    setFirstField(DBEdit2);
    QSubgrupoGrupo =
        makeQuery("QSubgrupoGrupo", {QStringLiteral("SELECT TSUBGRUPO.* FROM TSUBGRUPO"),
                                     QStringLiteral("WHERE TSUBGRUPO.GRUPO = :grupo")});
    QProdutoGrupo = makeQuery(
        "QProdutoGrupo", {QStringLiteral("SELECT TPRODUTO.CODIGO, TPRODUTO.GRUPO FROM TPRODUTO"),
                          QStringLiteral("WHERE TPRODUTO.GRUPO = :grupo")});
    DBGrid1->setColumns({{QStringLiteral("CODIGO"), QStringLiteral("CÓDIGO"), 60},
                         {QStringLiteral("DESCRICAO"), QStringLiteral("DESCRIÇÃO"), 300}});
    layout()->setSizeConstraint(QLayout::SetFixedSize);
}

void TFGrupo::TabSheet2Show() {
    DBGrid1->setFocus();
}
