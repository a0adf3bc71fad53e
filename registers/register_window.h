#pragma once
// What every register window shares: a "Cadastro" page with the record's fields and seven
// command buttons (each with a hidden shortcut that acts only while the button is enabled), a
// "Consulta" page with the list, and two states, browsing (navegar) and editing (editar).
// The window edits the data module's shared dataset of its table, and every change is stored
// in the database at once. Members add their fields and override only what they do otherwise.
#include "platform/data/sql_query.h"
#include "platform/ui/behaviours.h"
#include "platform/ui/dialogs.h"
#include "platform/ui/form.h"
#include "platform/ui/modal.h"
#include "platform/ui/page_control.h"
#include <QString>
#include <functional>
#include <vector>

class QGridLayout;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QVBoxLayout;

namespace data {
class ClientDataSet;
class DataSource;
} // namespace data

namespace ui {
class DBComboBox;
class DBEdit;
class DBGrid;
class DBImage;
class DBLookupComboBox;
class DBMemo;
class DBNavigator;
} // namespace ui

class RegisterWindow : public ui::Form {
    Q_OBJECT
public:
    // How "Novo" finds the next code: max(codigo) + 1 through QCodigo, or a walk of the cached
    // rows (after reading them again from the database, or as they are cached).
    enum class NextCode { Query, Scan, ScanAfterReopen };

    struct Setup {
        const char* objectName;
        QString caption;
        data::DataSource* source;
        QString order;     // index field on show; "" keeps the order as read
        bool reopenOnShow; // read the table again each time the window is shown
        NextCode nextCode;
        QStringList codeQuery;   // QCodigo's lines, for NextCode::Query
        bool shortcutBox = true; // the "Teclas de Atalho" box
        bool listPage = true;    // false: the form is the only page (the movement windows)
    };

    RegisterWindow(QWidget* parent, const Setup& setup);

    ui::PageControl* PageControl1;
    QWidget* TabSheet1; // "Cadastro"
    QWidget* TabSheet2; // "Consulta"
    QPushButton* btnNovo;
    QPushButton* btnAlterar;
    QPushButton* btnSalvar;
    QPushButton* btnCancelar;
    QPushButton* btnExcluir;
    QPushButton* btnConsultar;
    QPushButton* btnSair;
    ui::DBNavigator* DBNavigator1;
    QGroupBox* GroupBox1 = nullptr; // "Teclas de Atalho"
    ui::DBEdit* DBEdit1;            // CODIGO, never typed
    QLineEdit* Edit1;               // focus sink
    ui::DBGrid* DBGrid1;
    data::SqlQuery* QCodigo;

    data::ClientDataSet* dataSet() const;
    data::DataSource* dataSource() const { return source_; }
    bool novo_registro = false;

    virtual void navegar();
    virtual void editar();

    virtual void btnNovoClick();
    virtual void btnAlterarClick();
    virtual void btnSalvarClick();
    virtual void btnCancelarClick();
    virtual void btnExcluirClick();
    virtual void btnConsultarClick();
    void btnSairClick();

    // Opens a register window modally on its list, as the windows that look records up do.
    template <typename Window> static void showOnList(QWidget* owner) {
        ui::openModal<Window>(
            owner, [](Window* window) { window->PageControl1->setActivePage(window->TabSheet2); });
    }

protected:
    // Options of a field added to the form.
    enum FieldOption {
        MixedCase = 1,   // keeps what is typed (e-mail, site)
        NoMovement = 2,  // no Enter/Up/Down movement
        NoColours = 4,   // no focus colours
        ListKeys = 8,    // Enter moves on; Up and Down stay the list's own
        AlwaysOff = 32,  // never enabled by editar (the code field)
        NoTabChain = 64, // the caller places it in the tab order itself
    };

