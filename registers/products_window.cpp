#include "registers/products_window.h"
#include "core/bar_code.h"
#include "core/data_module.h"
#include "core/globals.h"
#include "core/movement_trail.h"
#include "core/product_bar_codes.h"
#include "platform/data/filter_expression.h"
#include "platform/format/format.h"
#include "platform/ui/db_edit.h"
#include "platform/ui/db_grid.h"
#include "platform/ui/db_image.h"
#include "platform/ui/db_lookup_combo_box.h"
#include "platform/ui/db_navigator.h"
#include "platform/ui/field_link.h"
#include "platform/ui/guard.h"
#include "platform/ui/scan_detector.h"
#include "registers/groups_window.h"
#include "registers/picture_file.h"
#include "registers/subgroups_window.h"
#include "registers/suppliers_window.h"
#include "reports/labels_window.h"
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

TFProdutos* FProdutos = nullptr;

using data::quotedLiteral;

TFProdutos::TFProdutos(QWidget* parent)
    : RegisterWindow(parent, {"FProdutos",
                              QStringLiteral("Cadastro de Produtos"),
                              DM->DSPRODUTOS,
                              QStringLiteral("DESCRICAO"),
                              false,
                              NextCode::Query,
                              {QStringLiteral("select max(codigo) from TPRODUTO")}}) {
    setCaptionOf(DBEdit1, QStringLiteral("CODIGO"));
    setFormColumns(3);
    DBEdit2 =
        addEdit("DBEdit2", QStringLiteral("CODIGO DE BARRAS"), QStringLiteral("CODIGOBARRAS"));
    setFirstField(DBEdit2);
    DBEdit3 = addEdit("DBEdit3", QStringLiteral("DESCRIÇÃO"), QStringLiteral("DESCRICAO"), 0, 2);
    addEdit("DBEdit11", QStringLiteral("UNIDADE"), QStringLiteral("UNIDADE"));
    addEdit("DBEdit4", QStringLiteral("REFERÊNCIA"), QStringLiteral("REFERENCIA"));
    DBEdit10 = addEdit("DBEdit10", QStringLiteral("ESTOQUE ATUAL"), QStringLiteral("ESTOQUEATUAL"));
    addEdit("DBEdit6", QStringLiteral("ESTOQUE MÍNIMO"), QStringLiteral("ESTOQUE_MINIMO"));
    addEdit("DBEdit7", QStringLiteral("ESTOQUE MÁXIMO"), QStringLiteral("ESTOQUE_MAXIMO"));
    addEdit("DBEdit8", QStringLiteral("PREÇO DE COMPRA"), QStringLiteral("PRECO_COMPRA"));
    addEdit("DBEdit9", QStringLiteral("PREÇO DE VENDA"), QStringLiteral("PRECO_VENDA"));

    // Each code box with its lookup list (Enter on, Backspace back) and the button that opens
    // the register to look one up.
    const ui::MoveKeys listKeys = ui::kListMoveKeys | ui::MoveKey::BackspacePrevious;
    auto lookupRow = [&](const char* edit, const QString& label, const QString& column,
                         const char* lookup, data::DataSource* list) {
        auto* code = addEdit(edit, label, column, 0, 3);
        code->setMaximumWidth(80);
        auto* box = addLookup(lookup, column, list, NoMovement);
        ui::attachKeyMovement(box, listKeys);
        return std::pair{code, box};
    };
    DBLookupComboBox2 =
        lookupRow("DBEdit12", QStringLiteral("FORNECEDOR"), QStringLiteral("FORNECEDOR"),
                  "DBLookupComboBox2", DM->DSFORNECEDOR)
            .second;
    btnFornecedor = addPickButton("btnFornecedor", QStringLiteral("F3"),
                                  QStringLiteral("Consulta de Fornecedores"));
    addEdit("DBEdit14", QStringLiteral("POSIÇÃO NA PRATELEIRA"), QStringLiteral("POS_PRATELEIRA"));

    txtTotalEstoqueCompra = new QLineEdit(TabSheet1);
    txtTotalEstoqueCompra->setObjectName(QStringLiteral("txtTotalEstoqueCompra"));
    txtTotalEstoqueVenda = new QLineEdit(TabSheet1);
    txtTotalEstoqueVenda->setObjectName(QStringLiteral("txtTotalEstoqueVenda"));
    for (QLineEdit* total : {txtTotalEstoqueCompra, txtTotalEstoqueVenda}) {
        total->setReadOnly(true);
        total->setEnabled(false);
        total->setFocusPolicy(Qt::NoFocus);
    }
    addControl(txtTotalEstoqueCompra, QStringLiteral("TOTAL ESTOQUE(COMPRA)"),
               AlwaysOff | NoMovement | NoColours);
    addControl(txtTotalEstoqueVenda, QStringLiteral("TOTAL ESTOQUE(VENDA)"),
               AlwaysOff | NoMovement | NoColours);

    std::tie(DBEdit13, DBLookupComboBox1) =
        lookupRow("DBEdit13", QStringLiteral("GRUPO"), QStringLiteral("GRUPO"), "DBLookupComboBox1",
                  DM->DSGRUPO);
    btnGrupo =
        addPickButton("btnGrupo", QStringLiteral("F6"), QStringLiteral("Consulta de Grupos"));
    DBLookupComboBox3 = lookupRow("DBEdit5", QStringLiteral("SUBGRUPO"), QStringLiteral("SUBGRUPO"),
                                  "DBLookupComboBox3", DM->DSSUBGRUPO)
                            .second;
    btnSubgrupo =
        addPickButton("btnSubgrupo", QStringLiteral("F7"), QStringLiteral("Consulta de Subgrupos"));
    addMemo("DBMemo1", QStringLiteral("OBSERVAÇÃO"), QStringLiteral("OBS"), 2);

    QFoto = makeQuery("QFoto", {QStringLiteral("SELECT TPRODUTO.FOTO FROM TPRODUTO "),
                                QStringLiteral("WHERE TPRODUTO.CODIGO = :produto")});
    TBFoto = new data::ClientDataSet(this);
    TBFoto->setObjectName(QStringLiteral("TBFoto"));
    TBFoto->setQuery(QFoto);
    data::FieldDef foto;
    foto.name = QStringLiteral("FOTO");
    foto.kind = data::FieldKind::Blob;
    TBFoto->addField(foto);
    DSFoto = new data::DataSource(TBFoto, this);
    DSFoto->setObjectName(QStringLiteral("DSFoto"));
    // The picture is stored by its own query, not by the record: editar leaves it alone.
    DBImage1 = addPicture(QStringLiteral("FOTO ( F9 )"), DSFoto, QStringLiteral("FOTO"),
                          QStringLiteral("Foto"), AlwaysOff, [this] { DBImage1Click(); });
    QAtualizaFoto = makeQuery("QAtualizaFoto", {QStringLiteral("UPDATE TPRODUTO SET FOTO = :foto"),
                                                QStringLiteral("WHERE CODIGO = :produto")});
    QMovimentacao = makeQuery("QMovimentacao",
                              {QStringLiteral("SELECT TMOVIMENTACAO.CODIGO FROM TMOVIMENTACAO"),
                               QStringLiteral("WHERE TMOVIMENTACAO.PRODUTO = :produto")});
    addDependency(
        QMovimentacao, QStringLiteral("produto"),
        QStringLiteral(
            "Este produto está ligado a movimentações de entrada e/ou saídas no estoque!"));

    btnEtiquetas = addCommand("btnEtiquetas", QStringLiteral("Etiquetas"));
    ui::connectGuarded(btnEtiquetas, &QPushButton::clicked, this, [this] { btnEtiquetasClick(); });
    ui::addShortcut(this, Qt::Key_F3, btnFornecedor, QStringLiteral("Fornecedor1"));
    ui::addShortcut(this, Qt::Key_F6, btnGrupo, QStringLiteral("Grupo1"));
    ui::addShortcut(this, Qt::Key_F7, btnSubgrupo, QStringLiteral("Subgrupo1"));
    ui::connectGuarded(DBLookupComboBox1, &ui::DBLookupComboBox::chosen, this,
                       [this] { DBLookupComboBox1Click(); });
    ui::connectGuarded(DBNavigator1, &ui::DBNavigator::clicked, this,
                       [this] { atualizar_totais(); });

    txtDescricao = addSearchBox("txtDescricao", QStringLiteral("DESCRIÇÃO: "));
    txtDescricao->setValidator(new ui::UpperCaseValidator(txtDescricao));
    txtDescricao->installEventFilter(this);
    ui::connectGuarded(txtDescricao, &QLineEdit::textChanged, this,
                       [this] { txtDescricaoChange(); });
    scanner = new ui::ScanDetector(TabSheet2);
    ui::connectGuarded(scanner, &ui::ScanDetector::scanned, this, &TFProdutos::codeScanned);
    setMinimumWidth(840); // the list's columns fit without scrolling
    DBGrid1->setColumns({{QStringLiteral("CODIGO"), QStringLiteral("CÓD"), 50},
                         {QStringLiteral("DESCRICAO"), QStringLiteral("DESCRIÇÃO"), 280},
                         {QStringLiteral("ESTOQUEATUAL"), QStringLiteral("ESTOQ. ATUAL"), 90},
                         {QStringLiteral("ESTOQUE_MINIMO"), QStringLiteral("ESTOQ. MÍN."), 90},
                         {QStringLiteral("ESTOQUE_MAXIMO"), QStringLiteral("ESTOQ. MÁX."), 90},
                         {QStringLiteral("PRECO_COMPRA"), QStringLiteral("PR. COMPRA"), 100},
                         {QStringLiteral("PRECO_VENDA"), QStringLiteral("PR. VENDA"), 100}});
}

