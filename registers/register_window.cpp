#include "registers/register_window.h"
#include "core/data_module.h"
#include "core/globals.h"
#include "platform/data/errors.h"
#include "platform/ui/db_combo_box.h"
#include "platform/ui/db_edit.h"
#include "platform/ui/db_grid.h"
#include "platform/ui/db_image.h"
#include "platform/ui/db_lookup_combo_box.h"
#include "platform/ui/db_memo.h"
#include "platform/ui/db_navigator.h"
#include "platform/ui/dialogs.h"
#include "platform/ui/guard.h"
#include "platform/ui/page_control.h"
#include "registers/state_codes.h"
#include <QAction>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTabBar>
#include <QVBoxLayout>

RegisterWindow::RegisterWindow(QWidget* parent, const Setup& setup)
    : ui::Form(parent, QString::fromLatin1(setup.objectName)), setup_(setup),
      source_(setup.source) {
    setWindowTitle(setup.caption);
    setFont(QFont(QStringLiteral("Arial")));

    PageControl1 = new ui::PageControl(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    TabSheet1 = new QWidget;
    TabSheet1->setObjectName(QStringLiteral("TabSheet1"));
    TabSheet2 = new QWidget;
    TabSheet2->setObjectName(QStringLiteral("TabSheet2"));
    PageControl1->addPage(TabSheet1, QStringLiteral("Cadastro"));
    PageControl1->addPage(TabSheet2, QStringLiteral("Consulta"));
    (new QVBoxLayout(this))->addWidget(PageControl1);

    // The form: fields on the left, the commands in a column on the right.
    auto* form = new QHBoxLayout(TabSheet1);
    auto* fields = new QVBoxLayout;
    formGrid_ = new QGridLayout;
    formGrid_->setVerticalSpacing(2);
    fields->addLayout(formGrid_);
    fields->addStretch();
    form->addLayout(fields, 1);

    Edit1 = addFocusSink("Edit1");

    DBEdit1 = addEdit("DBEdit1", QStringLiteral("CÓDIGO"), QStringLiteral("CODIGO"),
                      AlwaysOff | NoMovement | NoColours);
    DBEdit1->setEnabled(false);

    buttonColumn_ = new QVBoxLayout;
    form->addLayout(buttonColumn_);
    btnNovo = commandButton("btnNovo", QStringLiteral("Novo"));
    btnAlterar = commandButton("btnAlterar", QStringLiteral("Alterar"));
    btnSalvar = commandButton("btnSalvar", QStringLiteral("Salvar"));
    btnCancelar = commandButton("btnCancelar", QStringLiteral("Cancelar"));
    btnExcluir = commandButton("btnExcluir", QStringLiteral("Excluir"));
    btnConsultar = commandButton("btnConsultar", QStringLiteral("Consultar"));
    btnSair = commandButton("btnSair", QStringLiteral("Sair"));
    ui::connectGuarded(btnNovo, &QPushButton::clicked, this, [this] { btnNovoClick(); });
    ui::connectGuarded(btnAlterar, &QPushButton::clicked, this, [this] { btnAlterarClick(); });
    ui::connectGuarded(btnSalvar, &QPushButton::clicked, this, [this] { btnSalvarClick(); });
    ui::connectGuarded(btnCancelar, &QPushButton::clicked, this, [this] { btnCancelarClick(); });
    ui::connectGuarded(btnExcluir, &QPushButton::clicked, this, [this] { btnExcluirClick(); });
    ui::connectGuarded(btnConsultar, &QPushButton::clicked, this, [this] { btnConsultarClick(); });
    ui::connectGuarded(btnSair, &QPushButton::clicked, this, [this] { btnSairClick(); });
    ui::addShortcut(this, Qt::Key_F1, btnNovo, QStringLiteral("Novo1"));
    ui::addShortcut(this, Qt::Key_F2, btnAlterar, QStringLiteral("Alterar1"));
    ui::addShortcut(this, Qt::Key_F5, btnSalvar, QStringLiteral("Salvar1"));
    ui::addShortcut(this, Qt::Key_Escape, btnCancelar, QStringLiteral("Cancelar1"));
    ui::addShortcut(this, QKeySequence(Qt::SHIFT | Qt::Key_Delete), btnExcluir,
                    QStringLiteral("Excluir1"));
    ui::addShortcut(this, Qt::Key_F8, btnConsultar, QStringLiteral("Consultar1"));
    ui::addShortcut(this, Qt::Key_F4, btnSair, QStringLiteral("Sair1"));

    DBNavigator1 = new ui::DBNavigator(TabSheet1);
    DBNavigator1->setObjectName(QStringLiteral("DBNavigator1"));
    DBNavigator1->setDataSource(source_);
    buttonColumn_->addWidget(DBNavigator1);

    if (setup.shortcutBox) {
        GroupBox1 = new QGroupBox(QStringLiteral("Teclas de Atalho"), TabSheet1);
        GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
        auto* keys = new QVBoxLayout(GroupBox1);
        for (const char* text :
             {"F1 para Novo", "F2 para Alterar", "F5 para Salvar", "ESC para Cancelar",
              "Shif+Del para Excluir", "F8 para Consultar", "F4 para Sair"})
            keys->addWidget(new QLabel(QString::fromUtf8(text), GroupBox1));
        buttonColumn_->addWidget(GroupBox1);
    }
    buttonColumn_->addStretch();

    DBGrid1 = new ui::DBGrid(TabSheet2);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->setDataSource(source_);
    auto* list = new QVBoxLayout(TabSheet2);
    list->addWidget(DBGrid1);
    ui::connectGuarded(DBGrid1, &ui::DBGrid::gridDoubleClicked, this,
                       [this] { gridDoubleClick(); });
    ui::connectGuarded(DBGrid1, &ui::DBGrid::enterPressed, this, [this] { gridEnter(); });

    QCodigo = makeQuery("QCodigo", setup.codeQuery);

    ui::connectGuarded(PageControl1, &QTabWidget::currentChanged, this, [this] {
        QWidget* page = PageControl1->activePage();
        if (shownPage_ == TabSheet2 && page != TabSheet2)
            TabSheet2Hide();
        shownPage_ = page;
        if (page == TabSheet1)
            TabSheet1Show();
        else if (page == TabSheet2)
            TabSheet2Show();
    });
    shownPage_ = PageControl1->activePage();
    if (!setup.listPage) {
        PageControl1->setPageVisible(TabSheet2, false);
        PageControl1->tabBar()->hide();
    }
}

data::ClientDataSet* RegisterWindow::dataSet() const {
    return source_->dataSet();
}

// ------------------------------------------------------------------ building the form

QPushButton* RegisterWindow::commandButton(const char* name, const QString& caption) {
    auto* b = new QPushButton(caption, TabSheet1);
    b->setObjectName(QString::fromLatin1(name));
    b->setFocusPolicy(Qt::NoFocus); // pressing a command leaves the focus in the field
    b->setAutoDefault(false);
    b->setMinimumWidth(100);
    ui::setHandCursor(b);
    buttonColumn_->addWidget(b);
    return b;
}

QLineEdit* RegisterWindow::addFocusSink(const char* name) {
    auto* edit = new QLineEdit(TabSheet1);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setFixedSize(1, 1);
    edit->setFocusPolicy(Qt::NoFocus); // reached only by the program, never by Tab
    return edit;
}

QPushButton* RegisterWindow::addPickButton(const char* name, const QString& caption,
                                           const QString& hint) {
    auto* b = new QPushButton(caption, TabSheet1);
    b->setObjectName(QString::fromLatin1(name));
    b->setToolTip(hint);
    // In the tab order after its list, as the fields are: Enter opens it, Up and Down move on.
    b->setFocusPolicy(Qt::TabFocus);
    b->setAutoDefault(false);
    b->setFixedWidth(36);
    addBeside(b);
    ui::attachKeyMovement(b, ui::MoveKeys(ui::MoveKey::DownNext) | ui::MoveKey::UpPrevious);
    ui::attachKeyClick(b, {Qt::Key_Return, Qt::Key_Enter}, b);
    return b;
}

ui::DBImage* RegisterWindow::addPicture(const QString& label, data::DataSource* source,
                                        const QString& column, const QString& item, int options,
                                        std::function<void()> choose) {
    auto* picture = new ui::DBImage(TabSheet1);
    picture->setObjectName(QStringLiteral("DBImage1"));
    picture->setFixedSize(150, 150);
    picture->setStretch(true);
    picture->setFrameShape(QFrame::Box);
    picture->setAutoEdit(false); // only the window's own command changes it
    picture->setDataSource(source);
    picture->setDataField(column);
    addControl(picture, label, options | NoMovement | NoColours);
    ui::connectGuarded(picture, &ui::DBImage::clicked, this, choose);
    auto* Foto1 = new QAction(item, this);
    Foto1->setObjectName(QStringLiteral("Foto1"));
    Foto1->setShortcut(Qt::Key_F9);
    addAction(Foto1);
    ui::connectGuarded(Foto1, &QAction::triggered, this, choose);
    return picture;
}

QLineEdit* RegisterWindow::addSearchBox(const char* name, const QString& label) {
    auto* box = new QLineEdit(TabSheet2);
    box->setObjectName(QString::fromLatin1(name));
    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel(label, TabSheet2));
    row->addWidget(box, 1);
    static_cast<QVBoxLayout*>(TabSheet2->layout())->insertLayout(0, row);
    searchBox_ = box;
    return box;
}

