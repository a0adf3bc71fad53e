#include "stock/entry_window.h"
#include "core/bar_code.h"
#include "core/data_module.h"
#include "core/globals.h"
#include "core/movement_trail.h"
#include "core/product_bar_codes.h"
#include "platform/ui/db_edit.h"
#include "platform/ui/db_lookup_combo_box.h"
#include "platform/ui/db_navigator.h"
#include "platform/ui/field_link.h"
#include "platform/ui/guard.h"
#include "platform/ui/modal.h"
#include "platform/ui/scan_detector.h"
#include "registers/cost_centres_window.h"
#include "registers/products_window.h"
#include "registers/suppliers_window.h"
#include "stock/deletion_reason.h"
#include "stock/movement_query_window.h"
#include "stock/product_choice_window.h"
#include "stock/scan_decision.h"
#include <QAction>
#include <QDate>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTime>
#include <QToolButton>

TFEntrada* FEntrada = nullptr;

namespace {
const QString kProduto = QStringLiteral("PRODUTO");
const QString kQuantidade = QStringLiteral("QUANTIDADE");
const QString kPrecoUnitario = QStringLiteral("PRECO_UNITARIO");
const QString kPrecoTotal = QStringLiteral("PRECO_TOTAL");
const QString kEstoque = QStringLiteral("ESTOQUEATUAL");
const QString kCodigo = QStringLiteral("CODIGO");

} // namespace

TFEntrada::TFEntrada(QWidget* parent)
    : TFEntrada(parent, {"FEntrada", QStringLiteral("Entrada de Produtos"),
                         QStringLiteral("ENTRADA"), stock::Kind::Entry,
                         QStringLiteral("TIPO = 'ENTRADA'"), QStringLiteral("PRECO_COMPRA")}) {}

