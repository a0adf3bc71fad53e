#include "registers/company_window.h"
#include "core/data_module.h"
#include "core/globals.h"
#include "platform/ui/db_edit.h"
#include "platform/ui/db_grid.h"
#include "platform/ui/db_image.h"
#include "platform/ui/guard.h"
#include "registers/picture_file.h"
#include <QLayout>
#include <QPushButton>

TFEmpresa* FEmpresa = nullptr;

TFEmpresa::TFEmpresa(QWidget* parent)
    : RegisterWindow(parent,
                     {"FEmpresa",
                      QStringLiteral("Cadastro de Empresa"),
                      DM->DSEMPRESA,
                      {},
                      true,
                      NextCode::Query,
                      {QStringLiteral("select max(codigo)"), QStringLiteral("from TEMPRESA")}}) {
    setFormColumns(2);
    auto* razao =
        addEdit("DBEdit2", QStringLiteral("RAZÃO SOCIAL"), QStringLiteral("RAZAO_SOCIAL"), 0, 2);
    setFirstField(razao);
    addEdit("DBEdit3", QStringLiteral("NOME FANTASIA"), QStringLiteral("NOME_FANTASIA"), 0, 2);
    addEdit("DBEdit4", QStringLiteral("CNPJ"), QStringLiteral("CNPJ"));
    addEdit("DBEdit5", QStringLiteral("ENDERECO"), QStringLiteral("ENDERECO"));
    addEdit("DBEdit6", QStringLiteral("CIDADE"), QStringLiteral("CIDADE"));
    addEdit("DBEdit12", QStringLiteral("UF"), QStringLiteral("UF"));
    addEdit("DBEdit8", QStringLiteral("TELEFONE 1"), QStringLiteral("TELEFONE1"));
    addEdit("DBEdit9", QStringLiteral("TELEFONE 2"), QStringLiteral("TELEFONE2"));
    addEdit("DBEdit10", QStringLiteral("EMAIL"), QStringLiteral("EMAIL"), MixedCase);
    addEdit("DBEdit11", QStringLiteral("SITE"), QStringLiteral("SITE"), MixedCase);

    DBImage1 = addPicture(QStringLiteral("LOGO ( F9 )"), DM->DSEMPRESA, QStringLiteral("LOGO"),
                          QStringLiteral("Logo"), 0, [this] { DBImage1Click(); });

    DBGrid1->setColumns({{QStringLiteral("CODIGO"), QStringLiteral("CODIGO"), 60},
                         {QStringLiteral("RAZAO_SOCIAL"), QStringLiteral("RAZÃO SOCIAL"), 250},
                         {QStringLiteral("NOME_FANTASIA"), QStringLiteral("NOME FANTASIA"), 250},
                         {QStringLiteral("CNPJ"), QStringLiteral("CNPJ"), 140}});
    layout()->setSizeConstraint(QLayout::SetFixedSize);
}

void TFEmpresa::DBImage1Click() {
    if (!btnSalvar->isEnabled())
        return;
    const QString file = choosePictureFile(this);
    if (file.isEmpty())
        return;
    dataSet()->field(QStringLiteral("LOGO")).setValue(readPictureFile(file));
}