void RegisterWindow::setFormColumns(int columns) {
    formColumns_ = columns;
}

void RegisterWindow::placeControl(QWidget* control, const QString& label, int span) {
    if (cellColumn_ + span > formColumns_ && cellColumn_ > 0) {
        ++cellRow_;
        cellColumn_ = 0;
    }
    auto* caption = new QLabel(label, TabSheet1);
    caption->setObjectName("Label" + control->objectName());
    lastCell_ = new QWidget(TabSheet1);
    auto* cell = new QHBoxLayout(lastCell_);
    cell->setContentsMargins(0, 0, 0, 0);
    cell->addWidget(control, 1);
    formGrid_->addWidget(caption, 2 * cellRow_, cellColumn_, 1, span);
    // At the top of its row, right under its label, whatever else makes the row taller.
    formGrid_->addWidget(lastCell_, 2 * cellRow_ + 1, cellColumn_, 1, span, Qt::AlignTop);
    cellColumn_ += span;
    if (cellColumn_ >= formColumns_) {
        ++cellRow_;
        cellColumn_ = 0;
    }
}

void RegisterWindow::setCaptionOf(QWidget* control, const QString& label) {
    if (auto* caption = TabSheet1->findChild<QLabel*>("Label" + control->objectName()))
        caption->setText(label);
}

