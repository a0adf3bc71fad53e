#include "stock/movement_query_window.h"
#include "core/data_module.h"
#include "core/globals.h"
#include "platform/data/client_dataset.h"
#include "platform/data/data_source.h"
#include "platform/data/sql_query.h"
#include "platform/format/format.h"
#include "platform/ui/behaviours.h"
#include "platform/ui/char_case.h"
#include "platform/ui/data_set_model.h"
#include "platform/ui/db_grid.h"
#include "platform/ui/dialogs.h"
#include "platform/ui/guard.h"
#include "platform/ui/mask_edit.h"
#include "reports/movement_report_commands.h"
#include <QComboBox>
#include <QFile>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QScreen>
#include <QStyle>
#include <QVBoxLayout>

TFConsultaMovimentacoes* FConsultaMovimentacoes = nullptr;

namespace {

// The designed background; the colour file may replace it.
const QColor kDesignedColour(0xDC, 0xE6, 0xF0);
const QString kDateMask = QStringLiteral("!99/99/0000;1;_");

QComboBox* makeList(QWidget* parent, const char* name) {
    auto* list = new QComboBox(parent);
    list->setObjectName(QString::fromLatin1(name));
    list->setEditable(true);
    list->setInsertPolicy(QComboBox::NoInsert);
    list->setValidator(new ui::UpperCaseValidator(list));
    list->setMinimumWidth(200);
    // Sized by its own width, not by measuring every name it holds (100,000 products).
    list->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    list->setMinimumContentsLength(20);
    return list;
}

ui::MaskEdit* makeDate(QWidget* parent, const char* name) {
    auto* edit = new ui::MaskEdit(parent);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setEditMask(kDateMask);
    edit->setFixedWidth(90);
    return edit;
}

QPushButton* makeButton(QWidget* parent, const char* name, const QString& caption,
                        const QString& hint) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setToolTip(hint);
    button->setAutoDefault(false);
    button->setCursor(Qt::PointingHandCursor);
    return button;
}

// A list of one field of every row of a shared dataset, in the dataset's order, read straight
// from the rows the data module holds: every change made in the program goes through them, and
// a copy of 100,000 names would cost memory and time for nothing.
void showNames(QComboBox* list, data::DataSource* source, const QString& field) {
    source->dataSet()->open();
    source->dataSet()->readAll();
    auto* names = qobject_cast<ui::DataSetModel*>(list->model());
    if (!names) {
        names = new ui::DataSetModel(list);
        names->setColumns({{field, {}, 0}});
        names->setDataSource(source);
        list->setModel(names);
        ui::keepEditText(list);
    }
    // The filter starts empty.
    list->setCurrentIndex(-1);
    list->clearEditText();
}

bool isEnter(int key) {
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

} // namespace

std::optional<QColor> parseBackgroundColour(const QString& line) {
    const QString text = line.trimmed();
    static const QRegularExpression hex(QStringLiteral("^\\$([0-9A-Fa-f]{1,8})$"));
    static const QRegularExpression decimal(QStringLiteral("^[0-9]{1,10}$"));
    std::optional<qint64> number;
    if (const auto match = hex.match(text); match.hasMatch())
        number = match.captured(1).toLongLong(nullptr, 16);
    else if (decimal.match(text).hasMatch())
        number = text.toLongLong();
    if (number) {
        // Only plain colours: the high byte must be zero.
        if (*number > 0xFFFFFF)
            return std::nullopt;
        return QColor(int(*number & 0xFF), int((*number >> 8) & 0xFF), int((*number >> 16) & 0xFF));
    }
    const QColor named = QColor::fromString(text);
    // A background cannot be see-through ("transparent", "#00RRGGBB").
    if (!named.isValid() || named.alpha() != 255)
        return std::nullopt;
    return named;
}

void locateProductOfCurrentMovement() {
    data::ClientDataSet* movements = DM->TBMOVIMENTACAO;
    if (!movements->active() || movements->isEmpty())
        return;
    const data::Field& product = movements->field(QStringLiteral("PRODUTO"));
    if (product.isNull())
        return;
    DM->TBPRODUTOS->open();
    DM->TBPRODUTOS->locateWhenRead(QStringLiteral("CODIGO"), product.value());
}

