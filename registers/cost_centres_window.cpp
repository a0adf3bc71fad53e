#include "registers/cost_centres_window.h"
#include "core/data_module.h"
#include "core/globals.h"
#include "platform/ui/db_edit.h"
#include "platform/ui/db_grid.h"

TFCentroCusto* FCentroCusto = nullptr;

TFCentroCusto::TFCentroCusto(QWidget* parent)
    : RegisterWindow(parent, {"FCentroCusto",
                              QStringLiteral("Cadastro de Centro de Custo"),
                              DM->DSCENTRO,
                              QStringLiteral("DESCRICAO"),
                              true,
                              NextCode::Query,
                              {QStringLiteral("select max(codigo) from CENTRO_CUSTO")},
                              false}) {
    QFont larger(QStringLiteral("Arial"));
    larger.setPixelSize(13);
    setFont(larger);
    DBEdit2 = addEdit("DBEdit2", QStringLiteral("DESCRIÇÃO"), QStringLiteral("DESCRICAO"),
                      NoMovement | NoColours);
    DBEdit2->setMinimumWidth(380);
    setFirstField(DBEdit2);
    DBGrid1->setColumns(
        {{QStringLiteral("CODIGO"), QStringLiteral("CODIGO"), 70, {}, Qt::AlignLeft},
         {QStringLiteral("DESCRICAO"), QStringLiteral("DESCRICAO"), 400}});
}
