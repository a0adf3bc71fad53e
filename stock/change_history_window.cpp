#include "stock/change_history_window.h"
#include "core/data_module.h"
#include "core/globals.h"
#include "platform/data/errors.h"
#include "platform/ui/dialogs.h"
#include "platform/ui/guard.h"
#include "stock/change_history_report.h"
#include <QDateEdit>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

QDateEdit* makeDate(QWidget* parent, const char* name) {
    auto* edit = new QDateEdit(parent);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setDisplayFormat(QStringLiteral("dd/MM/yyyy"));
    edit->setCalendarPopup(true);
    return edit;
}

QPushButton* makeButton(QWidget* parent, const char* name, const QString& caption) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setAutoDefault(false);
    return button;
}

// The fixed columns before the compared values.
const QStringList kLeading = {QStringLiteral("Data/Hora"), QStringLiteral("Usuário"),
                              QStringLiteral("Janela"),    QStringLiteral("Operação"),
                              QStringLiteral("Registro"),  QStringLiteral("Produto"),
                              QStringLiteral("Motivo")};

} // namespace

TFHistoricoAlteracoes::TFHistoricoAlteracoes(QWidget* parent)
    : ui::Form(parent, QStringLiteral("FHistoricoAlteracoes")) {
    setWindowTitle(QStringLiteral("Histórico de Alterações"));
    resize(1000, 560);
    auto* layout = new QVBoxLayout(this);
    auto* filters = new QHBoxLayout;
    layout->addLayout(filters);
    txtDataInicial = makeDate(this, "txtDataInicial");
    txtDataFinal = makeDate(this, "txtDataFinal");
    txtProduto = new QLineEdit(this);
    txtProduto->setObjectName(QStringLiteral("txtProduto"));
    txtProduto->setValidator(new QIntValidator(0, 2147483647, txtProduto));
    txtProduto->setMaximumWidth(90);
    txtUsuario = new QLineEdit(this);
    txtUsuario->setObjectName(QStringLiteral("txtUsuario"));
    txtUsuario->setMaxLength(20);
    txtUsuario->setMaximumWidth(140);
    filters->addWidget(new QLabel(QStringLiteral("Período:"), this));
    filters->addWidget(txtDataInicial);
    filters->addWidget(new QLabel(QStringLiteral("a"), this));
    filters->addWidget(txtDataFinal);
    filters->addWidget(new QLabel(QStringLiteral("Produto (código):"), this));
    filters->addWidget(txtProduto);
    filters->addWidget(new QLabel(QStringLiteral("Usuário:"), this));
    filters->addWidget(txtUsuario);
    filters->addStretch();
    btnBuscar = makeButton(this, "btnBuscar", QStringLiteral("Buscar"));
    btnImprimir = makeButton(this, "btnImprimir", QStringLiteral("Imprimir"));
    btnSair = makeButton(this, "btnSair", QStringLiteral("Sair"));
    filters->addWidget(btnBuscar);
    filters->addWidget(btnImprimir);
    filters->addWidget(btnSair);

    Grade = new QTableWidget(this);
    Grade->setObjectName(QStringLiteral("Grade"));
    Grade->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Grade->setSelectionBehavior(QAbstractItemView::SelectRows);
    Grade->verticalHeader()->hide();
    QStringList headings = kLeading;
    for (const QString& name : changeHistoryValueNames())
        headings << name + QStringLiteral(" (antes)") << name + QStringLiteral(" (depois)");
    Grade->setColumnCount(int(headings.size()));
    Grade->setHorizontalHeaderLabels(headings);
    layout->addWidget(Grade);

    ui::connectGuarded(btnBuscar, &QPushButton::clicked, this,
                       &TFHistoricoAlteracoes::btnBuscarClick);
    ui::connectGuarded(btnImprimir, &QPushButton::clicked, this,
                       &TFHistoricoAlteracoes::btnImprimirClick);
    ui::connectGuarded(btnSair, &QPushButton::clicked, this, &QDialog::close);
}

void TFHistoricoAlteracoes::FormShow() {
    const QDate today = QDate::currentDate();
    txtDataInicial->setDate(QDate(today.year(), today.month(), 1));
    txtDataFinal->setDate(today);
    rows_.clear();
    fillGrid();
}

void TFHistoricoAlteracoes::btnBuscarClick() {
    ChangeHistoryFilter filter{
        txtDataInicial->date(), txtDataFinal->date(), {}, txtUsuario->text()};
    if (filter.from > filter.to) {
        ui::dialogs().message(this, QStringLiteral("A data inicial é posterior à data final!"));
        txtDataInicial->setFocus();
        return;
    }
    if (!txtProduto->text().trimmed().isEmpty())
        filter.product = txtProduto->text().trimmed().toInt();
    rows_ = readChangeHistory(*DM->SQLConnection1, filter);
    shownFilter_ = filter;
    fillGrid();
    if (rows_.empty())
        ui::dialogs().message(this, QStringLiteral("Nenhuma alteração encontrada no período."));
}

void TFHistoricoAlteracoes::btnImprimirClick() {
    if (rows_.empty()) {
        ui::dialogs().message(this, QStringLiteral("Busque as alterações antes de imprimir."));
        return;
    }
    ChangeHistoryReport printout(rows_, shownFilter_);
    printout.preview(this);
}

void TFHistoricoAlteracoes::fillGrid() {
    Grade->setRowCount(int(rows_.size()));
    for (int r = 0; r < int(rows_.size()); ++r) {
        const ChangeHistoryRow& row = rows_[size_t(r)];
        QStringList cells = {row.when,   row.user,    row.window, row.operation,
                             row.record, row.product, row.reason};
        for (int v = 0; v < int(row.before.size()); ++v)
            cells << row.before[v] << row.after[v];
        for (int c = 0; c < int(cells.size()); ++c) {
            auto* item = new QTableWidgetItem(cells[c]);
            // A value that changed stands out from the one beside it.
            const int value = c - int(kLeading.size());
            if (value >= 0 && row.before[value / 2] != row.after[value / 2] && !row.deleted)
                item->setBackground(QColor(0xFF, 0xF2, 0xCC));
            Grade->setItem(r, c, item);
        }
    }
    Grade->resizeColumnsToContents();
    btnImprimir->setEnabled(!rows_.empty());
}
