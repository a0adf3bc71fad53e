#include "registers/suppliers_window.h"
#include "core/data_module.h"
#include "core/globals.h"
#include "platform/ui/db_edit.h"
#include "platform/ui/db_grid.h"
#include "platform/ui/field_link.h"
#include <QLineEdit>

TFFornecedor* FFornecedor = nullptr;

TFFornecedor::TFFornecedor(QWidget* parent)
    : RegisterWindow(parent, {"FFornecedor",
                              QStringLiteral("Cadastro de Fornecedores"),
                              DM->DSFORNECEDOR,
                              QStringLiteral("DESCRICAO"),
                              false,
                              NextCode::Scan,
                              {}}) {
    setCaptionOf(DBEdit1, QStringLiteral("CODIGO"));
    setFormColumns(3);
    DBEdit3 = addEdit("DBEdit3", QStringLiteral("CNPJ"), QStringLiteral("CNPJ"));
    setFirstField(DBEdit3);
    addEdit("DBEdit17", QStringLiteral("INSCRICÃO ESTADUAL"), QStringLiteral("INSCRICAO_ESTADUAL"));
    addEdit("DBEdit2", QStringLiteral("DESCRICAO"), QStringLiteral("DESCRICAO"));
    addEdit("DBEdit4", QStringLiteral("RAZÃO SOCIAL"), QStringLiteral("RAZAO_SOCIAL"), 0, 2);
    addEdit("DBEdit5", QStringLiteral("NOME DO CONTATO"), QStringLiteral("NOME_CONTATO"));
    addEdit("DBEdit6", QStringLiteral("TELEFONE1"), QStringLiteral("TELEFONE1"));
    addEdit("DBEdit7", QStringLiteral("TELEFONE2"), QStringLiteral("TELEFONE2"));
    addEdit("DBEdit8", QStringLiteral("CELULAR"), QStringLiteral("CELULAR"));
    addEdit("DBEdit18", QStringLiteral("FAX"), QStringLiteral("FAX"));
    addEdit("DBEdit10", QStringLiteral("ENDERECO"), QStringLiteral("ENDERECO"), 0, 2);
    addEdit("DBEdit9", QStringLiteral("EMAIL"), QStringLiteral("EMAIL"), MixedCase, 2); // whole
    addEdit("DBEdit11", QStringLiteral("BAIRRO"), QStringLiteral("BAIRRO"));
    addEdit("DBEdit12", QStringLiteral("CIDADE"), QStringLiteral("CIDADE"));
    // Here the state list moves on Up and Down like an edit box.
    addStates("DBEdit16", QStringLiteral("UF"), QStringLiteral("UF"), 0);
    addEdit("DBEdit13", QStringLiteral("PAÍS"), QStringLiteral("PAIS_NACAO"));
    addEdit("DBEdit15", QStringLiteral("CEP"), QStringLiteral("CEP"));
    addEdit("DBEdit14", QStringLiteral("SITE"), QStringLiteral("SITE"), MixedCase);
    addMemo("DBMemo1", QStringLiteral("OBSERVACAO"), QStringLiteral("OBSERVACAO"), 3);

    QVerificadorRepeticao =
        makeQuery("QVerificadorRepeticao", {QStringLiteral("SELECT TFORNECEDOR.* FROM TFORNECEDOR"),
                                            QStringLiteral("WHERE TFORNECEDOR.CNPJ = :cnpj")});
    setMinimumWidth(840); // the list's columns fit without scrolling
    DBGrid1->setColumns({{QStringLiteral("CODIGO"), QStringLiteral("CODIGO"), 60},
                         {QStringLiteral("DESCRICAO"), QStringLiteral("DESCRIÇÃO"), 220},
                         {QStringLiteral("CNPJ"), QStringLiteral("CNPJ"), 140},
                         {QStringLiteral("RAZAO_SOCIAL"), QStringLiteral("RAZÃO SOCIAL"), 220},
                         {QStringLiteral("NOME_CONTATO"), QStringLiteral("NOME DO CONTATO"), 180}});
}

void TFFornecedor::btnSalvarClick() {
    Edit1->setFocus();
    ui::writePendingInput(this);
    QVerificadorRepeticao->close();
    QVerificadorRepeticao->setText(QStringLiteral("cnpj"),
                                   dataSet()->field(QStringLiteral("CNPJ")).asString());
    QVerificadorRepeticao->open();
    const bool repeated = !QVerificadorRepeticao->eof();
    QVerificadorRepeticao->close();
    if (novo_registro && repeated) {
        ui::dialogs().message(this, QStringLiteral("Fornecedor já cadastrado!"));
        DBEdit3->setFocus();
        return;
    }
    RegisterWindow::btnSalvarClick();
}

void TFFornecedor::btnConsultarClick() {
    RegisterWindow::btnConsultarClick();
    modo_selecao = false; // from now on the list leads back to the form
}

void TFFornecedor::gridDoubleClick() {
    if (modo_selecao)
        close(); // the supplier under the cursor stays current for the opener
    else
        showForm();
}