void RegisterWindow::attachField(QWidget* control, int options) {
    if (!(options & NoMovement)) {
        if (options & ListKeys)
            ui::attachKeyMovement(control, ui::kListMoveKeys);
        else
            ui::attachKeyMovement(control, ui::kEditMoveKeys);
    }
    if (!(options & NoColours))
        ui::attachFocusColours(control);
    if (!(options & AlwaysOff))
        controls_.push_back(control);
    if (control->focusPolicy() != Qt::NoFocus && !(options & NoTabChain)) {
        if (lastFocusable_)
            setTabOrder(lastFocusable_, control);
        lastFocusable_ = control;
    }
}

void RegisterWindow::forgetControl(QWidget* control) {
    std::erase(controls_, control);
}

QWidget* RegisterWindow::addControl(QWidget* control, const QString& label, int options, int span) {
    placeControl(control, label, span);
    attachField(control, options);
    return control;
}

void RegisterWindow::addBeside(QWidget* control, int options) {
    lastCell_->layout()->addWidget(control);
    attachField(control, options | NoMovement | NoColours);
}

ui::DBEdit* RegisterWindow::addEdit(const char* name, const QString& label, const QString& column,
                                    int options, int span) {
    auto* edit = new ui::DBEdit(TabSheet1);
    edit->setObjectName(QString::fromLatin1(name));
    if (!(options & MixedCase))
        edit->setCharCase(ui::CharCase::Upper);
    edit->setDataSource(source_);
    edit->setDataField(column);
    // A value that cannot be converted is reported under the name the user reads here.
    dataSet()->field(column).def().displayLabel = label;
    addControl(edit, label, options, span);
    return edit;
}

ui::DBComboBox* RegisterWindow::addStates(const char* name, const QString& label,
                                          const QString& column, int options) {
    auto* states = new ui::DBComboBox(TabSheet1);
    states->setObjectName(QString::fromLatin1(name));
    states->setItems(stateCodes());
    states->setCharCase(ui::CharCase::Upper);
    states->setDataSource(source_);
    states->setDataField(column);
    addControl(states, label, options);
    return states;
}

ui::DBMemo* RegisterWindow::addMemo(const char* name, const QString& label, const QString& column,
                                    int span) {
    auto* memo = new ui::DBMemo(TabSheet1);
    memo->setObjectName(QString::fromLatin1(name));
    memo->setDataSource(source_);
    memo->setDataField(column);
    memo->setFixedHeight(60);
    memo->setTabChangesFocus(true);
    addControl(memo, label, NoMovement, span);
    return memo;
}

