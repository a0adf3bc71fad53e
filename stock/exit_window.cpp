#include "stock/exit_window.h"
#include "core/data_module.h"
#include "core/globals.h"
#include "platform/ui/db_edit.h"
#include "platform/ui/db_lookup_combo_box.h"
#include "registers/customers_window.h"
#include <QLabel>
#include <QLayout>
#include <QPushButton>

TFSaida* FSaida = nullptr;

TFSaida::TFSaida(QWidget* parent)
    : TFEntrada(parent, {"FSaida", QStringLiteral("Saída de Produtos"), QStringLiteral("SAIDA"),
                         stock::Kind::Exit, QStringLiteral("TIPO = 'SAIDA'"),
                         QStringLiteral("PRECO_VENDA")}) {
    saveSink = Edit1;
    // The customer takes the supplier's place, in the same row and the same tab position.
    DBEdit8->hide();
    DBLookupComboBox2->hide();
    forgetControl(DBEdit8);
    forgetControl(DBLookupComboBox2);
    partyLabel->setText(QStringLiteral("CLIENTE"));
    btnFornecedor->setToolTip({});

    DBEdit10 = new ui::DBEdit(partyCell);
    DBEdit10->setObjectName(QStringLiteral("DBEdit10"));
    DBEdit10->setCharCase(ui::CharCase::Upper);
    DBEdit10->setDataSource(DM->DSMOVIMENTACAO);
    DBEdit10->setDataField(QStringLiteral("CLIENTE"));
    DBEdit10->setMaximumWidth(80);
    DBLookupComboBox3 = new ui::DBLookupComboBox(partyCell);
    DBLookupComboBox3->setObjectName(QStringLiteral("DBLookupComboBox3"));
    DBLookupComboBox3->setListSource(DM->DSCLIENTE);
    DBLookupComboBox3->setKeyField(QStringLiteral("CODIGO"));
    DBLookupComboBox3->setListField(QStringLiteral("NOME"));
    DBLookupComboBox3->setDataSource(DM->DSMOVIMENTACAO);
    DBLookupComboBox3->setDataField(QStringLiteral("CLIENTE"));
    auto* cell = static_cast<QBoxLayout*>(partyCell->layout());
    cell->insertWidget(0, DBEdit10);
    cell->insertWidget(1, DBLookupComboBox3, 1);
    attachField(DBEdit10, NoTabChain);
    attachField(DBLookupComboBox3, NoMovement | NoTabChain);
    ui::attachKeyMovement(DBLookupComboBox3, ui::MoveKeys(ui::MoveKey::EnterNext) |
                                                 ui::MoveKey::DownNext |
                                                 ui::MoveKey::BackspacePrevious);
    setTabOrder(DBEdit7, DBEdit10);
    setTabOrder(DBEdit10, DBLookupComboBox3);
}

void TFSaida::openLookups() {
    TFEntrada::openLookups();
    DM->TBCLIENTE->open();
}

QString TFSaida::limitQuestion() const {
    return QStringLiteral("Caso Confirme esta Saída você estará indo abaixo do estoque mínimo para "
                          "este produto\nVocê confirma esta saída de produto mesmo assim?");
}

void TFSaida::btnFornecedorClick() {
    modo_selecao = true;
    showOnList<TFCliente>(this);
    dataSet()
        ->field(QStringLiteral("CLIENTE"))
        .setValue(DM->TBCLIENTE->active() ? DM->TBCLIENTE->field(QStringLiteral("CODIGO")).value()
                                          : QVariant());
}