TFConsultaMovimentacoes::TFConsultaMovimentacoes(QWidget* parent)
    : ui::Form(parent, QStringLiteral("FConsultaMovimentacoes")) {
    setWindowTitle(QStringLiteral("Consulta de Movimentações"));
    setFont(QFont(QStringLiteral("Arial")));
    defineDataSet();
    buildLayout();
    paintBackground(kDesignedColour);
    resize(857, 600);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

void TFConsultaMovimentacoes::defineDataSet() {
    QMovimentacao = new data::SqlQuery(DM->SQLConnection1, this);
    QMovimentacao->setObjectName(QStringLiteral("QMovimentacao"));
    TBMovimentacao = new data::ClientDataSet(this);
    TBMovimentacao->setObjectName(QStringLiteral("TBMovimentacao"));
    TBMovimentacao->setQuery(QMovimentacao);
    using data::FieldKind;
    struct Column {
        const char* name;
        FieldKind kind;
        int size = 0;
        bool required = false;
        bool currency = false;
    };
    const Column columns[] = {
        {"CODIGO", FieldKind::Integer, 0, true},
        {"PRODUTO", FieldKind::Text, 50},
        {"QUANTIDADE", FieldKind::Float},
        {"PRECO_TOTAL", FieldKind::Float, 0, false, true},
        {"DATA", FieldKind::Date},
        {"FORNECEDOR", FieldKind::Text, 50},
        {"NOME", FieldKind::Text, 50},
        {"NOTA_COMPRA", FieldKind::Text, 50},
        {"CENTRO_CUSTO", FieldKind::Integer},
        {"HORARIO", FieldKind::Time},
    };
    for (const Column& c : columns) {
        data::FieldDef def;
        def.name = QString::fromLatin1(c.name);
        def.kind = c.kind;
        def.size = c.size;
        def.required = c.required;
        def.currency = c.currency;
        def.componentName = QStringLiteral("TBMovimentacao") + def.name;
        TBMovimentacao->addField(def);
    }
    DSMovimentacao = new data::DataSource(TBMovimentacao, this);
    DSMovimentacao->setObjectName(QStringLiteral("DSMovimentacao"));
}

void TFConsultaMovimentacoes::buildLayout() {
    auto* Panel1 = new QFrame(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    CBProduto = makeList(Panel1, "CBProduto");
    CBFornecedor = makeList(Panel1, "CBFornecedor");
    CBCliente = makeList(Panel1, "CBCliente");
    txtDataInicial = makeDate(Panel1, "txtDataInicial");
    txtDataFinal = makeDate(Panel1, "txtDataFinal");
    btnImprimir = makeButton(Panel1, "btnImprimir", QStringLiteral("Imprimir (Ctrl + P)"),
                             QStringLiteral("Tecla de Atalho: Ctrl + P"));
    btnBuscar = makeButton(Panel1, "btnBuscar", QStringLiteral("Buscar (F5)"),
                           QStringLiteral("Tecla de Atalho: F5"));
    btnSair = makeButton(Panel1, "btnSair", {}, QStringLiteral("Sair"));
    btnSair->setIcon(style()->standardIcon(QStyle::SP_DialogCloseButton));

    auto* lists = new QHBoxLayout;
    auto addLabelled = [&](QLayout* row, const QString& caption, QWidget* control) {
        auto* pair = new QVBoxLayout;
        auto* label = new QLabel(caption, Panel1);
        label->setBuddy(control);
        pair->addWidget(label);
        pair->addWidget(control);
        static_cast<QBoxLayout*>(row)->addLayout(pair);
    };
    addLabelled(lists, QStringLiteral("Produto"), CBProduto);
    addLabelled(lists, QStringLiteral("Fornecedor"), CBFornecedor);
    addLabelled(lists, QStringLiteral("Cliente "), CBCliente);

    auto* period = new QHBoxLayout;
    period->addWidget(new QLabel(QStringLiteral("Período de: "), Panel1));
    period->addWidget(txtDataInicial);
    period->addWidget(new QLabel(QStringLiteral(" a "), Panel1));
    period->addWidget(txtDataFinal);
    period->addStretch();
    period->addWidget(btnImprimir);
    period->addWidget(btnBuscar);
    period->addWidget(btnSair);

    auto* panelLayout = new QVBoxLayout(Panel1);
    panelLayout->addLayout(lists);
    panelLayout->addLayout(period);

    DBGrid1 = new ui::DBGrid(this);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->setDataSource(DSMovimentacao);
    DBGrid1->setColumns({
        {QStringLiteral("CODIGO"), QStringLiteral("CÓD"), 35},
        {QStringLiteral("NOTA_COMPRA"), QStringLiteral("N° NOTA"), 70},
        {QStringLiteral("PRODUTO"), QStringLiteral("PRODUTO"), 218},
        {QStringLiteral("QUANTIDADE"), QStringLiteral("QTD."), 37},
        {QStringLiteral("PRECO_TOTAL"), QStringLiteral("VALOR TOTAL"), 96},
        {QStringLiteral("DATA"), QStringLiteral("DATA"), 60},
        {QStringLiteral("HORARIO"), QStringLiteral("HORÁRIO"), 0},
        {QStringLiteral("FORNECEDOR"), QStringLiteral("FORNECEDOR"), 175},
        {QStringLiteral("NOME"), QStringLiteral("CLIENTE"), 175},
        {QStringLiteral("centro_de_custo"),
         QStringLiteral("CENTRO DE CUSTO"),
         0,
         {DM->TBCENTRO, QStringLiteral("CODIGO"), QStringLiteral("DESCRICAO"),
          QStringLiteral("CENTRO_CUSTO")}},
    });

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(Panel1);
    layout->addWidget(DBGrid1, 1);

    // After the end date the focus lands on the rows just searched.
    QWidget* const order[] = {CBProduto, CBFornecedor, CBCliente, txtDataInicial, txtDataFinal,
                              DBGrid1,   btnImprimir,  btnBuscar, btnSair};
    for (std::size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);
    for (QWidget* filter : std::initializer_list<QWidget*>{CBProduto, CBFornecedor, CBCliente,
                                                           txtDataInicial, txtDataFinal})
        ui::attachFocusColours(filter);
    ui::attachKeyMovement(txtDataInicial, ui::kEditMoveKeys);
    for (QWidget* control :
         std::initializer_list<QWidget*>{CBProduto, CBFornecedor, CBCliente, txtDataFinal})
        control->installEventFilter(this);

    ui::addShortcut(this, QKeySequence(Qt::Key_F5), btnBuscar, QStringLiteral("Buscar1"));
    ui::addShortcut(this, QKeySequence(Qt::CTRL | Qt::Key_P), btnImprimir,
                    QStringLiteral("Imprimir1"));
    ui::connectGuarded(btnBuscar, &QPushButton::clicked, this,
                       &TFConsultaMovimentacoes::btnBuscarClick);
    ui::connectGuarded(btnImprimir, &QPushButton::clicked, this,
                       &TFConsultaMovimentacoes::btnImprimirClick);
    ui::connectGuarded(btnSair, &QPushButton::clicked, this,
                       &TFConsultaMovimentacoes::btnSairClick);
    ui::connectGuarded(DBGrid1, &ui::DBGrid::gridDoubleClicked, this,
                       &TFConsultaMovimentacoes::DBGrid1DblClick);
}

void TFConsultaMovimentacoes::paintBackground(const QColor& colour) {
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, colour);
    setPalette(palette);
    setAutoFillBackground(true);
    // The grid's titles and its corner, in one flat colour: with borders of its own a section is
    // drawn by the style sheet alone, not shaded by the platform style.
    DBGrid1->setStyleSheet(
        QStringLiteral("QHeaderView::section, QTableCornerButton::section { background-color: %1;"
                       " border: none; border-right: 1px solid palette(mid);"
                       " border-bottom: 1px solid palette(mid); padding: 2px 4px; }")
            .arg(colour.name()));
}

void TFConsultaMovimentacoes::aplicar_cor() {
    QFile file(caminho_sistema + QStringLiteral("CorDeFundo.txt"));
    if (!file.exists())
        return;
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        ui::dialogs().message(this, QStringLiteral("Não foi possível ler o arquivo CorDeFundo.txt; "
                                                   "a janela mantém suas cores."));
        return;
    }
    const QString line = QString::fromUtf8(file.readLine()).trimmed();
    if (line.isEmpty())
        return;
    const std::optional<QColor> colour = parseBackgroundColour(line);
    if (!colour) {
        ui::dialogs().message(this, QStringLiteral("A cor \"%1\" do arquivo CorDeFundo.txt não é "
                                                   "uma cor válida; a janela mantém suas cores.")
                                        .arg(line));
        return;
    }
    paintBackground(*colour);
}

