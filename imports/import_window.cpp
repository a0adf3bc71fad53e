#include "imports/import_window.h"
#include "core/data_module.h"
#include "core/globals.h"
#include "imports/header_names.h"
#include "imports/import_store.h"
#include "imports/mapping_memory.h"
#include "imports/preview_model.h"
#include "imports/refused_rows.h"
#include "platform/report/progress.h"
#include "platform/ui/behaviours.h"
#include "platform/ui/dialogs.h"
#include "platform/ui/guard.h"
#include "platform/ui/radio_group.h"
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSplitter>
#include <QTableView>
#include <QTableWidget>
#include <QVBoxLayout>

TFImportar* FImportar = nullptr;

using imports::Register;
using imports::RowStatus;
using spreadsheet::TextEncoding;

namespace {

QString columnLetters(int column) {
    QString letters;
    for (int n = column + 1; n > 0; n = (n - 1) / 26)
        letters.prepend(QChar(u'A' + (n - 1) % 26));
    return letters;
}

// Progress of work measured in any unit, shown in thousandths.
spreadsheet::ReadProgress inThousandths(report::Progress& progress) {
    return [&progress](std::int64_t done, std::int64_t total) {
        return progress.step(total > 0 ? int(done * 1000 / total) : 0);
    };
}

QString countOf(int n, const char* one, const char* many) {
    return QStringLiteral("%1 %2").arg(n).arg(QString::fromUtf8(n == 1 ? one : many));
}

} // namespace

