#include "reports/labels_window.h"
#include "core/data_module.h"
#include "core/globals.h"
#include "core/product_bar_codes.h"
#include "platform/data/sql_query.h"
#include "platform/format/format.h"
#include "platform/report/output.h"
#include "platform/report/preview_window.h"
#include "platform/report/run.h"
#include "platform/ui/behaviours.h"
#include "platform/ui/char_case.h"
#include "platform/ui/dialogs.h"
#include "platform/ui/guard.h"
#include "platform/ui/radio_group.h"
#include "reports/label_list.h"
#include "reports/labels_layout.h"
#include "reports/report_filter_window.h"
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QVBoxLayout>

TFEtiquetas* FEtiquetas = nullptr;

namespace {

// The count of labels is typed in a spin box that takes nothing but a count that fits.
class LabelCountDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem&,
                          const QModelIndex&) const override {
        auto* editor = new QSpinBox(parent);
        editor->setRange(0, kMostLabels);
        return editor;
    }
};

QComboBox* namesList(QWidget* parent, const char* name, const QString& table) {
    auto* list = new QComboBox(parent);
    list->setObjectName(QString::fromLatin1(name));
    list->setMinimumWidth(200);
    list->addItem(QStringLiteral("(TODOS)"));
    data::SqlQuery read(DM->SQLConnection1);
    read.sql() << QStringLiteral("SELECT CODIGO, DESCRICAO FROM %1 ORDER BY %2")
                      .arg(table, byName(QStringLiteral("DESCRICAO")));
    for (read.open(); !read.eof(); read.next())
        list->addItem(read.value(1).toString(), read.value(0));
    return list;
}

QDoubleSpinBox* millimetres(QWidget* parent, const char* name) {
    auto* box = new QDoubleSpinBox(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setRange(0, 100);
    box->setDecimals(1);
    box->setSingleStep(0.5);
    box->setSuffix(QStringLiteral(" mm"));
    return box;
}

} // namespace