bool TFProdutos::IsNumeric(const QString& text) {
    return std::all_of(text.begin(), text.end(),
                       [](QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); });
}

// ------------------------------------------------------------------ show, pages and states

void TFProdutos::FormShow() {
    RegisterWindow::FormShow();
    if (barCodeForNew_.isEmpty())
        return;
    const QString code = std::exchange(barCodeForNew_, QString());
    btnNovoClick();
    if (dataSet()->state() != data::DataSetState::Edit)
        return;
    dataSet()->field(QStringLiteral("CODIGOBARRAS")).setValue(code);
    DBEdit3->setFocus(); // the code is there: the description comes next
}

void TFProdutos::openLookups() {
    for (data::ClientDataSet* ds : {DM->TBGRUPO, DM->TBSUBGRUPO, DM->TBFORNECEDOR}) {
        ds->open();
        DM->OrdenarDataSet(ds, QStringLiteral("DESCRICAO"));
    }
    atualizar_totais();
}

void TFProdutos::showOnlyPage(QWidget* page) {
    QWidget* other = page == TabSheet1 ? TabSheet2 : TabSheet1;
    PageControl1->setPageVisible(page, true);
    PageControl1->setActivePage(page);
    PageControl1->setPageVisible(other, false);
}

void TFProdutos::navegar() {
    // The subgroup list limited to the edited product's group serves that edit only: other
    // products and other windows see every subgroup.
    dropSubgroupFilter();
    RegisterWindow::navegar();
    btnEtiquetas->setEnabled(btnAlterar->isEnabled()); // a product to print
    showOnlyPage(TabSheet1);
    reloadPicture();
}