TFImportar::TFImportar(QWidget* parent)
    : ui::Form(parent, QStringLiteral("FImportar")),
      memory_(std::make_unique<imports::MappingMemory>(*DM->SQLConnection2)) {
    setWindowTitle(QStringLiteral("Importação de Cadastros"));

    RGCadastro = new ui::RadioGroup(
        QStringLiteral(" Importar "),
        {QStringLiteral("PRODUTOS"), QStringLiteral("FORNECEDORES"), QStringLiteral("CLIENTES")}, 3,
        this);
    RGCadastro->setObjectName(QStringLiteral("RGCadastro"));
    RGCadastro->setItemIndex(0);

    txtArquivo = new QLineEdit(this);
    txtArquivo->setObjectName(QStringLiteral("txtArquivo"));
    txtArquivo->setReadOnly(true);
    txtArquivo->setPlaceholderText(QStringLiteral("Escolha uma planilha .xlsx ou um texto .csv"));
    auto button = [this](const char* name, const QString& caption) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(QString::fromLatin1(name));
        return b;
    };
    btnArquivo = button("btnArquivo", QStringLiteral("Escolher arquivo..."));
    btnLerNovamente = button("btnLerNovamente", QStringLiteral("Ler de novo"));
    btnLerNovamente->setToolTip(QStringLiteral("Lê o arquivo outra vez, depois de corrigido"));

    cbSeparador = new QComboBox(this);
    cbSeparador->setObjectName(QStringLiteral("cbSeparador"));
    cbSeparador->addItem(QStringLiteral("; (ponto e vírgula)"), int(';'));
    cbSeparador->addItem(QStringLiteral(", (vírgula)"), int(','));
    cbSeparador->addItem(QStringLiteral("Tabulação"), int('\t'));
    cbCodificacao = new QComboBox(this);
    cbCodificacao->setObjectName(QStringLiteral("cbCodificacao"));
    cbCodificacao->addItem(QStringLiteral("UTF-8"), int(TextEncoding::Utf8));
    cbCodificacao->addItem(QStringLiteral("Windows-1252 (ANSI)"), int(TextEncoding::Windows1252));
    cbCodificacao->addItem(QStringLiteral("UTF-16"), int(TextEncoding::Utf16));
    cbSeparador->setEnabled(false); // until a text file is read
    cbCodificacao->setEnabled(false);

    GBChaves = new QGroupBox(QStringLiteral(" Reconhecer os já cadastrados por "), this);
    GBChaves->setObjectName(QStringLiteral("GBChaves"));
    keysLayout_ = new QHBoxLayout(GBChaves);

    gridColunas = new QTableWidget(0, 3, this);
    gridColunas->setObjectName(QStringLiteral("gridColunas"));
    gridColunas->setHorizontalHeaderLabels(
        {QStringLiteral("Coluna do arquivo"), QStringLiteral("Campo"), QStringLiteral("Exemplo")});
    gridColunas->setEditTriggers(QAbstractItemView::NoEditTriggers);
    gridColunas->setSelectionMode(QAbstractItemView::NoSelection);
    gridColunas->setWordWrap(false);
    gridColunas->verticalHeader()->hide();
    gridColunas->horizontalHeader()->setSectionResizeMode(2, QHeaderView::Stretch);

    lblResumo = new QLabel(this);
    lblResumo->setObjectName(QStringLiteral("lblResumo"));
    lblResumo->setWordWrap(true);
    cbMostrar = new QComboBox(this);
    cbMostrar->setObjectName(QStringLiteral("cbMostrar"));
    cbMostrar->addItem(QStringLiteral("Todas as linhas"), -1);
    for (const RowStatus s :
         {RowStatus::New, RowStatus::Changed, RowStatus::Unchanged, RowStatus::Refused})
        cbMostrar->addItem(imports::statusText(s), int(s));
    model_ = new imports::PreviewModel(this);
    gridPrevia = new QTableView(this);
    gridPrevia->setObjectName(QStringLiteral("gridPrevia"));
    gridPrevia->setModel(model_);
    gridPrevia->setSelectionBehavior(QAbstractItemView::SelectRows);
    gridPrevia->setEditTriggers(QAbstractItemView::NoEditTriggers);
    gridPrevia->verticalHeader()->hide();
    gridPrevia->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    lblCriar = new QLabel(this);
    lblCriar->setObjectName(QStringLiteral("lblCriar"));
    lblCriar->setWordWrap(true);

    btnSalvarRecusadas = button("btnSalvarRecusadas", QStringLiteral("Salvar recusadas..."));
    btnImportar = button("btnImportar", QStringLiteral("Importar"));
    btnSair = button("btnSair", QStringLiteral("Sair"));

    // Layout: what and from where on top, the columns beside the preview, the commands below.
    auto* fileRow = new QHBoxLayout;
    fileRow->addWidget(new QLabel(QStringLiteral("ARQUIVO:"), this));
    fileRow->addWidget(txtArquivo, 1);
    fileRow->addWidget(btnArquivo);
    fileRow->addWidget(btnLerNovamente);
    auto* textRow = new QHBoxLayout;
    textRow->addWidget(new QLabel(QStringLiteral("SEPARADOR:"), this));
    textRow->addWidget(cbSeparador);
    textRow->addSpacing(12);
    textRow->addWidget(new QLabel(QStringLiteral("CODIFICAÇÃO:"), this));
    textRow->addWidget(cbCodificacao);
    textRow->addStretch();
    auto* columnsBox = new QGroupBox(QStringLiteral(" Colunas do arquivo "), this);
    (new QVBoxLayout(columnsBox))->addWidget(gridColunas);
    auto* previewBox = new QGroupBox(QStringLiteral(" Prévia "), this);
    auto* preview = new QVBoxLayout(previewBox);
    auto* summaryRow = new QHBoxLayout;
    summaryRow->addWidget(lblResumo, 1);
    summaryRow->addWidget(new QLabel(QStringLiteral("Mostrar:"), this));
    summaryRow->addWidget(cbMostrar);
    preview->addLayout(summaryRow);
    preview->addWidget(gridPrevia, 1);
    preview->addWidget(lblCriar);
    auto* splitter = new QSplitter(this);
    splitter->addWidget(columnsBox);
    splitter->addWidget(previewBox);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({420, 640});
    auto* commands = new QHBoxLayout;
    commands->addWidget(btnSalvarRecusadas);
    commands->addStretch();
    commands->addWidget(btnImportar);
    commands->addWidget(btnSair);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(RGCadastro);
    layout->addLayout(fileRow);
    layout->addLayout(textRow);
    layout->addWidget(GBChaves);
    layout->addWidget(splitter, 1);
    layout->addLayout(commands);
    resize(1060, 660);

    ui::connectGuarded(btnArquivo, &QPushButton::clicked, this, [this] { btnArquivoClick(); });
    ui::connectGuarded(btnLerNovamente, &QPushButton::clicked, this,
                       [this] { btnLerNovamenteClick(); });
    ui::connectGuarded(btnSalvarRecusadas, &QPushButton::clicked, this,
                       [this] { btnSalvarRecusadasClick(); });
    ui::connectGuarded(btnImportar, &QPushButton::clicked, this, [this] { btnImportarClick(); });
    ui::connectGuarded(btnSair, &QPushButton::clicked, this, [this] { close(); });
    ui::addShortcut(this, Qt::Key_Escape, btnSair, QStringLiteral("Sair1"));
    ui::connectGuarded(RGCadastro, &ui::RadioGroup::changed, this, [this] { cadastroEscolhido(); });
    for (QComboBox* box : {cbSeparador, cbCodificacao})
        ui::connectGuarded(box, &QComboBox::currentIndexChanged, this,
                           [this] { formatoEscolhido(); });
    ui::connectGuarded(cbMostrar, &QComboBox::currentIndexChanged, this, [this] {
        const int status = cbMostrar->currentData().toInt();
        model_->showOnly(status < 0 ? std::nullopt : std::optional(RowStatus(status)));
    });
    montarChaves();
    mostrarResumo();
}