void TFConsultaMovimentacoes::FormShow() {
    aplicar_cor();
    DM->TBCENTRO->close();
    DM->TBCENTRO->open();
    const format::PeriodTexts period = format::monthPeriod(QDate::currentDate());
    txtDataInicial->setText(period.first);
    txtDataFinal->setText(period.last);
    fillLists();
    CBProduto->setFocus();
    btnBuscarClick();
}

void TFConsultaMovimentacoes::fillLists() {
    showNames(CBProduto, DM->DSPRODUTOS, QStringLiteral("DESCRICAO"));
    showNames(CBFornecedor, DM->DSFORNECEDOR, QStringLiteral("DESCRICAO"));
    showNames(CBCliente, DM->DSCLIENTE, QStringLiteral("NOME"));
}

void TFConsultaMovimentacoes::addListCondition(QComboBox* list, data::ClientDataSet* dataset,
                                               const QString& nameField, const QStringList& lines,
                                               const QString& parameter) {
    const QString name = list->currentText();
    if (name.isEmpty())
        return;
    // The dataset was read from the database when the window opened, and nothing can change it
    // while this modal window is up: reading the whole table again per search would buy nothing.
    // A text that names no row is dropped: the search then lists every row of that filter.
    if (!dataset->locate(nameField, name, data::CaseInsensitive))
        return;
    QMovimentacao->sql() << lines;
    QMovimentacao->setInteger(parameter, dataset->field(QStringLiteral("CODIGO")).asInteger());
}