TFEtiquetas::TFEtiquetas(QWidget* parent) : ui::Form(parent, QStringLiteral("FEtiquetas")) {
    setWindowTitle(QStringLiteral("Etiquetas"));
    setFont(QFont(QStringLiteral("Arial")));

    // Which products: the simple stock report's range of names, and a group, subgroup, supplier.
    auto* filters = new QGroupBox(QStringLiteral(" Produtos "), this);
    auto upper = [filters](const char* name, const QString& text) {
        auto* e = new QLineEdit(text, filters);
        e->setObjectName(QString::fromLatin1(name));
        e->setValidator(new ui::UpperCaseValidator(e));
        e->setMaxLength(50);
        return e;
    };
    txtInicio = upper("txtInicio", QStringLiteral("AAAAAAAAAA"));
    txtFim = upper("txtFim", QStringLiteral("ZZZZZZZZZZ"));
    RGFiltrarPor = new ui::RadioGroup(
        QStringLiteral(" Filtrar por "),
        {QStringLiteral("PERÍODO DE NOMES"), QStringLiteral("SELECIONAR TODOS OS PRODUTOS")}, 1,
        filters);
    RGFiltrarPor->setObjectName(QStringLiteral("RGFiltrarPor"));
    RGFiltrarPor->setItemIndex(1);
    CBGrupo = namesList(filters, "CBGrupo", QStringLiteral("TGRUPO"));
    CBSubgrupo = namesList(filters, "CBSubgrupo", QStringLiteral("TSUBGRUPO"));
    CBFornecedor = namesList(filters, "CBFornecedor", QStringLiteral("TFORNECEDOR"));
    btnListar = new QPushButton(QStringLiteral("Listar"), filters);
    btnListar->setObjectName(QStringLiteral("btnListar"));
    auto* range = new QHBoxLayout;
    range->addWidget(new QLabel(QStringLiteral("PRODUTOS DE: "), filters));
    range->addWidget(txtInicio);
    range->addWidget(new QLabel(QStringLiteral(" À "), filters));
    range->addWidget(txtFim);
    auto* names = new QFormLayout;
    names->addRow(QStringLiteral("Grupo"), CBGrupo);
    names->addRow(QStringLiteral("Subgrupo"), CBSubgrupo);
    names->addRow(QStringLiteral("Fornecedor"), CBFornecedor);
    auto* filterGrid = new QGridLayout(filters);
    filterGrid->addLayout(range, 0, 0);
    filterGrid->addWidget(RGFiltrarPor, 1, 0);
    filterGrid->addLayout(names, 0, 1, 2, 1);
    filterGrid->addWidget(btnListar, 1, 2, Qt::AlignBottom);

    etiquetas = new LabelListModel(this);
    gridEtiquetas = new QTableView(this);
    gridEtiquetas->setObjectName(QStringLiteral("gridEtiquetas"));
    gridEtiquetas->setModel(etiquetas);
    gridEtiquetas->setItemDelegateForColumn(LabelListModel::Etiquetas,
                                            new LabelCountDelegate(gridEtiquetas));
    gridEtiquetas->setSelectionBehavior(QAbstractItemView::SelectRows);
    gridEtiquetas->setSelectionMode(QAbstractItemView::SingleSelection);
    gridEtiquetas->setEditTriggers(QAbstractItemView::AllEditTriggers);
    gridEtiquetas->verticalHeader()->hide();
    gridEtiquetas->horizontalHeader()->setSectionResizeMode(LabelListModel::Descricao,
                                                            QHeaderView::Stretch);
    lblTotal = new QLabel(this);
    lblTotal->setObjectName(QStringLiteral("lblTotal"));

    // The sheet: its layout, and the margins and gaps that fit it to the printer.
    auto* sheetBox = new QGroupBox(QStringLiteral(" Folha "), this);
    CBModelo = new QComboBox(sheetBox);
    CBModelo->setObjectName(QStringLiteral("CBModelo"));
    edtMargemSuperior = millimetres(sheetBox, "edtMargemSuperior");
    edtMargemEsquerda = millimetres(sheetBox, "edtMargemEsquerda");
    edtEspacoHorizontal = millimetres(sheetBox, "edtEspacoHorizontal");
    edtEspacoVertical = millimetres(sheetBox, "edtEspacoVertical");
    auto* sheetGrid = new QGridLayout(sheetBox);
    sheetGrid->addWidget(CBModelo, 0, 0, 1, 4);
    sheetGrid->addWidget(new QLabel(QStringLiteral("Margem superior"), sheetBox), 1, 0);
    sheetGrid->addWidget(edtMargemSuperior, 1, 1);
    sheetGrid->addWidget(new QLabel(QStringLiteral("Margem esquerda"), sheetBox), 1, 2);
    sheetGrid->addWidget(edtMargemEsquerda, 1, 3);
    sheetGrid->addWidget(new QLabel(QStringLiteral("Espaço entre colunas"), sheetBox), 2, 0);
    sheetGrid->addWidget(edtEspacoHorizontal, 2, 1);
    sheetGrid->addWidget(new QLabel(QStringLiteral("Espaço entre linhas"), sheetBox), 2, 2);
    sheetGrid->addWidget(edtEspacoVertical, 2, 3);

    auto button = [this](const char* name, const QString& text) {
        auto* b = new QPushButton(text, this);
        b->setObjectName(QString::fromLatin1(name));
        b->setAutoDefault(false);
        ui::setHandCursor(b);
        return b;
    };
    btnImprimir = button("btnImprimir", QStringLiteral("Imprimir"));
    btnVisualizar = button("btnVisualizar", QStringLiteral("Visualizar"));
    btnPdf = button("btnPdf", QStringLiteral("Gerar PDF"));
    btnSair = button("btnSair", QStringLiteral("Sair"));
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(lblTotal, 1);
    for (QPushButton* b : {btnImprimir, btnVisualizar, btnPdf, btnSair})
        buttons->addWidget(b);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(filters);
    layout->addWidget(gridEtiquetas, 1);
    layout->addWidget(sheetBox);
    layout->addLayout(buttons);
    resize(900, 640);

    ui::connectGuarded(btnListar, &QPushButton::clicked, this, &TFEtiquetas::btnListarClick);
    ui::connectGuarded(btnImprimir, &QPushButton::clicked, this, &TFEtiquetas::btnImprimirClick);
    ui::connectGuarded(btnVisualizar, &QPushButton::clicked, this,
                       &TFEtiquetas::btnVisualizarClick);
    ui::connectGuarded(btnPdf, &QPushButton::clicked, this, &TFEtiquetas::btnPdfClick);
    ui::connectGuarded(btnSair, &QPushButton::clicked, this, [this] { close(); });
    ui::connectGuarded(etiquetas, &LabelListModel::totalChanged, this, &TFEtiquetas::updateTotal);
    ui::attachKeyMovement(txtInicio, ui::kEditMoveKeys);
    ui::attachKeyClick(txtFim, {Qt::Key_Return, Qt::Key_Enter}, btnListar);

    const RememberedSheets remembered = rememberedSheets(*DM->SQLConnection2);
    sheets_ = remembered.sheets;
    for (const LabelSheet& s : sheets_)
        CBModelo->addItem(s.caption);
    CBModelo->setCurrentIndex(remembered.inUse);
    showSheet(remembered.inUse);
    ui::connectGuarded(CBModelo, &QComboBox::currentIndexChanged, this,
                       [this](int index) { showSheet(index); });
}