TFEntrada::TFEntrada(QWidget* parent, const Kind& kind)
    : RegisterWindow(parent, {kind.objectName,
                              kind.caption,
                              DM->DSMOVIMENTACAO,
                              {},
                              false,
                              NextCode::Query,
                              {QStringLiteral("select max(codigo) from TMOVIMENTACAO")},
                              true,
                              false}),
      kind_(kind) {
    setCaptionOf(DBEdit1, QStringLiteral("CODIGO"));
    setFormColumns(3);
    Edit2 = addFocusSink("Edit2");
    Edit5 = addFocusSink("Edit5");
    saveSink = Edit2;
    DBEdit3 =
        addEdit("DBEdit3", QStringLiteral("NÚMERO DA NOTA"), QStringLiteral("NOTA_COMPRA"), 0, 3);
    setFirstField(DBEdit3);

    // A code box, its lookup list and the button that opens the register to pick one.
    auto lookupRow = [&](const char* edit, const QString& label, const QString& column,
                         const char* lookup, data::DataSource* list) {
        auto* code = addEdit(edit, label, column, 0, 3);
        code->setMaximumWidth(80);
        return std::pair{code, addLookup(lookup, column, list)};
    };
    std::tie(DBEdit2, DBLookupComboBox1) = lookupRow("DBEdit2", QStringLiteral("PRODUTO"), kProduto,
                                                     "DBLookupComboBox1", DM->DSPRODUTOS);
    btnProduto =
        addPickButton("btnProduto", QStringLiteral("F3"), QStringLiteral("Consulta de Produtos"));
    DBEdit5 = addEdit("DBEdit5", QStringLiteral("QUANTIDADE"), kQuantidade);
    DBEdit6 = addEdit("DBEdit6", QStringLiteral("PREÇO UNITÁRIO"), kPrecoUnitario);
    DBEdit7 = addEdit("DBEdit7", QStringLiteral("PREÇO TOTAL"), kPrecoTotal);
    std::tie(DBEdit8, DBLookupComboBox2) =
        lookupRow("DBEdit8", QStringLiteral("FORNECEDOR"), QStringLiteral("FORNECEDOR"),
                  "DBLookupComboBox2", DM->DSFORNECEDOR);
    partyLabel = TabSheet1->findChild<QLabel*>(QStringLiteral("LabelDBEdit8"));
    partyCell = lastCell();
    btnFornecedor = addPickButton("btnFornecedor", QStringLiteral("F6"),
                                  QStringLiteral("Consulta de Fornecedores"));
    std::tie(DBEdit20, DBLookupComboBox4) =
        lookupRow("DBEdit20", QStringLiteral("CENTRO DE CUSTO(OPCIONAL)"),
                  QStringLiteral("CENTRO_CUSTO"), "DBLookupComboBox4", DM->DSCENTRO);
    btnCentroCusto = addPickButton("btnCentroCusto", QStringLiteral("F9"), {});
    DBEdit4 = addEdit("DBEdit4", QStringLiteral("DATA"), QStringLiteral("DATA"));
    DBEdit9 = addEdit("DBEdit9", QStringLiteral("HORÁRIO"), QStringLiteral("HORARIO"));

    ui::connectGuarded(btnProduto, &QPushButton::clicked, this, [this] { btnProdutoClick(); });
    ui::connectGuarded(btnFornecedor, &QPushButton::clicked, this,
                       [this] { btnFornecedorClick(); });
    ui::connectGuarded(btnCentroCusto, &QPushButton::clicked, this,
                       [this] { btnCentroCustoClick(); });
    ui::addShortcut(this, Qt::Key_F3, btnProduto, QStringLiteral("Produto1"));
    ui::addShortcut(this, Qt::Key_F6, btnFornecedor, QStringLiteral("Fornecedor1"));
    ui::addShortcut(this, Qt::Key_F9, btnCentroCusto, QStringLiteral("CentroCusto1"));
    ui::connectGuarded(DBLookupComboBox1, &ui::DBLookupComboBox::chosen, this,
                       [this] { DBLookupComboBox1Click(); });
    ui::connectGuarded(DBLookupComboBox1, &ui::DBLookupComboBox::exited, this,
                       [this] { DBLookupComboBox1Exit(); });
    ui::connectGuarded(DBEdit2, &QLineEdit::textChanged, this, [this] { DBEdit2Change(); });
    ui::connectGuarded(DBNavigator1, &ui::DBNavigator::clicked, this,
                       [this] { DBNavigator1Click(); });
    // The total follows the quantity and the unit price as they reach the row.
    ui::connectGuarded(
        DM->TBMOVIMENTACAO, &data::ClientDataSet::recordChanged, this, [this](data::Field* field) {
            if (field && (field->name() == kQuantidade || field->name() == kPrecoUnitario))
                updateTotal();
        });

    resize(616, 589);

    // "<" and ">" move like the navigator's prior and next, and only while it is enabled.
    N2 = ui::addShortcut(this, Qt::Key_Left, DBNavigator1->button(ui::DBNavigator::Prior),
                         QStringLiteral("N2"));
    N3 = ui::addShortcut(this, Qt::Key_Right, DBNavigator1->button(ui::DBNavigator::Next),
                         QStringLiteral("N3"));

    scanner = new ui::ScanDetector(this);
    ui::connectGuarded(scanner, &ui::ScanDetector::scanned, this, &TFEntrada::codeScanned);
}

// ------------------------------------------------------------------ show and states

void TFEntrada::openLookups() {
    DM->TBCENTRO->close(); // centres added elsewhere appear
    DM->TBCENTRO->open();
    DM->TBPRODUTOS->open();
    DM->TBFORNECEDOR->open();
    showOwnKind();
    locateProductOfCurrentMovement();
}

void TFEntrada::showOwnKind() {
    // Only this window's kind of movement: its arithmetic must never reach the other kind.
    data::ClientDataSet* movements = dataSet();
    if (movements->filtered() && movements->filter() == kind_.filter)
        return;
    movements->setFiltered(false);
    movements->setFilter(kind_.filter);
    movements->setFiltered(true);
}

// ------------------------------------------------------------------ commands

void TFEntrada::setDefaults() {
    dataSet()->field(QStringLiteral("TIPO")).setValue(kind_.tipo);
}

