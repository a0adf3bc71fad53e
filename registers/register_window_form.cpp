// The register window's form: its fields placed with their labels in tab order, the behaviours
// each field takes, the command buttons and the queries a member names.
#include "core/data_module.h"
#include "core/globals.h"
#include "platform/ui/db_combo_box.h"
#include "platform/ui/db_edit.h"
#include "platform/ui/db_image.h"
#include "platform/ui/db_lookup_combo_box.h"
#include "platform/ui/db_memo.h"
#include "platform/ui/guard.h"
#include "registers/register_window.h"
#include "registers/state_codes.h"
#include <QGridLayout>
#include <QPushButton>

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

QPushButton* RegisterWindow::addCommand(const char* name, const QString& caption) {
    QPushButton* b = commandButton(name, caption);
    buttonColumn_->removeWidget(b);
    buttonColumn_->insertWidget(buttonColumn_->indexOf(btnSair) + 1, b);
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