TFEtiquetas::~TFEtiquetas() = default;

void TFEtiquetas::FormShow() {
    listProducts();
    gridEtiquetas->setFocus();
}

void TFEtiquetas::showSheet(int index) {
    if (index < 0 || index >= int(sheets_.size()))
        return;
    const LabelSheet& s = sheets_[std::size_t(index)];
    edtMargemSuperior->setValue(s.top);
    edtMargemEsquerda->setValue(s.left);
    edtEspacoHorizontal->setValue(s.across);
    edtEspacoVertical->setValue(s.down);
    updateTotal();
}

LabelSheet TFEtiquetas::sheet() const {
    LabelSheet s = sheets_.at(std::size_t(std::max(CBModelo->currentIndex(), 0)));
    s.top = edtMargemSuperior->value();
    s.left = edtMargemEsquerda->value();
    s.across = edtEspacoHorizontal->value();
    s.down = edtEspacoVertical->value();
    return s;
}

void TFEtiquetas::updateTotal() {
    const int total = etiquetas->totalLabels();
    const int perSheet = sheets_.empty() ? 1 : sheet().perSheet();
    lblTotal->setText(QStringLiteral("%1 etiqueta(s) em %2 folha(s)")
                          .arg(total)
                          .arg((total + perSheet - 1) / perSheet));
}

// ------------------------------------------------------------------ the list

void TFEtiquetas::btnListarClick() {
    onlyProduct_.reset();
    listProducts();
}

void TFEtiquetas::listProducts() {
    data::SqlQuery q(DM->SQLConnection1);
    q.sql() << QStringLiteral("SELECT CODIGO, DESCRICAO, CODIGOBARRAS, PRECO_VENDA, ESTOQUEATUAL")
            << QStringLiteral("FROM TPRODUTO WHERE 1 = 1");
    if (onlyProduct_) {
        q.sql() << QStringLiteral("AND CODIGO = :produto");
        q.setInteger(QStringLiteral("produto"), *onlyProduct_);
    } else {
        if (RGFiltrarPor->itemIndex() == 0) {
            q.sql() << QStringLiteral("AND DESCRICAO >= :nomeinicio AND DESCRICAO <= :nomefim");
            q.setText(QStringLiteral("nomeinicio"), txtInicio->text());
            q.setText(QStringLiteral("nomefim"), txtFim->text());
        }
        for (auto [list, column] : {std::pair{CBGrupo, "GRUPO"},
                                    {CBSubgrupo, "SUBGRUPO"},
                                    {CBFornecedor, "FORNECEDOR"}}) {
            const QVariant code = list->currentData();
            if (code.isNull())
                continue;
            const QString name = QString::fromLatin1(column).toLower();
            q.sql() << QStringLiteral("AND %1 = :%2").arg(QLatin1String(column), name);
            q.setInteger(name, code.toInt());
        }
    }
    q.sql() << "ORDER BY " + byName(QStringLiteral("DESCRICAO")) + ", CODIGO";
    std::vector<LabelProduct> products;
    for (q.open(); !q.eof(); q.next()) {
        LabelProduct p;
        p.code = q.value(0).toInt();
        p.description = q.value(1).toString();
        p.barCode = q.value(2).toString().trimmed();
        p.price = q.value(3).toDouble();
        p.stock = q.value(4).toDouble();
        p.labels = defaultLabelCount(p.stock);
        products.push_back(std::move(p));
    }
    etiquetas->setProducts(std::move(products));
    if (etiquetas->rowCount() > 0)
        gridEtiquetas->setCurrentIndex(etiquetas->index(0, LabelListModel::Etiquetas));
}