    // The form's fields, laid out in `columns` columns in the order they are added (which is
    // also their tab order). Each gets a label above it, its behaviours and the state rules.
    void setFormColumns(int columns);
    ui::DBEdit* addEdit(const char* name, const QString& label, const QString& column,
                        int options = 0, int span = 1);
    ui::DBComboBox* addStates(const char* name, const QString& label, const QString& column,
                              int options = ListKeys);
    ui::DBMemo* addMemo(const char* name, const QString& label, const QString& column,
                        int span = 1);
    // A lookup list beside the previous field (its code box), editing the same column.
    ui::DBLookupComboBox* addLookup(const char* name, const QString& column, data::DataSource* list,
                                    int options = ListKeys);
    // Any other control: placed with its label and switched by editar/navegar.
    QWidget* addControl(QWidget* control, const QString& label, int options = 0, int span = 1);
    // A control next to the previous one, in the same cell (a lookup's button).
    void addBeside(QWidget* control, int options = 0);
    // A small button beside the previous field that opens a window to look a record up.
    QPushButton* addPickButton(const char* name, const QString& caption, const QString& hint);
    // A 150 x 150 picture of the source's blob field, with the F9 menu item (caption `item`):
    // a click or F9 runs `choose`.
    ui::DBImage* addPicture(const QString& label, data::DataSource* source, const QString& column,
                            const QString& item, int options, std::function<void()> choose);
    // A command button of the member's own, below "Sair"; the member enables it.
    QPushButton* addCommand(const char* name, const QString& caption);
    // A one-pixel edit the program moves the focus to, so that a field's typed text is written.
    QLineEdit* addFocusSink(const char* name);
    // The search box above the list, with its label.
    QLineEdit* addSearchBox(const char* name, const QString& label);
    // Behaviours and state rules for a control the member placed itself; forgetControl takes a
    // control out of editar/navegar's hands.
    void attachField(QWidget* control, int options);
    void forgetControl(QWidget* control);
    QWidget* lastCell() const { return lastCell_; }
    void setCaptionOf(QWidget* control, const QString& label); // the label above a field
    void setFirstField(QWidget* control) { firstField_ = control; }

    // A dependency that refuses "Excluir": the query (with an integer parameter) finds rows
    // naming the current record's code.
    void addDependency(data::SqlQuery* query, const QString& parameter, const QString& message);
    data::SqlQuery* makeQuery(const char* name, const QStringList& lines);

    // Hooks of the commands and pages.
    virtual void setDefaults() {} // on the record "Novo" creates, before it is stored
    virtual QLineEdit* focusSink() const { return Edit1; }
    virtual void openLookups() {}   // on show, before navegar
    virtual void gridDoubleClick(); // default: back to the form
    virtual void gridEnter() {}
    virtual void TabSheet1Show() {}
    virtual void TabSheet2Show() {}
    virtual void TabSheet2Hide() {}
    virtual void afterClose() {} // after the closing cancel: members drop their filters here

    void FormShow() override;
    void FormClose() override;
    bool focusNextPrevChild(bool next) override;

    void showForm(); // selects the "Cadastro" page
    // Post and store the record at once, with the changes posted to `also` in the same
    // transaction. When the database refuses them, every cache goes back to what is stored and
    // the record is under edit again with what was typed; the error goes on.
    void postAndApply(std::initializer_list<data::ClientDataSet*> also = {});
    // One more than the largest code stored: what the codes of other stations leave free.
    int storedNextCode();
    // Puts what the user typed (every field, in order) back under edit on its row: the fields
    // that differ from `read`, or all of them when it is empty.
    void editAgain(const QVariantList& typed, const QVariantList& read = {});
    // Stores the logged changes (with those of `also`, together) at once; on failure the caches
    // go back to the database's state.
    void applyNow(std::initializer_list<data::ClientDataSet*> also = {});
    // The question and the dependency checks of "Excluir": true when the record may go.
    bool confirmDelete();

    // Drops the filter of the window's dataset, the current record staying current.
    void removeFilter();
    void updateRecordButtons(); // "Alterar" and "Excluir" need a record

private:
    // Whether a dependency query finds a row for the current record's code.
    bool dependencyFound(data::SqlQuery* query, const QString& parameter);
    void setControlsEnabled(bool on);
    void setBrowseButtons(bool browsing);
    struct Dependency {
        data::SqlQuery* query;
        QString parameter;
        QString message;
    };
    void placeControl(QWidget* control, const QString& label, int span);
    QPushButton* commandButton(const char* name, const QString& caption);
    int nextCode();

    Setup setup_;
    data::DataSource* source_;
    QGridLayout* formGrid_;
    QVBoxLayout* buttonColumn_;
    int formColumns_ = 1;
    int cellRow_ = 0;
    int cellColumn_ = 0;
    QWidget* lastCell_ = nullptr;
    QWidget* firstField_ = nullptr;
    std::vector<QWidget*> controls_;
    std::vector<Dependency> dependencies_;
    QWidget* lastFocusable_ = nullptr;
    QWidget* shownPage_ = nullptr;
    QLineEdit* searchBox_ = nullptr;
};
