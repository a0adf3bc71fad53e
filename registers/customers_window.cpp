#include "registers/customers_window.h"
#include "core/data_module.h"
#include "core/globals.h"
#include "platform/data/filter_expression.h"
#include "platform/ui/db_edit.h"
#include "platform/ui/db_grid.h"
#include "platform/ui/db_radio_group.h"
#include "platform/ui/guard.h"
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

TFCliente* FCliente = nullptr;

TFCliente::TFCliente(QWidget* parent)
    : RegisterWindow(parent,
                     {"FCliente",
                      QStringLiteral("Cadastro de Clientes"),
                      DM->DSCLIENTE,
                      QStringLiteral("NOME"),
                      false,
                      NextCode::Query,
                      {QStringLiteral("select max(codigo)"), QStringLiteral("from TCLIENTE")}}) {
    setCaptionOf(DBEdit1, QStringLiteral("CODIGO"));
    setFormColumns(3);
    DBEdit2 = addEdit("DBEdit2", QStringLiteral("NOME"), QStringLiteral("NOME"), 0, 2);
    setFirstField(DBEdit2);
    addEdit("DBEdit3", QStringLiteral("ENDEREÇO"), QStringLiteral("ENDERECO"), 0, 2);
    addEdit("DBEdit6", QStringLiteral("BAIRRO"), QStringLiteral("BAIRRO"));
    addEdit("DBEdit4", QStringLiteral("CIDADE"), QStringLiteral("CIDADE"));
    addStates("DBEdit5", QStringLiteral("UF"), QStringLiteral("UF"));
    addEdit("DBEdit14", QStringLiteral("CEP"), QStringLiteral("CEP"));
    addEdit("DBEdit7", QStringLiteral("CPF"), QStringLiteral("CPF"));
    addEdit("DBEdit8", QStringLiteral("RG"), QStringLiteral("RG"));
    addEdit("DBEdit15", QStringLiteral("CNPJ"), QStringLiteral("CNPJ"));
    // Wide enough to read a whole address.
    addEdit("DBEdit9", QStringLiteral("EMAIL 1"), QStringLiteral("EMAIL"), MixedCase, 2);
    addEdit("DBEdit16", QStringLiteral("EMAIL 2"), QStringLiteral("EMAILCOMUNICADOR"), MixedCase,
            2);
    addEdit("DBEdit10", QStringLiteral("TELEFONE 1"), QStringLiteral("TELEFONE1"));
    addEdit("DBEdit11", QStringLiteral("TELEFONE 2"), QStringLiteral("TELEFONE2"));
    addEdit("DBEdit12", QStringLiteral("CELULAR"), QStringLiteral("CELULAR"));
    addEdit("DBEdit13", QStringLiteral("DATA NASCIMENTO"), QStringLiteral("DATANASC"));
    addMemo("DBMemo1", QStringLiteral("OBSERVAÇÃO"), QStringLiteral("OBSERVACAO"), 2);
    DBRadioGroup1 = new ui::DBRadioGroup(TabSheet1);
    DBRadioGroup1->setObjectName(QStringLiteral("DBRadioGroup1"));
    DBRadioGroup1->setTitle(QStringLiteral("TIPO DE PESSOA"));
    DBRadioGroup1->setItems({QStringLiteral("FÍSICA"), QStringLiteral("JURÍDICA")});
    DBRadioGroup1->setColumns(2);
    DBRadioGroup1->setDataSource(DM->DSCLIENTE);
    DBRadioGroup1->setDataField(QStringLiteral("TIPO_PESSOA"));
    addControl(DBRadioGroup1, {}, NoMovement | NoColours);

    QMovimentacao =
        makeQuery("QMovimentacao", {QStringLiteral("SELECT TMOVIMENTACAO.* FROM TMOVIMENTACAO"),
                                    QStringLiteral("WHERE TMOVIMENTACAO.CLIENTE = :cliente")});
    addDependency(QMovimentacao, QStringLiteral("cliente"),
                  QStringLiteral("Este cliente não pode ser excluído pois está ligado a "
                                 "movimentações de entrada e/ou saídas no estoque!"));

    txtNome = addSearchBox("txtNome", QStringLiteral("NOME: "));
    ui::connectGuarded(txtNome, &QLineEdit::textChanged, this, [this] { txtNomeChange(); });
    DBGrid1->setColumns({{QStringLiteral("CODIGO"), QStringLiteral("CÓD"), 50},
                         {QStringLiteral("NOME"), QStringLiteral("NOME"), 250},
                         {QStringLiteral("EMAIL"), QStringLiteral("EMAIL"), 200},
                         {QStringLiteral("TELEFONE1"), QStringLiteral("TELEFONE1"), 110},
                         {QStringLiteral("CELULAR"), QStringLiteral("CELULAR"), 110}});
}

void TFCliente::setDefaults() {
    dataSet()->field(QStringLiteral("TIPO_PESSOA")).setValue(QStringLiteral("FÍSICA"));
}

void TFCliente::txtNomeChange() {
    data::ClientDataSet* ds = dataSet();
    ds->setFiltered(false);
    ds->setFilter("UPPER(NOME) LIKE UPPER(" + data::searchPattern(txtNome->text()) + ')' +
                  data::kSearchEscape);
    ds->setFiltered(true);
    ds->first();
}

void TFCliente::TabSheet2Show() {
    txtNome->setFocus();
}

void TFCliente::TabSheet2Hide() {
    // The whole list again next time, with the customer chosen here still current.
    txtNome->blockSignals(true);
    txtNome->clear();
    txtNome->blockSignals(false);
    removeFilter();
}

void TFCliente::gridDoubleClick() {
    if (modo_selecao) {
        close(); // the customer under the cursor stays current for the opener
        return;
    }
    const QVariant code = dataSet()->field(QStringLiteral("CODIGO")).value();
    removeFilter();
    showForm();
    dataSet()->locate(QStringLiteral("CODIGO"), code);
}