std::optional<QDate> TFConsultaMovimentacoes::periodDate(ui::MaskEdit* edit,
                                                         const QString& message) {
    const std::optional<QDate> date = format::parseDate(edit->text());
    if (!date) {
        ui::dialogs().message(this, message);
        edit->setFocus();
    }
    return date;
}

void TFConsultaMovimentacoes::btnBuscarClick() {
    TBMovimentacao->close();
    QMovimentacao->close();
    QMovimentacao->sql().clear();
    QMovimentacao->clearParams();
    QMovimentacao->sql() << QStringLiteral("select TMOVIMENTACAO.CODIGO ")
                         << QStringLiteral("  , TPRODUTO.DESCRICAO as produto ")
                         << QStringLiteral("  , TMOVIMENTACAO.QUANTIDADE ")
                         << QStringLiteral("  , TMOVIMENTACAO.PRECO_TOTAL ")
                         << QStringLiteral("  , TMOVIMENTACAO.DATA ")
                         << QStringLiteral("  , TMOVIMENTACAO.NOTA_COMPRA ")
                         << QStringLiteral("  , TMOVIMENTACAO.CENTRO_CUSTO ")
                         << QStringLiteral("  , TMOVIMENTACAO.HORARIO ")
                         << QStringLiteral("  , TFORNECEDOR.DESCRICAO as fornecedor ")
                         << QStringLiteral("  , TCLIENTE.NOME ")
                         << QStringLiteral("from TMOVIMENTACAO ")
                         << QStringLiteral("left join TFORNECEDOR on(TMOVIMENTACAO.FORNECEDOR = "
                                           "TFORNECEDOR.CODIGO) ")
                         << QStringLiteral("left join TCLIENTE on(TMOVIMENTACAO.CLIENTE = "
                                           "TCLIENTE.CODIGO) ")
                         << QStringLiteral("left join TPRODUTO on(TMOVIMENTACAO.PRODUTO= "
                                           "TPRODUTO.CODIGO) ")
                         << QStringLiteral(" where ")
                         << QStringLiteral(" TMOVIMENTACAO.TIPO = :tipo ");
    QMovimentacao->setText(QStringLiteral("tipo"), consulta_entradas == 1
                                                       ? QStringLiteral("ENTRADA")
                                                       : QStringLiteral("SAIDA"));
    addListCondition(CBProduto, DM->TBPRODUTOS, QStringLiteral("DESCRICAO"),
                     {QStringLiteral(" and TMOVIMENTACAO.PRODUTO = :produto ")},
                     QStringLiteral("produto"));
    addListCondition(
        CBFornecedor, DM->TBFORNECEDOR, QStringLiteral("DESCRICAO"),
        {QStringLiteral(" and "), QStringLiteral(" TMOVIMENTACAO.FORNECEDOR = :fornecedor ")},
        QStringLiteral("fornecedor"));
    addListCondition(
        CBCliente, DM->TBCLIENTE, QStringLiteral("NOME"),
        {QStringLiteral(" and "), QStringLiteral(" TMOVIMENTACAO.CLIENTE = :cliente ")},
        QStringLiteral("cliente"));
    // A period needs both dates; with one cleared every date is listed.
    if (!txtDataInicial->isBlank() && !txtDataFinal->isBlank()) {
        const std::optional<QDate> inicio =
            periodDate(txtDataInicial, QStringLiteral("Data inicial inválida!"));
        if (!inicio)
            return;
        const std::optional<QDate> fim =
            periodDate(txtDataFinal, QStringLiteral("Data final inválida!"));
        if (!fim)
            return;
        QMovimentacao->sql() << QStringLiteral(" and ")
                             << QStringLiteral(" TMOVIMENTACAO.DATA >= :datainicial AND "
                                               "TMOVIMENTACAO.DATA <= :datafinal ");
        QMovimentacao->setDate(QStringLiteral("datainicial"), *inicio);
        QMovimentacao->setDate(QStringLiteral("datafinal"), *fim);
    }
    QMovimentacao->sql() << QStringLiteral("ORDER BY TMOVIMENTACAO.DATA");
    TBMovimentacao->open();
}