ui::DBLookupComboBox* RegisterWindow::addLookup(const char* name, const QString& column,
                                                data::DataSource* list, int options) {
    auto* lookup = new ui::DBLookupComboBox(TabSheet1);
    lookup->setObjectName(QString::fromLatin1(name));
    lookup->setListSource(list);
    lookup->setKeyField(QStringLiteral("CODIGO"));
    lookup->setListField(QStringLiteral("DESCRICAO"));
    lookup->setDataSource(source_);
    lookup->setDataField(column);
    lookup->setMinimumWidth(200);
    lastCell_->layout()->addWidget(lookup);
    attachField(lookup, options);
    return lookup;
}

data::SqlQuery* RegisterWindow::makeQuery(const char* name, const QStringList& lines) {
    auto* query = new data::SqlQuery(DM->SQLConnection1, this);
    query->setObjectName(QString::fromLatin1(name));
    query->sql() = lines;
    return query;
}

void RegisterWindow::addDependency(data::SqlQuery* query, const QString& parameter,
                                   const QString& message) {
    dependencies_.push_back({query, parameter, message});
}

// ------------------------------------------------------------------ states

void RegisterWindow::setControlsEnabled(bool on) {
    for (QWidget* control : controls_)
        control->setEnabled(on);
}

void RegisterWindow::setBrowseButtons(bool browsing) {
    for (QPushButton* b : {btnNovo, btnAlterar, btnExcluir, btnConsultar, btnSair})
        b->setEnabled(browsing);
    DBNavigator1->setEnabled(browsing);
    btnSalvar->setEnabled(!browsing);
    btnCancelar->setEnabled(!browsing);
}

void RegisterWindow::updateRecordButtons() {
    const bool any = dataSet()->active() && !dataSet()->isEmpty();
    btnAlterar->setEnabled(any && btnNovo->isEnabled());
    btnExcluir->setEnabled(any && btnNovo->isEnabled());
}

void RegisterWindow::navegar() {
    setControlsEnabled(false);
    setBrowseButtons(true);
    updateRecordButtons();
    if (setup_.listPage)
        PageControl1->setPageVisible(TabSheet2, true);
}

void RegisterWindow::editar() {
    setControlsEnabled(true);
    setBrowseButtons(false);
    // The list stays out of reach while a record is under edit: moving to another row there
    // would leave the edit behind.
    PageControl1->setActivePage(TabSheet1);
    if (setup_.listPage)
        PageControl1->setPageVisible(TabSheet2, false);
    if (firstField_)
        firstField_->setFocus();
}

void RegisterWindow::showForm() {
    PageControl1->setActivePage(TabSheet1);
}

// ------------------------------------------------------------------ show and close

void RegisterWindow::FormShow() {
    data::ClientDataSet* ds = dataSet();
    if (setup_.reopenOnShow)
        ds->close();
    // Chosen before the rows are read, a table read in slices can come in this order.
    if (!setup_.order.isEmpty())
        DM->OrdenarDataSet(ds, setup_.order);
    ds->open();
    openLookups();
    navegar();
}

bool RegisterWindow::focusNextPrevChild(bool next) {
    // Past the last field the focus comes round to the first one, never to a hidden control.
    if (next && firstField_ && focusWidget() == lastFocusable_ && firstField_->isEnabled()) {
        firstField_->setFocus(Qt::TabFocusReason);
        return true;
    }
    return ui::Form::focusNextPrevChild(next);
}

void RegisterWindow::FormClose() {
    if (btnCancelar->isEnabled() && !btnCancelar->isHidden())
        btnCancelarClick(); // closing never stores pending changes
    afterClose();
}

void RegisterWindow::removeFilter() {
    dataSet()->setFiltered(false); // the current record stays current
}

// ------------------------------------------------------------------ commands

int RegisterWindow::nextCode() {
    data::ClientDataSet* ds = dataSet();
    switch (setup_.nextCode) {
    case NextCode::Query:
        return nextCodeByQuery(*QCodigo);
    case NextCode::ScanAfterReopen:
        ds->close();
        break;
    case NextCode::Scan:
        break;
    }
    ds->open();
    return nextCodeByScan(*ds);
}

int RegisterWindow::storedNextCode() {
    data::SqlQuery query(dataSet()->connection());
    query.sql() << QStringLiteral("select max(CODIGO) from %1").arg(dataSet()->tableName());
    return nextCodeByQuery(query);
}

void RegisterWindow::applyNow(std::initializer_list<data::ClientDataSet*> also) {
    std::vector<data::ClientDataSet*> all{dataSet()};
    all.insert(all.end(), also.begin(), also.end());
    try {
        data::ClientDataSet::applyTogether(all);
    } catch (...) {
        // Nothing stays half-sent: the caches go back to what the database holds.
        for (data::ClientDataSet* ds : all)
            ds->cancelUpdates();
        throw;
    }
}

