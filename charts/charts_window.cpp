#include "charts/charts_window.h"
#include "charts/chart_file.h"
#include "charts/movement_area.h"
#include "charts/stock_pie.h"
#include "core/data_module.h"
#include "core/globals.h"
#include "platform/format/format.h"
#include "platform/ui/db_lookup_combo_box.h"
#include "platform/ui/dialogs.h"
#include "platform/ui/guard.h"
#include "platform/ui/mask_edit.h"
#include "platform/ui/page_control.h"
#include "platform/ui/radio_group.h"
#include <QChartView>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPushButton>

TFGraficos* FGraficos = nullptr;

namespace {

bool isEnter(int key) {
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

// Reading and drawing a large shop takes a moment: the user sees the busy cursor meanwhile.
auto busyCursor() {
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    return qScopeGuard([] { QGuiApplication::restoreOverrideCursor(); });
}

} // namespace

TFGraficos::TFGraficos(QWidget* parent) : ui::Form(parent, QStringLiteral("FGraficos")) {
    setWindowTitle(QStringLiteral("Gráficos do Estoque"));
    setFont(QFont(QStringLiteral("Arial")));
    setWindowFlags(Qt::Dialog | Qt::WindowSystemMenuHint | Qt::WindowMaximizeButtonHint |
                   Qt::WindowCloseButtonHint);
    defineDataSets();

    PageControl1 = new ui::PageControl(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    TabSheet1 = buildStockPage();
    TabSheet2 = buildMovementPage();
    PageControl1->addPage(TabSheet1, QStringLiteral("Produto no Estoque"));
    PageControl1->addPage(TabSheet2, QStringLiteral("Movimentações no Estoque"));
    PageControl1->setActivePage(TabSheet1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(PageControl1);
    connectHandlers();

    resize(800, 600);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

void TFGraficos::defineDataSets() {
    using data::FieldKind;
    struct Column {
        const char* name;
        FieldKind kind;
        int size = 0;
        bool currency = false;
    };
    const auto define = [this](const char* name, const std::initializer_list<Column>& columns,
                               data::SqlQuery*& query, data::ClientDataSet*& dataset,
                               data::DataSource*& source) {
        const QString stem = QString::fromLatin1(name);
        query = new data::SqlQuery(DM->SQLConnection1, this);
        query->setObjectName(QStringLiteral("Q") + stem);
        dataset = new data::ClientDataSet(this);
        dataset->setObjectName(QStringLiteral("TB") + stem);
        dataset->setQuery(query);
        for (const Column& c : columns) {
            data::FieldDef def;
            def.name = QString::fromLatin1(c.name);
            def.kind = c.kind;
            def.size = c.size;
            def.currency = c.currency;
            def.componentName = dataset->objectName() + def.name;
            dataset->addField(def);
        }
        source = new data::DataSource(dataset, this);
        source->setObjectName(QStringLiteral("DS") + stem);
    };
    define("Produtos", {{"DESCRICAO", FieldKind::Text, 50}, {"ESTOQUEATUAL", FieldKind::Float}},
           QProdutos, TBProdutos, DSProdutos);
    define("Movimentacoes",
           {{"QUANTIDADE", FieldKind::Float},
            {"DATA", FieldKind::Date},
            {"PRECO_TOTAL", FieldKind::Float, 0, true},
            {"DESCRICAO", FieldKind::Text, 50}},
           QMovimentacoes, TBMovimentacoes, DSMovimentacoes);
}

void TFGraficos::connectHandlers() {
    using ui::connectGuarded;
    connectGuarded(DBLookupComboBox1, &ui::DBLookupComboBox::chosen, this,
                   &TFGraficos::DBLookupComboBox1Click);
    connectGuarded(DBLookupComboBox1, &ui::DBLookupComboBox::exited, this,
                   &TFGraficos::DBLookupComboBox1Exit);
    connectGuarded(DBLookupComboBox2, &ui::DBLookupComboBox::chosen, this,
                   &TFGraficos::DBLookupComboBox2Click);
    connectGuarded(btnSelecionarTodos1, &QPushButton::clicked, this,
                   &TFGraficos::btnSelecionarTodos1Click);
    connectGuarded(btnImprimir1, &QPushButton::clicked, this, &TFGraficos::btnImprimir1Click);
    connectGuarded(btnSalvar1, &QPushButton::clicked, this, &TFGraficos::btnSalvar1Click);
    connectGuarded(btnSair1, &QPushButton::clicked, this, &TFGraficos::btnSair1Click);
    connectGuarded(btnBuscar2, &QPushButton::clicked, this, &TFGraficos::btnBuscar2Click);
    connectGuarded(DBLookupComboBox5, &ui::DBLookupComboBox::chosen, this,
                   &TFGraficos::DBLookupComboBox5Click);
    connectGuarded(RGTipo, &ui::RadioGroup::changed, this, &TFGraficos::RGTipoClick);
    connectGuarded(btnImprimir2, &QPushButton::clicked, this, &TFGraficos::btnImprimir2Click);
    connectGuarded(btnSalvar2, &QPushButton::clicked, this, &TFGraficos::btnSalvar2Click);
    connectGuarded(btnSair2, &QPushButton::clicked, this, &TFGraficos::btnSair2Click);
    // The charts follow their datasets: whatever the datasets hold is what is drawn.
    connectGuarded(TBProdutos, &data::ClientDataSet::dataSetChanged, this, &TFGraficos::drawPie);
    connectGuarded(TBMovimentacoes, &data::ClientDataSet::dataSetChanged, this,
                   &TFGraficos::drawArea);
}

QChart* TFGraficos::pieChart() const {
    return DBChart1->chart();
}
QChart* TFGraficos::areaChart() const {
    return DBChart2->chart();
}

void TFGraficos::FormShow() {
    for (data::ClientDataSet* shared : {DM->TBGRUPO, DM->TBSUBGRUPO, DM->TBPRODUTOS}) {
        shared->close();
        shared->open();
    }
    previousSubgroupFilter_ = DM->TBSUBGRUPO->filter();
    previousSubgroupFiltered_ = DM->TBSUBGRUPO->filtered();
    const auto busy = busyCursor();
    rebuildProductQuery({});
    pieChart()->setTitle(kPieFirstTitle);
    TBProdutos->open();
}

void TFGraficos::FormClose() {
    // The subgroup list elsewhere must offer every subgroup again: the filter set here goes.
    ui::runGuarded([this] {
        if (!subgroupFilterSet_)
            return;
        subgroupFilterSet_ = false;
        DM->TBSUBGRUPO->setFiltered(false);
        DM->TBSUBGRUPO->setFilter(previousSubgroupFilter_);
        DM->TBSUBGRUPO->setFiltered(previousSubgroupFiltered_);
    });
}

void TFGraficos::rebuildProductQuery(const QString& condition) {
    TBProdutos->close();
    QProdutos->close();
    QProdutos->sql().clear();
    QProdutos->clearParams();
    QProdutos->sql() << QStringLiteral("select TPRODUTO.DESCRICAO ")
                     << QStringLiteral("  , TPRODUTO.ESTOQUEATUAL ")
                     << QStringLiteral("from TPRODUTO ");
    if (!condition.isEmpty())
        QProdutos->sql() << condition;
}

void TFGraficos::DBLookupComboBox1Click() {
    const QVariant grupo = DBLookupComboBox1->keyValue();
    if (grupo.isNull())
        return;
    const auto busy = busyCursor();
    rebuildProductQuery(QStringLiteral("where TPRODUTO.GRUPO = :grupo "));
    QProdutos->setInteger(QStringLiteral("grupo"), grupo.toLongLong());
    pieChart()->setTitle(QStringLiteral("Produtos do Grupo: ") + DBLookupComboBox1->currentText());
    TBProdutos->open();
}

void TFGraficos::DBLookupComboBox1Exit() {
    // Nothing chosen, nothing to narrow the subgroups to.
    const QVariant grupo = DBLookupComboBox1->keyValue();
    if (grupo.isNull())
        return;
    DM->TBSUBGRUPO->setFilter(QStringLiteral("GRUPO='%1'").arg(grupo.toString()));
    DM->TBSUBGRUPO->setFiltered(true);
    subgroupFilterSet_ = true;
}

void TFGraficos::DBLookupComboBox2Click() {
    data::ClientDataSet* subgroups = DM->TBSUBGRUPO;
    if (DBLookupComboBox2->keyValue().isNull() || subgroups->isEmpty())
        return;
    const QVariant subgrupo = subgroups->field(QStringLiteral("CODIGO")).value();
    const QVariant grupo = subgroups->field(QStringLiteral("GRUPO")).value();
    const QString subgroupText = DBLookupComboBox2->currentText();
    QString groupName;
    if (!grupo.isNull() && DM->TBGRUPO->locate(QStringLiteral("CODIGO"), grupo)) {
        groupName = DM->TBGRUPO->field(QStringLiteral("DESCRICAO")).asString();
        // The group list shows the group being charted.
        DBLookupComboBox1->setKeyValue(grupo);
    }
    const auto busy = busyCursor();
    rebuildProductQuery(
        QStringLiteral("where TPRODUTO.GRUPO = :grupo and TPRODUTO.SUBGRUPO = :subgrupo"));
    if (grupo.isNull())
        QProdutos->setNull(QStringLiteral("grupo"), data::FieldKind::Integer);
    else
        QProdutos->setInteger(QStringLiteral("grupo"), grupo.toLongLong());
    QProdutos->setInteger(QStringLiteral("subgrupo"), subgrupo.toLongLong());
    pieChart()->setTitle(QStringLiteral("Produtos do Grupo: ") + groupName +
                         QStringLiteral(" e do Subgrupo: ") + subgroupText);
    TBProdutos->open();
}

void TFGraficos::btnSelecionarTodos1Click() {
    const auto busy = busyCursor();
    rebuildProductQuery({});
    pieChart()->setTitle(QStringLiteral("Produtos do Estoque"));
    TBProdutos->open();
}

void TFGraficos::btnBuscar2Click() {
    const auto busy = busyCursor();
    areaChart()->setTitle({});
    TBMovimentacoes->close();
    QMovimentacoes->close();
    QMovimentacoes->sql().clear();
    QMovimentacoes->clearParams();
    QMovimentacoes->sql() << QStringLiteral("select TMOVIMENTACAO.QUANTIDADE ")
                          << QStringLiteral("  , TMOVIMENTACAO.DATA ")
                          << QStringLiteral("  , TMOVIMENTACAO.PRECO_TOTAL ")
                          << QStringLiteral("  , TPRODUTO.DESCRICAO ")
                          << QStringLiteral("from TMOVIMENTACAO, TPRODUTO ")
                          << QStringLiteral("where TMOVIMENTACAO.PRODUTO = TPRODUTO.CODIGO ")
                          << QStringLiteral(" and TMOVIMENTACAO.TIPO = :tipo");
    const bool entradas = RGTipo->itemIndex() != 1;
    QMovimentacoes->setText(QStringLiteral("tipo"),
                            entradas ? QStringLiteral("ENTRADA") : QStringLiteral("SAIDA"));
    const QString head = (entradas ? QStringLiteral("Entradas do Produto: ")
                                   : QStringLiteral("Saídas do Produto: ")) +
                         DBLookupComboBox5->currentText();
    if (const QVariant produto = DBLookupComboBox5->keyValue(); !produto.isNull()) {
        QMovimentacoes->sql() << QStringLiteral(" and TMOVIMENTACAO.PRODUTO = :produto ");
        QMovimentacoes->setInteger(QStringLiteral("produto"), produto.toLongLong());
    }
    if (!txtDataInicial->isBlank() && !txtDataFinal->isBlank()) {
        // A date that is not one leaves the chart empty and untitled, and the user told which.
        for (auto [edit, message] : {std::pair{txtDataInicial, "Data inicial inválida!"},
                                     std::pair{txtDataFinal, "Data final inválida!"}}) {
            if (!format::parseDate(edit->text())) {
                ui::dialogs().message(this, QString::fromUtf8(message));
                edit->setFocus();
                return;
            }
        }
        QMovimentacoes->sql() << QStringLiteral(" and TMOVIMENTACAO.DATA >= :datainicial ")
                              << QStringLiteral(" and TMOVIMENTACAO.DATA <= :datafinal ")
                              << QStringLiteral(" order by TMOVIMENTACAO.DATA  ");
        QMovimentacoes->setDate(QStringLiteral("datainicial"),
                                *format::parseDate(txtDataInicial->text()));
        QMovimentacoes->setDate(QStringLiteral("datafinal"),
                                *format::parseDate(txtDataFinal->text()));
    }
    areaChart()->setTitle(head + QStringLiteral(". No período de ") + txtDataInicial->text() +
                          QStringLiteral(" à ") + txtDataFinal->text());
    TBMovimentacoes->open();
}

void TFGraficos::DBLookupComboBox5Click() {
    btnBuscar2Click();
}

void TFGraficos::RGTipoClick() {
    btnBuscar2Click();
}

void TFGraficos::drawPie() {
    pieCapacity_ = legendCapacity(pieChart());
    fillPie(Series1, stockSlices(*TBProdutos, QStringLiteral("DESCRICAO"),
                                 QStringLiteral("ESTOQUEATUAL"), pieCapacity_));
    showMarksThatFit(Series1, pieChart()->plotArea());
}

void TFGraficos::drawArea() {
    fillArea(
        areaChart(), PieSeries1,
        movementPoints(*TBMovimentacoes, QStringLiteral("DATA"), QStringLiteral("QUANTIDADE")));
}

void TFGraficos::printChart(QChartView* view) {
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageOrientation(QPageLayout::Landscape);
    QPrintPreviewDialog preview(&printer, this);
    preview.setObjectName(QStringLiteral("PrintPreview"));
    preview.setWindowTitle(QStringLiteral("Visualizar Impressão"));
    connect(&preview, &QPrintPreviewDialog::paintRequested, this, [view](QPrinter* target) {
        QPainter painter(target);
        painter.setRenderHint(QPainter::Antialiasing);
        const QRectF page = target->pageLayout().paintRectPixels(target->resolution());
        view->render(&painter, QRectF(QPointF(0, 0), page.size()), view->viewport()->rect(),
                     Qt::KeepAspectRatio);
    });
    ui::dialogs().showModal(&preview);
    view->viewport()->update();
}

void TFGraficos::saveChart(QChartView* view) {
    const QString chosen = ui::dialogs().saveFile(this, QStringLiteral("Salvar Gráfico"),
                                                  QStringLiteral("Bitmaps (*.bmp)"));
    if (chosen.isEmpty())
        return;
    const QString path = bitmapFileName(chosen);
    if (!saveBitmap(view, path))
        ui::dialogs().message(this, QStringLiteral("Não foi possível gravar o arquivo \"%1\". "
                                                   "Verifique se a pasta existe e se você tem "
                                                   "permissão para gravar nela.")
                                        .arg(path));
}

void TFGraficos::btnImprimir1Click() {
    printChart(DBChart1);
}
void TFGraficos::btnSalvar1Click() {
    saveChart(DBChart1);
}
void TFGraficos::btnSair1Click() {
    close();
}
void TFGraficos::btnImprimir2Click() {
    printChart(DBChart2);
}
void TFGraficos::btnSalvar2Click() {
    saveChart(DBChart2);
}
void TFGraficos::btnSair2Click() {
    close();
}

bool TFGraficos::DBLookupComboBox5KeyDown(QKeyEvent* key) {
    if (isEnter(key->key()) || key->key() == Qt::Key_Down) {
        focusNextChild();
        return true;
    }
    if (key->key() == Qt::Key_Up) {
        focusPreviousChild();
        return true;
    }
    return false;
}

bool TFGraficos::txtDataInicialKeyDown(QKeyEvent* key) {
    return DBLookupComboBox5KeyDown(key); // the same moves
}

bool TFGraficos::txtDataFinalKeyDown(QKeyEvent* key) {
    if (isEnter(key->key()) || key->key() == Qt::Key_Down) {
        ui::runGuarded([this] { btnBuscar2Click(); });
        return true;
    }
    if (key->key() == Qt::Key_Up) {
        focusPreviousChild();
        return true;
    }
    return false;
}

bool TFGraficos::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress)
        return ui::Form::eventFilter(watched, event);
    auto* key = static_cast<QKeyEvent*>(event);
    if ((key->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier)
        return ui::Form::eventFilter(watched, event);
    if (watched == DBLookupComboBox5 && DBLookupComboBox5KeyDown(key))
        return true;
    if (watched == txtDataInicial && txtDataInicialKeyDown(key))
        return true;
    if (watched == txtDataFinal && txtDataFinalKeyDown(key))
        return true;
    return ui::Form::eventFilter(watched, event);
}