// ------------------------------------------------------------------ printing

void TFEtiquetas::offerInternalCodes() {
    std::vector<int> missing;
    for (const LabelProduct& p : etiquetas->products())
        if (p.labels > 0 && p.barCode.isEmpty())
            missing.push_back(p.code);
    if (missing.empty() ||
        !ui::dialogs().question(
            this, QStringLiteral("Atenção"),
            QStringLiteral("%1 produto(s) da lista não têm código de barras.\nDeseja dar a eles "
                           "códigos internos da loja (EAN-13 iniciados por 2) antes de imprimir?")
                .arg(missing.size())))
        return;
    const auto given = giveInternalCodes(*DM->SQLConnection1, missing);
    etiquetas->setBarCodes(given);
    // The shared products show the new codes: a few rows read again, or the whole table.
    data::ClientDataSet* products = DM->TBPRODUTOS;
    if (!products->active() || given.empty())
        return;
    if (given.size() <= 50) {
        for (const auto& [code, barCode] : given)
            products->refreshRow(QStringLiteral("CODIGO"), code);
        return;
    }
    const QVariant current =
        products->isEmpty() ? QVariant() : products->field(QStringLiteral("CODIGO")).value();
    products->refresh();
    if (!current.isNull())
        products->locate(QStringLiteral("CODIGO"), current);
}

std::vector<Label> TFEtiquetas::labels() const {
    std::vector<Label> labels;
    labels.reserve(std::size_t(etiquetas->totalLabels()));
    for (const LabelProduct& p : etiquetas->products()) {
        const Label label{p.description, format::currencyToStr(p.price), p.barCode};
        labels.insert(labels.end(), std::size_t(p.labels), label);
    }
    return labels;
}

std::unique_ptr<TFRelatorioEtiquetas> TFEtiquetas::montar_relatorio() {
    const LabelSheet s = sheet();
    if (!s.fits()) {
        ui::dialogs().message(this, QStringLiteral("As etiquetas não cabem numa folha A4 com "
                                                   "estas margens e espaços. Diminua-os."));
        edtMargemSuperior->setFocus();
        return nullptr;
    }
    if (etiquetas->totalLabels() == 0) {
        ui::dialogs().message(this, QStringLiteral("Não há etiquetas a imprimir: informe quantas "
                                                   "etiquetas de cada produto."));
        gridEtiquetas->setFocus();
        return nullptr;
    }
    offerInternalCodes();
    rememberSheet(*DM->SQLConnection2, s);
    sheets_[std::size_t(CBModelo->currentIndex())] = s;
    return std::make_unique<TFRelatorioEtiquetas>(s, labels());
}

void TFEtiquetas::btnVisualizarClick() {
    if (const auto layout = montar_relatorio())
        report::preview(layout->QuickRep1, this);
}

void TFEtiquetas::btnImprimirClick() {
    if (const auto layout = montar_relatorio())
        report::printWithDialog(layout->QuickRep1, this);
}

void TFEtiquetas::btnPdfClick() {
    if (const auto layout = montar_relatorio())
        report::savePdfAs(layout->QuickRep1, this);
}
