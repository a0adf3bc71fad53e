// The charts window's two pages as laid out: the pie of the stock with its lists and notes, the
// movement area with its product, period and kind.
#include "charts/charts_window.h"
#include "charts/movement_area.h"
#include "charts/stock_pie.h"
#include "core/data_module.h"
#include "core/globals.h"
#include "platform/ui/db_lookup_combo_box.h"
#include "platform/ui/mask_edit.h"
#include "platform/ui/radio_group.h"
#include <QAreaSeries>
#include <QChartView>
#include <QDateTimeAxis>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineSeries>
#include <QPieSeries>
#include <QPushButton>
#include <QValueAxis>

namespace {

const QString kDateMask = QStringLiteral("!99/99/0000;1;_");

QPushButton* makeButton(QWidget* parent, const char* name, const QString& caption) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setAutoDefault(false);
    button->setCursor(Qt::PointingHandCursor);
    return button;
}

ui::DBLookupComboBox* makeLookup(QWidget* parent, const char* name, data::DataSource* list) {
    auto* lookup = new ui::DBLookupComboBox(parent);
    lookup->setObjectName(QString::fromLatin1(name));
    lookup->setListSource(list);
    lookup->setKeyField(QStringLiteral("CODIGO"));
    lookup->setListField(QStringLiteral("DESCRICAO"));
    lookup->setMinimumWidth(220);
    return lookup;
}

ui::MaskEdit* makeDate(QWidget* parent, const char* name, const QString& text) {
    auto* edit = new ui::MaskEdit(parent);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setEditMask(kDateMask);
    edit->setText(text);
    edit->setFixedWidth(90);
    return edit;
}

QChartView* makeChartView(QWidget* parent, const char* name, QChart* chart) {
    chart->setAnimationOptions(QChart::NoAnimation);
    chart->setLocalizeNumbers(true);
    chart->setLocale(QLocale(QLocale::Portuguese, QLocale::Brazil));
    chart->setBackgroundBrush(Qt::white);
    chart->legend()->setAlignment(Qt::AlignTop);
    QFont title = chart->titleFont();
    title.setFamily(QStringLiteral("Arial"));
    title.setPointSize(12);
    title.setBold(true);
    chart->setTitleFont(title);
    auto* view = new QChartView(chart, parent);
    view->setObjectName(QString::fromLatin1(name));
    view->setRenderHint(QPainter::Antialiasing);
    // Marks drawn beyond their series' bounds (values over the points, slices' labels) would
    // leave pieces behind on a partial repaint: the whole chart is painted each time.
    view->setViewportUpdateMode(QGraphicsView::FullViewportUpdate);
    view->setBackgroundBrush(Qt::white);
    return view;
}

void addLabelled(QBoxLayout* row, QWidget* parent, const QString& caption, QWidget* control) {
    auto* pair = new QVBoxLayout;
    auto* label = new QLabel(caption, parent);
    label->setBuddy(control);
    pair->addWidget(label);
    pair->addWidget(control);
    row->addLayout(pair);
}

} // namespace

QWidget* TFGraficos::buildStockPage() {
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("TabSheet1"));
    auto* panel = new QFrame(page);
    panel->setObjectName(QStringLiteral("Panel1"));
    DBLookupComboBox1 = makeLookup(panel, "DBLookupComboBox1", DM->DSGRUPO);
    DBLookupComboBox2 = makeLookup(panel, "DBLookupComboBox2", DM->DSSUBGRUPO);
    btnSelecionarTodos1 =
        makeButton(panel, "btnSelecionarTodos1", QStringLiteral("Selecionar Todos"));
    btnImprimir1 = makeButton(panel, "btnImprimir1", QStringLiteral("Imprimir"));
    btnSalvar1 = makeButton(panel, "btnSalvar1", QStringLiteral("Salvar"));
    btnSair1 = makeButton(panel, "btnSair1", QStringLiteral("Sair"));
    auto* row = new QHBoxLayout(panel);
    addLabelled(row, panel, QStringLiteral("Grupo"), DBLookupComboBox1);
    addLabelled(row, panel, QStringLiteral("Subgrupo"), DBLookupComboBox2);
    row->addStretch();
    for (QPushButton* button : {btnSelecionarTodos1, btnImprimir1, btnSalvar1, btnSair1})
        row->addWidget(button, 0, Qt::AlignBottom);

    Series1 = new QPieSeries;
    Series1->setObjectName(QStringLiteral("Series1"));
    Series1->setPieSize(0.65); // room for the marks around it
    auto* chart = new QChart;
    chart->addSeries(Series1);
    chart->setTitle(kPieFirstTitle);
    DBChart1 = makeChartView(page, "DBChart1", chart);
    // A long list of products reads best down the side, where no name is cut short.
    chart->legend()->setAlignment(Qt::AlignRight);
    connect(chart, &QChart::plotAreaChanged, this, [this](const QRectF& area) {
        // The legend names no more slices than it shows: a resize may change how many.
        if (legendCapacity(pieChart()) != pieCapacity_)
            drawPie();
        else
            showMarksThatFit(Series1, area);
    });

    auto* notes = new QFrame(page);
    notes->setObjectName(QStringLiteral("Panel2"));
    auto* notesLayout = new QVBoxLayout(notes);
    notesLayout->setContentsMargins(8, 2, 8, 4);
    notesLayout->setSpacing(0);
    for (const QString& text :
         {QStringLiteral("Obs: A Porcentagem é dada pela quantidade de produtos em relação ao "
                         "todo do estoque selecionado."),
          QStringLiteral("Ex: Produto A com quantidade 5 é 10% de um estoque com 50 quantidades "
                         "de produtos.")}) {
        auto* note = new QLabel(text, notes);
        QFont small = font();
        small.setPointSize(7);
        note->setFont(small);
        notesLayout->addWidget(note);
    }

    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(panel);
    layout->addWidget(DBChart1, 1);
    layout->addWidget(notes);
    return page;
}