TFImportar::~TFImportar() {
    model_->setPlan(nullptr, nullptr); // the plan goes before the grid showing it
    if (FImportar == this)
        FImportar = nullptr;
}

Register TFImportar::what() const {
    return Register(std::max(0, RGCadastro->itemIndex()));
}

// ------------------------------------------------------------------ the file

void TFImportar::btnArquivoClick() {
    const QString path = ui::dialogs().openFile(
        this, QStringLiteral("Escolher o arquivo a importar"),
        QStringLiteral("Planilhas e textos (*.xlsx *.csv *.txt);;Todos os arquivos (*)"),
        file_ ? file_->path : QString());
    if (!path.isEmpty())
        lerArquivo(path, std::nullopt);
}

void TFImportar::btnLerNovamenteClick() {
    if (!file_) {
        ui::dialogs().message(this, QStringLiteral("Escolha primeiro o arquivo a importar."));
        return;
    }
    lerArquivo(file_->path, file_->text ? std::optional(file_->format) : std::nullopt);
}

void TFImportar::lerArquivo(const QString& path, std::optional<spreadsheet::CsvFormat> format) {
    std::optional<imports::ImportFile> read;
    {
        report::Progress progress(this, QStringLiteral("Lendo o arquivo..."), 1000);
        try {
            read = imports::readImportFile(path, format, inThousandths(progress));
        } catch (const spreadsheet::ReadCancelled&) {
            return; // the file the window had stays
        }
    }
    // A file that cannot be read has thrown above: what was shown stays as it was.
    plan_.reset();
    model_->setPlan(nullptr, nullptr);
    file_ = std::move(read);
    txtArquivo->setText(QDir::toNativeSeparators(path));
    filling_ = true;
    cbSeparador->setEnabled(file_->text);
    cbCodificacao->setEnabled(file_->text);
    cbSeparador->setCurrentIndex(cbSeparador->findData(int(file_->format.separator)));
    cbCodificacao->setCurrentIndex(cbCodificacao->findData(int(file_->format.encoding)));
    filling_ = false;
    montarColunas();
    if (file_->table.headers.isEmpty())
        ui::dialogs().message(this, QStringLiteral("O arquivo não tem linhas para importar."));
    montarPrevia();
}

void TFImportar::formatoEscolhido() {
    if (filling_ || !file_ || !file_->text)
        return;
    lerArquivo(file_->path,
               spreadsheet::CsvFormat{char(cbSeparador->currentData().toInt()),
                                      TextEncoding(cbCodificacao->currentData().toInt())});
}

void TFImportar::cadastroEscolhido() {
    montarChaves();
    montarColunas();
    montarPrevia();
}

// ------------------------------------------------------------------ keys and columns