void RegisterWindow::btnNovoClick() {
    // A search still in force would hide the new record: the whole list comes back first.
    if (searchBox_) {
        const QSignalBlocker quiet(searchBox_);
        searchBox_->clear();
        removeFilter();
    }
    novo_registro = true;
    int code = nextCode();
    data::ClientDataSet* ds = dataSet();
    // Another station may take the same code between its reading and this storing: the next
    // free one is taken, a few times, before the refusal is shown.
    for (int attempt = 1;; ++attempt) {
        ds->insert();
        ds->field(QStringLiteral("CODIGO")).setValue(code);
        setDefaults();
        ds->post();
        try {
            applyNow();
            break;
        } catch (const data::DatabaseError& e) {
            if (attempt == 5 || !e.detail().contains(QLatin1String("PRIMARY or UNIQUE KEY")))
                throw;
            code = std::max(code + 1, storedNextCode());
        }
    }
    if (ds->locate(QStringLiteral("CODIGO"), code)) {
        ds->edit();
        editar();
    }
}

void RegisterWindow::btnAlterarClick() {
    novo_registro = false;
    dataSet()->edit();
    editar();
}

void RegisterWindow::postAndApply(std::initializer_list<data::ClientDataSet*> also) {
    data::ClientDataSet* ds = dataSet();
    QVariantList read; // the row as it was before this edit
    if (ds->state() == data::DataSetState::Edit)
        for (int i = 0; i < ds->fieldCount(); ++i)
            read << ds->valueAt(ds->recNo(), i);
    ds->post();
    QVariantList typed;
    for (const auto& f : ds->fields())
        typed << f->value();
    const int code = ds->field(QStringLiteral("CODIGO")).index();
    try {
        applyNow(also);
    } catch (const data::ConflictError&) {
        // Another station changed the row: what it stored is read, so that saving again starts
        // from it, and only what this user changed goes back under edit over it.
        ds->refreshRow(QStringLiteral("CODIGO"), typed.at(code));
        editAgain(typed, read);
        throw;
    } catch (...) {
        // The database refused the record: the caches are back to what is stored, and what the
        // user typed is put under edit again, so that it can be corrected or cancelled.
        editAgain(typed);
        throw;
    }
}

void RegisterWindow::editAgain(const QVariantList& typed, const QVariantList& read) {
    data::ClientDataSet* ds = dataSet();
    const int code = ds->field(QStringLiteral("CODIGO")).index();
    if (ds->locate(QStringLiteral("CODIGO"), typed.at(code))) {
        ds->edit();
        for (int i = 0; i < ds->fieldCount(); ++i)
            if (read.isEmpty() || typed.at(i) != read.at(i))
                ds->field(i).setValue(typed.at(i));
    }
}

void RegisterWindow::btnSalvarClick() {
    postAndApply();
    navegar();
}

void RegisterWindow::btnCancelarClick() {
    focusSink()->setFocus();
    data::ClientDataSet* ds = dataSet();
    if (novo_registro) {
        const QVariant code = ds->field(QStringLiteral("CODIGO")).value();
        ds->cancel();
        if (ds->locate(QStringLiteral("CODIGO"), code)) {
            ds->deleteRecord();
            applyNow();
        }
    } else {
        ds->cancel();
    }
    navegar();
}

bool RegisterWindow::dependencyFound(data::SqlQuery* query, const QString& parameter) {
    query->close();
    query->setInteger(parameter, dataSet()->field(QStringLiteral("CODIGO")).asInteger());
    query->open();
    const bool found = !query->eof();
    query->close();
    return found;
}

bool RegisterWindow::confirmDelete() {
    if (!ui::dialogs().question(this, QStringLiteral("Atenção"),
                                QStringLiteral("Você realmente deseja excluir o registro?")))
        return false;
    for (const Dependency& d : dependencies_) {
        if (dependencyFound(d.query, d.parameter)) {
            ui::dialogs().message(this, d.message);
            return false;
        }
    }
    return true;
}

void RegisterWindow::btnExcluirClick() {
    if (!confirmDelete())
        return;
    dataSet()->deleteRecord();
    applyNow();
    updateRecordButtons();
}

void RegisterWindow::btnConsultarClick() {
    PageControl1->setActivePage(TabSheet2);
}

void RegisterWindow::btnSairClick() {
    close();
}

void RegisterWindow::gridDoubleClick() {
    showForm();
}