void TFProdutos::editar() {
    barCodeAtEdit_ = dataSet()->field(QStringLiteral("CODIGOBARRAS")).asString();
    RegisterWindow::editar();
    btnEtiquetas->setEnabled(false);
    // The stock of a stored product changes only through movements.
    DBEdit10->setEnabled(novo_registro);
    reloadPicture();
}

void TFProdutos::TabSheet1Show() {
    removeFilter();
    reloadPicture();
}

void TFProdutos::TabSheet2Show() {
    txtDescricao->clear();
    txtDescricao->setFocus();
}

bool TFProdutos::eventFilter(QObject* watched, QEvent* event) {
    if (watched == txtDescricao && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Down) {
            DBGrid1->setFocus();
            return true;
        }
    }
    return RegisterWindow::eventFilter(watched, event);
}

// ------------------------------------------------------------------ commands

void TFProdutos::btnAlterarClick() {
    removeFilter();
    RegisterWindow::btnAlterarClick();
}

void TFProdutos::btnSalvarClick() {
    Edit1->setFocus();
    ui::writePendingInput(this);
    if (!barCodeAccepted()) {
        DBEdit2->setFocus();
        return;
    }
    data::ClientDataSet* ds = dataSet();
    const QVariant code = ds->field(QStringLiteral("CODIGO")).value();
    removeFilter();
    {
        // The stock typed here (a new product's) is kept in the trail.
        const TrailScope trail(*DM->SQLConnection1, windowTitle(), {}, HandStock::Yes);
        postAndApply();
    }
    // What the database now holds for the product (the whole table need not be read again).
    ds->refreshRow(QStringLiteral("CODIGO"), code);
    navegar();
    atualizar_totais();
}