void TFEntrada::btnNovoClick() {
    showOwnKind();
    RegisterWindow::btnNovoClick();
    data::ClientDataSet* movements = dataSet();
    if (movements->state() != data::DataSetState::Edit)
        return;
    const QTime now = QTime::currentTime();
    movements->field(QStringLiteral("DATA")).setValue(QDate::currentDate());
    movements->field(QStringLiteral("HORARIO"))
        .setValue(QTime(now.hour(), now.minute(), now.second()));
}

void TFEntrada::btnAlterarClick() {
    data::ClientDataSet* movements = dataSet();
    produto_anterior = movements->field(kProduto).value();
    quantidade_anterior = movements->field(kQuantidade).asFloat();
    freshProduct(produto_anterior);
    RegisterWindow::btnAlterarClick();
}

bool TFEntrada::freshProduct(const QVariant& code) {
    data::ClientDataSet* products = DM->TBPRODUTOS;
    products->open();
    return !code.isNull() && products->refreshRow(kCodigo, code);
}

bool TFEntrada::bookStock(const stock::StockPlan& plan) {
    // Every product is read fresh before any is edited: a row is re-read only while nothing is
    // waiting to be stored.
    std::vector<stock::StockMove> moves;
    for (const stock::StockMove& move : plan.moves)
        if (freshProduct(move.product))
            moves.push_back(move);
    data::ClientDataSet* products = DM->TBPRODUTOS;
    try {
        for (const stock::StockMove& move : moves) {
            products->locate(kCodigo, move.product);
            products->edit();
            products->field(kEstoque).setValue(
                stock::bookedStock(products->field(kEstoque).asFloat(), move.change));
            products->post();
        }
    } catch (...) {
        // A stock that cannot be booked leaves the shared products as they were, so that no
        // later save finds them half changed.
        if (products->state() != data::DataSetState::Browse)
            products->cancel();
        products->cancelUpdates();
        throw;
    }
    // The limit question is about the product the movement is booked on now.
    if (!plan.checkLimit || moves.empty() || moves.back().product != plan.moves.back().product)
        return true;
    return confirmLimit();
}

QString TFEntrada::limitQuestion() const {
    return QStringLiteral("Caso Confirme esta Entrada você estará ultrapassando o estoque máximo "
                          "para este produto\nVocê confirma esta entrada de produto mesmo assim?");
}

bool TFEntrada::confirmLimit() {
    data::ClientDataSet* products = DM->TBPRODUTOS;
    const bool due =
        stock::limitQuestionDue(kind_.kind, products->field(kEstoque).asFloat(),
                                products->field(QStringLiteral("ESTOQUE_MINIMO")).asFloat(),
                                products->field(QStringLiteral("ESTOQUE_MAXIMO")).asFloat());
    if (!due || ui::dialogs().question(this, QStringLiteral("Atenção"), limitQuestion()))
        return true;
    products->cancelUpdates(); // every product change of this save, posted or not
    btnCancelarClick();
    return false;
}

void TFEntrada::btnSalvarClick() {
    saveSink->setFocus();
    ui::writePendingInput(this);
    data::ClientDataSet* movements = dataSet();
    if (!freshProduct(movements->field(kProduto).value())) {
        ui::dialogs().message(
            this, QStringLiteral("Produto não localizado! Por Favor informe um produto!"));
        DBEdit2->setFocus();
        return;
    }
    const double quantity = movements->field(kQuantidade).asFloat();
    if (quantity == 0) {
        ui::dialogs().message(this, QStringLiteral("Informe uma quantidade diferente de zero!"));
        DBEdit5->setFocus();
        return;
    }
    movements->field(kPrecoTotal).setValue(movements->field(kPrecoUnitario).asFloat() * quantity);
    if (novo_registro)
        saveNew(quantity);
    else
        saveChanged(quantity);
}

void TFEntrada::saveNew(double quantity) {
    if (!bookStock(stock::planNew(kind_.kind, {dataSet()->field(kProduto).value(), quantity})))
        return;
    postAndApply({DM->TBPRODUTOS});
    navegar();
}

