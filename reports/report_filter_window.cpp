#include "reports/report_filter_window.h"
#include "platform/data/client_dataset.h"
#include "platform/data/errors.h"
#include "platform/data/sql_query.h"
#include "platform/data/text_order.h"
#include "platform/format/format.h"
#include "platform/ui/char_case.h"
#include "platform/ui/guard.h"
#include "platform/ui/mask_edit.h"
#include "platform/ui/page_control.h"
#include "reports/report_layout.h"
#include "reports/spreadsheet_export.h"
#include <QComboBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QPushButton>
#include <QScopeGuard>
#include <QScreen>
#include <QVBoxLayout>

ReportFilterWindow::ReportFilterWindow(QWidget* parent, const QString& name, const QString& caption)
    : ui::Form(parent, name) {
    setWindowTitle(caption);
    setFont(QFont(QStringLiteral("Arial")));
    auto* pages = new ui::PageControl(this);
    pages->setObjectName(QStringLiteral("PageControl1"));
    page_ = new QWidget(pages);
    page_->setObjectName(QStringLiteral("TabSheet1"));
    pages->addPage(page_, QString());

    auto button = [this](const char* objectName, const QString& text) {
        auto* b = new QPushButton(text, this);
        b->setObjectName(QString::fromLatin1(objectName));
        b->setAutoDefault(false);
        b->setCursor(Qt::PointingHandCursor);
        return b;
    };
    btnImprimir = button("btnImprimir", QStringLiteral("Imprimir"));
    btnVisualizar = button("btnVisualizar", QStringLiteral("Visualizar"));
    btnExcel = button("btnExcel", QStringLiteral("Gerar em Excel"));
    btnSair = button("btnSair", QStringLiteral("Sair"));
    ui::connectGuarded(btnImprimir, &QPushButton::clicked, this,
                       &ReportFilterWindow::btnImprimirClick);
    ui::connectGuarded(btnVisualizar, &QPushButton::clicked, this,
                       &ReportFilterWindow::btnVisualizarClick);
    ui::connectGuarded(btnExcel, &QPushButton::clicked, this, &ReportFilterWindow::btnExcelClick);
    ui::connectGuarded(btnSair, &QPushButton::clicked, this, &ReportFilterWindow::btnSairClick);

    auto* buttons = new QHBoxLayout;
    buttons->setObjectName(QStringLiteral("Panel1"));
    buttons->addStretch();
    for (QPushButton* b : {btnImprimir, btnVisualizar, btnExcel, btnSair})
        buttons->addWidget(b);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(pages, 1);
    layout->addLayout(buttons);
}

void ReportFilterWindow::finish(QBoxLayout* pageLayout) {
    page_->setLayout(pageLayout);
    layout()->setSizeConstraint(QLayout::SetFixedSize); // a fixed dialog
    adjustSize();
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    setTabOrder(btnImprimir, btnVisualizar);
    setTabOrder(btnVisualizar, btnExcel);
    setTabOrder(btnExcel, btnSair);
}

void ReportFilterWindow::btnImprimirClick() {
    if (ReportLayout* layout = buildReport())
        layout->print(this);
}

void ReportFilterWindow::btnVisualizarClick() {
    if (ReportLayout* layout = buildReport())
        layout->preview(this);
}

// The report is built as for a preview; a request the builder refused exports nothing.
void ReportFilterWindow::btnExcelClick() {
    if (ReportLayout* layout = buildReport())
        exportToSpreadsheet(this, *layout->exportedRows(), layout->exportCaption());
}

void ReportFilterWindow::btnSairClick() {
    close();
}

QComboBox* ReportFilterWindow::makeComboBox(QWidget* parent, const char* name, bool upperCase) {
    auto* list = new QComboBox(parent);
    list->setObjectName(QString::fromLatin1(name));
    list->setEditable(true);
    list->setInsertPolicy(QComboBox::NoInsert);
    list->setMinimumWidth(220);
    list->setMaxVisibleItems(20);
    if (upperCase)
        list->setValidator(new ui::UpperCaseValidator(list));
    return list;
}

void ReportFilterWindow::fillComboBox(QComboBox* list, data::ClientDataSet* dataset,
                                      const QString& column) {
    dataset->close(); // read afresh: closing and opening again is the refresh
    dataset->open();
    QStringList names;
    names.reserve(dataset->recordCount());
    dataset->disableControls();
    {
        const auto enable = qScopeGuard([dataset] { dataset->enableControls(); });
        data::Field& field = dataset->field(column);
        for (dataset->first(); !dataset->eof(); dataset->next())
            names << field.asString();
    }
    list->clear();
    list->addItems(names);
    // Filling selects the first item; the name starts empty, for the user to pick or type.
    list->setCurrentIndex(-1);
    list->clearEditText();
}

QDate ReportFilterWindow::periodDate(ui::MaskEdit* edit) {
    const std::optional<QDate> date = format::parseDate(edit->text());
    if (!date) {
        edit->setFocus();
        throw data::FieldError(QStringLiteral("'%1' não é uma data válida.").arg(edit->text()));
    }
    return *date;
}

ui::MaskEdit* ReportFilterWindow::makeDateEdit(QWidget* parent, const char* name) {
    auto* edit = new ui::MaskEdit(parent);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setEditMask(QStringLiteral("!99/99/0000;1;_"));
    edit->setFixedWidth(90);
    return edit;
}

QString byName(const QString& column, bool descending) {
    const QString direction = descending ? QStringLiteral(" DESC") : QString();
    return data::foldForOrderSql(column) + direction + ", " + column + direction;
}

const QString kMovementsInTimeOrder =
    QStringLiteral(", TMOVIMENTACAO.DATA, TMOVIMENTACAO.HORARIO, TMOVIMENTACAO.CODIGO");

void copyQuery(const data::SqlQuery& from, data::SqlQuery& to) {
    to.close();
    to.sql() = from.sql();
    to.clearParams();
    for (const data::SqlParam& p : from.params()) {
        if (p.value.isNull()) {
            to.setNull(p.name, p.kind);
            continue;
        }
        switch (p.kind) {
        case data::FieldKind::Integer:
            to.setInteger(p.name, p.value.toLongLong());
            break;
        case data::FieldKind::Float:
            to.setFloat(p.name, p.value.toDouble());
            break;
        case data::FieldKind::Text:
            to.setText(p.name, p.value.toString());
            break;
        case data::FieldKind::Date:
            to.setDate(p.name, p.value.toDate());
            break;
        case data::FieldKind::Time:
            to.setTime(p.name, p.value.toTime());
            break;
        case data::FieldKind::Blob:
            to.setBlob(p.name, p.value.toByteArray());
            break;
        }
    }
}