void TFImportar::montarChaves() {
    while (QLayoutItem* item = keysLayout_->takeAt(0)) {
        delete item->widget();
        delete item;
    }
    const imports::Target target = imports::targetOf(what());
    for (const QString& column : target.keyColumns) {
        auto* check = new QCheckBox(target.field(column).label, GBChaves);
        check->setObjectName("chk" + column);
        check->setChecked(true);
        keysLayout_->addWidget(check);
        ui::connectGuarded(check, &QCheckBox::toggled, this, [this] { montarPrevia(); });
    }
    keysLayout_->addStretch();
}

void TFImportar::montarColunas() {
    gridColunas->setRowCount(0);
    mapping_.clear();
    if (!file_ || file_->table.headers.isEmpty())
        return;
    const QStringList& headers = file_->table.headers;
    const imports::Target target = imports::targetOf(what());
    // A settings database that fails is told of, and the headers' names map the columns.
    std::optional<QStringList> remembered;
    ui::runGuarded([&] { remembered = memory_->recall(what(), headers); });
    mapping_ = remembered.value_or(imports::automaticMapping(target, headers));
    gridColunas->setRowCount(int(headers.size()));
    const int example = file_->table.rows.empty() ? -1 : file_->table.rows.front();
    for (int c = 0; c < headers.size(); ++c) {
        const QString name = headers[c].isEmpty()
                                 ? QStringLiteral("(coluna %1 sem título)").arg(columnLetters(c))
                                 : headers[c];
        gridColunas->setItem(c, 0, new QTableWidgetItem(name));
        gridColunas->setItem(
            c, 2, new QTableWidgetItem(file_->sheet.cell(example, c).displayText().simplified()));
        auto* field = new QComboBox(gridColunas);
        field->setObjectName(QStringLiteral("cbCampo%1").arg(c));
        field->addItem(QStringLiteral("(não importar)"), QString());
        for (const imports::TargetField& f : target.fields)
            field->addItem(f.label, f.column);
        field->setCurrentIndex(std::max(0, field->findData(mapping_[c])));
        gridColunas->setCellWidget(c, 1, field);
        ui::connectGuarded(field, &QComboBox::currentIndexChanged, this,
                           [this, c](int item) { campoEscolhido(c, item); });
    }
    gridColunas->resizeColumnToContents(0);
    gridColunas->resizeColumnToContents(1);
}

void TFImportar::campoEscolhido(int column, int item) {
    if (filling_)
        return;
    auto* box = static_cast<QComboBox*>(gridColunas->cellWidget(column, 1));
    const QString chosen = box->itemData(item).toString();
    // A field takes one column: the one that had it lets it go.
    filling_ = true;
    for (int c = 0; c < mapping_.size(); ++c)
        if (c != column && !chosen.isEmpty() && mapping_[c] == chosen) {
            mapping_[c].clear();
            static_cast<QComboBox*>(gridColunas->cellWidget(c, 1))->setCurrentIndex(0);
        }
    filling_ = false;
    mapping_[column] = chosen;
    ui::runGuarded([&] { memory_->remember(what(), file_->table.headers, mapping_); });
    montarPrevia();
}

// ------------------------------------------------------------------ preview

void TFImportar::montarPrevia() {
    plan_.reset();
    model_->setPlan(nullptr, nullptr);
    if (file_ && !file_->table.headers.isEmpty()) {
        QStringList keys;
        for (auto* check : GBChaves->findChildren<QCheckBox*>())
            if (check->isChecked())
                keys << check->objectName().mid(3);
        report::Progress progress(this, QStringLiteral("Conferindo as linhas..."),
                                  int(file_->table.rows.size()));
        try {
            plan_ = std::make_unique<imports::ImportPlan>(imports::planImport(
                file_->sheet, file_->table, {what(), mapping_, keys}, *DM->SQLConnection1,
                [&progress](int done, int) { return progress.step(done); }));
        } catch (const spreadsheet::ReadCancelled&) {
            plan_.reset();
        }
    }
    model_->setPlan(plan_.get(), file_ ? &file_->sheet : nullptr);
    gridPrevia->resizeColumnsToContents();
    // The reason shows whole in its tip: the row's values stay in sight beside it.
    gridPrevia->setColumnWidth(2, std::min(gridPrevia->columnWidth(2), 280));
    mostrarResumo();
}