bool TFProdutos::barCodeAccepted() {
    // Only a code typed now is checked: a stored file's repeated or odd codes still let their
    // products be edited.
    const QString code = dataSet()->field(QStringLiteral("CODIGOBARRAS")).asString();
    if (code.isEmpty() || code == barCodeAtEdit_)
        return true;
    const int self = int(dataSet()->field(QStringLiteral("CODIGO")).asInteger());
    for (const BarCodeOwner& owner : barCodeOwners(*DM->SQLConnection1, code)) {
        if (owner.code != self) {
            ui::dialogs().message(
                this, QStringLiteral("O código de barras %1 já é do produto %2. Informe outro "
                                     "código de barras.")
                          .arg(code, owner.label()));
            return false;
        }
    }
    return !barcode::looksMistyped(code) ||
           ui::dialogs().question(
               this, QStringLiteral("Atenção"),
               QStringLiteral("O código de barras %1 parece ter sido digitado errado: o dígito "
                              "verificador não confere.\nDeseja gravá-lo assim mesmo?")
                   .arg(code));
}

void TFProdutos::btnCancelarClick() {
    RegisterWindow::btnCancelarClick();
    atualizar_totais();
}

void TFProdutos::btnExcluirClick() {
    if (confirmDelete()) {
        dataSet()->deleteRecord();
        applyNow();
    }
    updateRecordButtons();
    btnEtiquetas->setEnabled(btnAlterar->isEnabled());
    atualizar_totais();
}

void TFProdutos::btnConsultarClick() {
    showOnlyPage(TabSheet2);
}

void TFProdutos::pickRow() {
    // An empty list (a search that found nothing) leads back as well: to the form, or out of
    // the window without a product.
    data::ClientDataSet* ds = dataSet();
    const QVariant code = ds->isEmpty() ? QVariant() : ds->field(QStringLiteral("CODIGO")).value();
    if (selecionar_produto) {
        if (!code.isNull())
            produto_selecionado = code.toInt();
        close();
        return;
    }
    showOnlyPage(TabSheet1);
    removeFilter();
    if (!code.isNull())
        ds->locate(QStringLiteral("CODIGO"), code);
    reloadPicture();
    atualizar_totais();
}

void TFProdutos::txtDescricaoChange() {
    const QString t = txtDescricao->text();
    if (t.isEmpty())
        return;
    data::ClientDataSet* ds = dataSet();
    const QString contains = data::searchPattern(t) + data::kSearchEscape;
    std::vector<QString> steps = {"DESCRICAO LIKE " + contains,
                                  "CODIGOBARRAS = (" + quotedLiteral(t) + ')',
                                  "REFERENCIA LIKE " + contains};
    if (IsNumeric(t))
        steps.push_back("CODIGO = (" + quotedLiteral(t) + ')');
    for (const QString& expression : steps) {
        // One pass over the rows per step: the new filter replaces the old in place.
        ds->setFilter(expression);
        ds->setFiltered(true);
        if (ds->recordCount() > 0) {
            ds->first();
            return;
        }
    }
    if (IsNumeric(t))
        ds->setFiltered(false);
}