void TFEntrada::saveChanged(double quantity) {
    const stock::StockPlan plan =
        stock::planChange(kind_.kind, {produto_anterior, quantidade_anterior},
                          {dataSet()->field(kProduto).value(), quantity});
    if (!bookStock(plan))
        return;
    {
        const TrailScope trail(*DM->SQLConnection1, windowTitle());
        postAndApply({DM->TBPRODUTOS});
    }
    navegar();
}

void TFEntrada::btnExcluirClick() {
    if (!ui::dialogs().question(this, QStringLiteral("Atenção"),
                                QStringLiteral("Você realmente deseja excluir o registro?")))
        return;
    const QString reason = askDeletionReason(this);
    data::ClientDataSet* movements = dataSet();
    bookStock(stock::planDelete(
        kind_.kind, {movements->field(kProduto).value(), movements->field(kQuantidade).asFloat()}));
    movements->deleteRecord();
    {
        const TrailScope trail(*DM->SQLConnection1, windowTitle(), reason);
        applyNow({DM->TBPRODUTOS});
    }
    updateRecordButtons();
}

void TFEntrada::btnConsultarClick() {
    consulta_entradas = kind_.tipo == QLatin1String("ENTRADA") ? 1 : 0;
    ui::openModal(this, FConsultaMovimentacoes);
    locateProductOfCurrentMovement();
}

// ------------------------------------------------------------------ product, price and total

void TFEntrada::DBEdit2Change() {
    // The shared products follow the code typed or shown; the stored figures are read again
    // when they are used (Alterar, Salvar, Excluir).
    bool ok = false;
    const int code = DBEdit2->text().trimmed().toInt(&ok);
    DM->TBPRODUTOS->open();
    if (ok)
        DM->TBPRODUTOS->locateWhenRead(kCodigo, code);
}

void TFEntrada::updateTotal() {
    data::ClientDataSet* movements = dataSet();
    const auto state = movements->state();
    if (state != data::DataSetState::Edit && state != data::DataSetState::Insert)
        return;
    const double total =
        movements->field(kQuantidade).asFloat() * movements->field(kPrecoUnitario).asFloat();
    if (movements->field(kPrecoTotal).value() != QVariant(total))
        movements->field(kPrecoTotal).setValue(total);
}

void TFEntrada::proposePrice() {
    dataSet()->field(kPrecoUnitario).setValue(DM->TBPRODUTOS->field(kind_.price).value());
    updateTotal();
}

void TFEntrada::DBLookupComboBox1Click() {
    if (DM->TBPRODUTOS->locate(kCodigo, dataSet()->field(kProduto).value()))
        proposePrice();
}

void TFEntrada::DBLookupComboBox1Exit() {
    if (!btnNovo->isEnabled())
        proposeFromProduct();
}

void TFEntrada::proposeFromProduct() {
    if (freshProduct(dataSet()->field(kProduto).value()))
        proposeFromCurrentProduct();
}

void TFEntrada::proposeFromCurrentProduct() {
    data::ClientDataSet* movements = dataSet();
    // An entry comes from the product's usual supplier; an exit names no supplier.
    if (movements->field(QStringLiteral("TIPO")).asString() == QLatin1String("ENTRADA"))
        movements->field(QStringLiteral("FORNECEDOR"))
            .setValue(DM->TBPRODUTOS->field(QStringLiteral("FORNECEDOR")).value());
    proposePrice();
}

// ------------------------------------------------------------------ scanning

void TFEntrada::codeScanned(const QString& code) {
    scanFound(code, barCodeOwners(*DM->SQLConnection1, code));
}