QWidget* TFGraficos::buildMovementPage() {
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("TabSheet2"));
    auto* panel = new QFrame(page);
    panel->setObjectName(QStringLiteral("Panel3"));
    DBLookupComboBox5 = makeLookup(panel, "DBLookupComboBox5", DM->DSPRODUTOS);
    txtDataInicial = makeDate(panel, "txtDataInicial", QStringLiteral("01/01/2000"));
    txtDataFinal = makeDate(panel, "txtDataFinal", QStringLiteral("31/12/2050"));
    RGTipo = new ui::RadioGroup(QStringLiteral("Tipo de Movimentação"),
                                {QStringLiteral("Entradas"), QStringLiteral("Saídas")}, 2, panel);
    RGTipo->setObjectName(QStringLiteral("RGTipo"));
    RGTipo->setItemIndex(0);
    btnBuscar2 = makeButton(panel, "btnBuscar2", QStringLiteral("Atualizar"));
    btnImprimir2 = makeButton(panel, "btnImprimir2", QStringLiteral("Imprimir"));
    btnSalvar2 = makeButton(panel, "btnSalvar2", QStringLiteral("Salvar"));
    btnSair2 = makeButton(panel, "btnSair2", QStringLiteral("Sair"));

    auto* row = new QHBoxLayout(panel);
    addLabelled(row, panel, QStringLiteral("Produto"), DBLookupComboBox5);
    auto* period = new QHBoxLayout;
    period->addWidget(txtDataInicial);
    period->addWidget(new QLabel(QStringLiteral("a"), panel));
    period->addWidget(txtDataFinal);
    auto* periodPair = new QVBoxLayout;
    auto* periodLabel = new QLabel(QStringLiteral("Período de"), panel);
    periodLabel->setBuddy(txtDataInicial);
    periodPair->addWidget(periodLabel);
    periodPair->addLayout(period);
    row->addLayout(periodPair);
    row->addWidget(RGTipo);
    row->addStretch();
    for (QPushButton* button : {btnBuscar2, btnImprimir2, btnSalvar2, btnSair2})
        row->addWidget(button, 0, Qt::AlignBottom);

    auto* upper = new QLineSeries;
    PieSeries1 = new QAreaSeries(upper);
    PieSeries1->setObjectName(QStringLiteral("PieSeries1"));
    PieSeries1->setName(QStringLiteral("Quantidade"));
    PieSeries1->setPointsVisible(false);
    PieSeries1->setPointLabelsFormat(QStringLiteral("@yPoint"));
    PieSeries1->setPointLabelsClipping(false);
    auto* chart = new QChart;
    chart->addSeries(PieSeries1);
    auto* dates = new QDateTimeAxis;
    dates->setFormat(QStringLiteral("dd/MM/yyyy"));
    dates->setTickCount(6);
    chart->addAxis(dates, Qt::AlignBottom);
    auto* values = new QValueAxis;
    values->setLabelFormat(QStringLiteral("%.0f"));
    chart->addAxis(values, Qt::AlignLeft);
    PieSeries1->attachAxis(dates);
    PieSeries1->attachAxis(values);
    chart->setPlotAreaBackgroundBrush(Qt::white);
    chart->setPlotAreaBackgroundVisible(true);
    chart->legend()->setBackgroundVisible(false);
    DBChart2 = makeChartView(page, "DBChart2", chart);
    fillArea(chart, PieSeries1, {}); // empty, on today, until the first refresh
    connect(chart, &QChart::plotAreaChanged, this,
            [this] { fitDateTicks(areaChart(), PieSeries1); });

    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(panel);
    layout->addWidget(DBChart2, 1);

    QWidget* const order[] = {DBLookupComboBox5, txtDataInicial, txtDataFinal, RGTipo,
                              btnBuscar2,        btnImprimir2,   btnSalvar2,   btnSair2};
    for (std::size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);
    for (QWidget* control :
         {static_cast<QWidget*>(DBLookupComboBox5), static_cast<QWidget*>(txtDataInicial),
          static_cast<QWidget*>(txtDataFinal)})
        control->installEventFilter(this);
    return page;
}