void TFProdutos::codeScanned(const QString& code) {
    {
        const QSignalBlocker quiet(txtDescricao);
        txtDescricao->setText(code);
    }
    txtDescricao->selectAll(); // the next scan replaces it
    data::ClientDataSet* ds = dataSet();
    // Codes typed here are stored in upper case; the scanner reads a maker's code as printed.
    ds->setFilter("CODIGOBARRAS = (" + quotedLiteral(code) + ") OR CODIGOBARRAS = (" +
                  quotedLiteral(code.toUpper()) + ')');
    ds->setFiltered(true);
    if (ds->recordCount() > 0)
        ds->first();
    else
        ui::dialogs().message(
            this, QStringLiteral("Nenhum produto tem o código de barras %1.").arg(code));
}

void TFProdutos::dropSubgroupFilter() {
    DM->TBSUBGRUPO->setFiltered(false);
}

void TFProdutos::DBLookupComboBox1Click() {
    const QVariant group = DBLookupComboBox1->keyValue();
    if (group.isNull())
        return;
    data::ClientDataSet* subgroups = DM->TBSUBGRUPO;
    subgroups->setFiltered(false);
    subgroups->setFilter("GRUPO = " + quotedLiteral(group.toString()));
    subgroups->setFiltered(true);
}

void TFProdutos::btnFornecedorClick() {
    modo_selecao = true;
    showOnList<TFFornecedor>(this);
}

void TFProdutos::btnGrupoClick() {
    showOnList<TFGrupo>(this);
}

void TFProdutos::btnSubgrupoClick() {
    showOnList<TFSubGrupo>(this);
}

void TFProdutos::btnEtiquetasClick() {
    const int code = int(dataSet()->field(QStringLiteral("CODIGO")).asInteger());
    ui::openModal(this, FEtiquetas, [code](TFEtiquetas* w) { w->listarProduto(code); });
}

// ------------------------------------------------------------------ totals and picture

void TFProdutos::atualizar_totais() {
    data::ClientDataSet* ds = dataSet();
    auto value = [&](const char* column) {
        return ds->active() && !ds->isEmpty() ? ds->field(QString::fromLatin1(column)).asFloat()
                                              : 0.0;
    };
    const double stock = value("ESTOQUEATUAL");
    const QString picture = QStringLiteral("R$###,###,###.00");
    txtTotalEstoqueCompra->setText(format::formatFloat(picture, stock * value("PRECO_COMPRA")));
    txtTotalEstoqueVenda->setText(format::formatFloat(picture, stock * value("PRECO_VENDA")));
    reloadPicture();
}

void TFProdutos::reloadPicture() {
    data::ClientDataSet* ds = dataSet();
    TBFoto->close();
    QFoto->close();
    QFoto->setInteger(
        QStringLiteral("produto"),
        ds->active() && !ds->isEmpty() ? ds->field(QStringLiteral("CODIGO")).asInteger() : 0);
    TBFoto->open();
}

void TFProdutos::DBImage1Click() {
    if (btnNovo->isEnabled())
        return; // only while editing
    const QString file = choosePictureFile(this);
    if (file.isEmpty())
        return;
    const QByteArray picture = readPictureFile(file);
    if (!ui::dialogs().question(
            this, QStringLiteral("Atenção"),
            QStringLiteral("Você realmente deseja salvar esta imagem em seu banco de dados?")))
        return;
    QAtualizaFoto->setBlob(QStringLiteral("foto"), picture);
    QAtualizaFoto->setInteger(QStringLiteral("produto"),
                              dataSet()->field(QStringLiteral("CODIGO")).asInteger());
    QAtualizaFoto->exec();
    reloadPicture();
}