void TFImportar::mostrarResumo() {
    lblCriar->clear();
    if (!plan_) {
        lblResumo->setText(file_ ? QStringLiteral("A prévia não foi montada.")
                                 : QStringLiteral("Nenhum arquivo escolhido."));
        return;
    }
    if (plan_->fields.empty()) {
        lblResumo->setText(QStringLiteral("Nenhuma coluna do arquivo foi associada a um campo: "
                                          "escolha os campos ao lado."));
        return;
    }
    lblResumo->setText(
        QStringLiteral("%1: %2, %3, %4, %5.")
            .arg(countOf(int(plan_->rows.size()), "linha", "linhas"),
                 countOf(plan_->count(RowStatus::New), "novo", "novos"),
                 countOf(plan_->count(RowStatus::Changed), "alterado", "alterados"),
                 countOf(plan_->count(RowStatus::Unchanged), "sem alteração", "sem alteração"),
                 countOf(plan_->count(RowStatus::Refused), "recusado", "recusados")));
    if (!plan_->toCreateText.isEmpty())
        lblCriar->setText(QStringLiteral("Serão criados: ") +
                          plan_->toCreateText.join(QStringLiteral("; ")) + '.');
}

// ------------------------------------------------------------------ commands

void TFImportar::btnSalvarRecusadasClick() {
    if (!plan_ || plan_->count(RowStatus::Refused) == 0) {
        ui::dialogs().message(this, QStringLiteral("Não há linhas recusadas para salvar."));
        return;
    }
    const QFileInfo source(file_->path);
    const QString path = ui::dialogs().saveFile(
        this, QStringLiteral("Salvar as linhas recusadas"), QStringLiteral("Texto CSV (*.csv)"),
        source.absoluteDir().filePath(source.completeBaseName() +
                                      QStringLiteral("_recusadas.csv")));
    if (path.isEmpty())
        return;
    imports::saveRefusedRows(path, *file_, *plan_);
    ui::dialogs().message(this, QStringLiteral("As linhas recusadas foram salvas em %1. Corrija-as "
                                               "e importe esse arquivo.")
                                    .arg(QDir::toNativeSeparators(path)));
}

void TFImportar::btnImportarClick() {
    if (!plan_) {
        ui::dialogs().message(this, QStringLiteral("Escolha primeiro o arquivo a importar."));
        return;
    }
    const int added = plan_->count(RowStatus::New);
    const int changed = plan_->count(RowStatus::Changed);
    if (added + changed == 0) {
        ui::dialogs().message(this,
                              QStringLiteral("Não há linhas novas ou alteradas para importar."));
        return;
    }
    QString question = QStringLiteral("Confirma a importação de %1: %2 e %3?")
                           .arg(imports::registerWords(what()), countOf(added, "novo", "novos"),
                                countOf(changed, "alterado", "alterados"));
    if (const int refused = plan_->count(RowStatus::Refused))
        question += '\n' +
                    countOf(refused, "linha recusada não será importada",
                            "linhas recusadas não serão importadas") +
                    '.';
    if (!plan_->toCreateText.isEmpty())
        question += QStringLiteral("\nSerão criados: ") +
                    plan_->toCreateText.join(QStringLiteral("; ")) + '.';
    if (!ui::dialogs().question(this, QStringLiteral("Atenção"), question))
        return;
    bool stored = false;
    {
        report::Progress progress(this, QStringLiteral("Importando..."), int(plan_->rows.size()));
        stored = imports::storePlan(*DM->SQLConnection1, *plan_,
                                    [&progress](int done, int) { return progress.step(done); });
    }
    if (!stored) {
        ui::dialogs().message(this, QStringLiteral("Importação cancelada. Nada foi gravado."));
        return;
    }
    // The shared rows are read again when a window next opens them.
    for (data::ClientDataSet* shared : {DM->TBPRODUTOS, DM->TBGRUPO, DM->TBSUBGRUPO,
                                        DM->TBFORNECEDOR, DM->TBCLIENTE, DM->TBMOVIMENTACAO})
        shared->close();
    ui::dialogs().message(
        this, QStringLiteral("Importação concluída: %1 e %2.")
                  .arg(countOf(added, "novo", "novos"), countOf(changed, "alterado", "alterados")));
    montarPrevia(); // the rows as they now stand
}