void TFEntrada::scanFound(const QString& code, const std::vector<BarCodeOwner>& owners) {
    const bool editing = btnSalvar->isEnabled();
    if (editing)
        ui::writePendingInput(this); // a quantity still being typed counts
    data::ClientDataSet* movements = dataSet();
    std::vector<int> found;
    for (const BarCodeOwner& owner : owners)
        found.push_back(owner.code);
    const QVariant product = editing ? movements->field(kProduto).value() : QVariant();
    switch (stock::decideScan({editing, product}, found)) {
    case stock::ScanStep::UnknownCode:
        unknownCode(code);
        break;
    case stock::ScanStep::ChooseProduct:
        if (const std::optional<int> chosen = chooseProduct(this, code, owners)) {
            const auto owner =
                std::find_if(owners.begin(), owners.end(),
                             [&](const BarCodeOwner& o) { return o.code == *chosen; });
            scanFound(code, {*owner});
        }
        break;
    case stock::ScanStep::StartMovement:
        btnNovoClick(); // everything F1 does
        if (movements->state() == data::DataSetState::Edit)
            takeScannedProduct(found.front());
        break;
    case stock::ScanStep::FillProduct:
        takeScannedProduct(found.front());
        break;
    case stock::ScanStep::AddOne:
        movements->field(kQuantidade).setValue(movements->field(kQuantidade).asFloat() + 1);
        focusQuantity();
        break;
    case stock::ScanStep::AskToSaveFirst:
        if (!ui::dialogs().question(
                this, QStringLiteral("Atenção"),
                QStringLiteral("O código lido é do produto %1, não do desta movimentação.\n"
                               "Deseja salvar esta movimentação e começar outra com ele?")
                    .arg(owners.front().label())))
            return;
        btnSalvarClick();
        if (btnSalvar->isEnabled())
            return; // not saved: its message said why, and the movement is as it was
        scanFound(code, owners);
        break;
    }
}

void TFEntrada::takeScannedProduct(int product) {
    dataSet()->field(kProduto).setValue(product);
    // As choosing it in the list does: the cached row proposes (Salvar reads it again). Reading
    // it again here would have the product list index every product anew, at every scan.
    if (DM->TBPRODUTOS->locate(kCodigo, product))
        proposeFromCurrentProduct();
    dataSet()->field(kQuantidade).setValue(1);
    focusQuantity();
}

void TFEntrada::focusQuantity() {
    DBEdit5->setFocus();
    DBEdit5->selectAll(); // the next digits typed replace the quantity
}

void TFEntrada::unknownCode(const QString& code) {
    QString text = QStringLiteral("Nenhum produto tem o código de barras %1.").arg(code);
    if (barcode::looksMistyped(code))
        text += QStringLiteral("\nO dígito verificador não confere: o código parece ter sido "
                               "lido ou digitado errado.");
    if (kind_.kind != stock::Kind::Entry) {
        ui::dialogs().message(this, text);
        return;
    }
    // Goods that arrive with a code the shop does not know yet are a new product.
    if (!ui::dialogs().question(
            this, QStringLiteral("Atenção"),
            text + QStringLiteral("\nDeseja cadastrar um novo produto com este código de barras?")))
        return;
    modo_selecao = false;
    selecionar_produto = false;
    ui::openModal(this, FProdutos, [&](TFProdutos* w) { w->novoComCodigoDeBarras(code); });
    // The product stored meanwhile is taken as if the scan had found it.
    const std::vector<BarCodeOwner> owners = barCodeOwners(*DM->SQLConnection1, code);
    if (!owners.empty())
        scanFound(code, owners);
}

// ------------------------------------------------------------------ picking and moving

void TFEntrada::btnProdutoClick() {
    modo_selecao = true;
    selecionar_produto = true;
    // 0 is no product's code: it tells a pick from a window closed without one.
    const int previous = produto_selecionado;
    produto_selecionado = 0;
    showOnList<TFProdutos>(this);
    if (produto_selecionado == 0) {
        produto_selecionado = previous;
        return;
    }
    dataSet()->field(kProduto).setValue(produto_selecionado);
}

void TFEntrada::btnFornecedorClick() {
    modo_selecao = true;
    showOnList<TFFornecedor>(this);
    dataSet()
        ->field(QStringLiteral("FORNECEDOR"))
        .setValue(DM->TBFORNECEDOR->active() ? DM->TBFORNECEDOR->field(kCodigo).value()
                                             : QVariant());
}

void TFEntrada::btnCentroCustoClick() {
    showOnList<TFCentroCusto>(this);
}

void TFEntrada::DBNavigator1Click() {
    locateProductOfCurrentMovement();
}