void TFConsultaMovimentacoes::DBGrid1DblClick() {
    close(); // closing makes the chosen row the current movement
}

void TFConsultaMovimentacoes::btnImprimirClick() {
    openStockMovementReport(this);
}

void TFConsultaMovimentacoes::btnSairClick() {
    close();
}

void TFConsultaMovimentacoes::FormClose() {
    // Reported but never holding the window open: the user can always leave.
    ui::runGuarded([this] {
        // Placing one row is no reason to read a million: movements not read yet have no
        // position to keep.
        data::ClientDataSet* movements = DM->TBMOVIMENTACAO;
        if (movements->active() && TBMovimentacao->active() && !TBMovimentacao->isEmpty())
            movements->locate(QStringLiteral("CODIGO"),
                              TBMovimentacao->field(QStringLiteral("CODIGO")).value());
    });
}

bool TFConsultaMovimentacoes::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress)
        return ui::Form::eventFilter(watched, event);
    const auto* key = static_cast<QKeyEvent*>(event);
    if ((key->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier)
        return ui::Form::eventFilter(watched, event);
    if (watched == txtDataFinal) {
        if (isEnter(key->key()) || key->key() == Qt::Key_Down) {
            // On to the rows only when the search ran; a bad date keeps the focus it was given.
            if (ui::runGuarded([this] { btnBuscarClick(); }) && TBMovimentacao->active())
                focusNextChild();
            return true;
        }
        if (key->key() == Qt::Key_Up) {
            focusPreviousChild();
            return true;
        }
    } else if (isEnter(key->key())) { // one of the three lists
        focusNextChild();
        ui::runGuarded([this] { btnBuscarClick(); });
        return true;
    }
    return ui::Form::eventFilter(watched, event);
}
