// Behaviours attached to controls: moving with Enter and the arrows, focus colours, hidden
// shortcuts that act only while their button can be clicked, and a page control's hidden tabs.
#include "platform/ui/behaviours.h"
#include "platform/ui/db_edit.h"
#include "platform/ui/form.h"
#include "platform/ui/page_control.h"
#include "widget_fixture.h"
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

namespace {

class Behaviours : public fixture::UiTest {};

TEST_F(Behaviours, EnterAndArrowsMoveThroughTheControls) {
    auto* a = add(new QLineEdit, "Edit1");
    auto* list = add(new QComboBox, "ComboBox1");
    auto* b = add(new QLineEdit, "Edit2");
    auto* untouched = add(new QLineEdit, "Edit3");
    list->addItems({"um", "dois", "três"});
    ui::attachKeyMovement(a);
    ui::attachKeyMovement(list, ui::kListMoveKeys | ui::MoveKey::BackspacePrevious);
    ui::attachKeyMovement(b);

    testing_support::focus(a);
    testing_support::press(a, Qt::Key_Return);
    EXPECT_TRUE(list->hasFocus());
    testing_support::press(list, Qt::Key_Down); // a list keeps its arrows
    EXPECT_TRUE(list->hasFocus());
    EXPECT_EQ(list->currentIndex(), 1);
    testing_support::press(list, Qt::Key_Enter);
    EXPECT_TRUE(b->hasFocus());
    testing_support::press(b, Qt::Key_Up);
    EXPECT_TRUE(list->hasFocus());
    testing_support::press(list, Qt::Key_Backspace);
    EXPECT_TRUE(a->hasFocus());
    testing_support::press(a, Qt::Key_Down);
    testing_support::press(list, Qt::Key_Return);
    testing_support::press(b, Qt::Key_Down);
    EXPECT_TRUE(untouched->hasFocus());
    testing_support::press(untouched, Qt::Key_Return); // nothing attached: stays
    EXPECT_TRUE(untouched->hasFocus());
}

TEST_F(Behaviours, FocusedControlTakesTheTooltipColour) {
    auto* a = add(new QLineEdit, "Edit1"); // the window's first control: it has the focus
    auto* list = add(new QComboBox, "ComboBox1");
    ui::attachFocusColours(a);
    ui::attachFocusColours(list);
    const QColor focused = QApplication::palette().color(QPalette::ToolTipBase);
    ASSERT_NE(focused, QColor(Qt::white));
    EXPECT_EQ(a->palette().color(QPalette::Base), focused);
    EXPECT_EQ(list->palette().color(QPalette::Base), QColor(Qt::white));

    list->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(a->palette().color(QPalette::Base), QColor(Qt::white));
    EXPECT_EQ(list->palette().color(QPalette::Button), focused);

    // Another window taking the focus for a while is not leaving the control.
    QWidget other;
    testing_support::activate(&other);
    EXPECT_EQ(list->palette().color(QPalette::Button), focused);
    testing_support::focus(a);
    EXPECT_EQ(a->palette().color(QPalette::Base), focused);
    EXPECT_EQ(list->palette().color(QPalette::Button), QColor(Qt::white));
    EXPECT_EQ(a->palette().color(QPalette::Disabled, QPalette::Base),
              QApplication::palette().color(QPalette::Disabled, QPalette::Base))
        << "a disabled control keeps the program's one disabled look";

    // A memo shows the colour in its text area.
    auto* memo = add(new QPlainTextEdit, "Memo1");
    ui::attachFocusColours(memo);
    testing_support::focus(memo);
    EXPECT_EQ(memo->viewport()->palette().color(QPalette::Base), focused);
}

TEST_F(Behaviours, HiddenShortcutClicksOnlyAnEnabledShownButton) {
    auto* pages = new ui::PageControl;
    auto* form = new QWidget;
    form->setObjectName("TabSheet1");
    auto* list = new QWidget;
    list->setObjectName("TabSheet2");
    pages->addPage(form, "Cadastro");
    pages->addPage(list, "Consulta");
    auto* excluir = new QPushButton("Excluir", form);
    auto* edit = add(new QLineEdit, "Edit1");
    add(pages, "PageControl1");
    auto* shortcut =
        ui::addShortcut(&window, QKeySequence(Qt::SHIFT | Qt::Key_Delete), excluir, "Excluir1");
    EXPECT_EQ(shortcut->objectName(), "Excluir1");
    int clicks = 0;
    QObject context; // the handler ends with the test's variables
    QObject::connect(excluir, &QPushButton::clicked, &context, [&] { ++clicks; });

    edit->setText("texto");
    testing_support::focus(edit);
    testing_support::press(&window, shortcut->shortcut()); // taken before the edit box's "cut"
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(edit->text(), "texto");

    excluir->setEnabled(false);
    testing_support::press(&window, shortcut->shortcut());
    EXPECT_EQ(clicks, 1);

    excluir->setEnabled(true);
    pages->setActivePage(list); // on a page not showing: still the window's command
    testing_support::press(&window, shortcut->shortcut());
    EXPECT_EQ(clicks, 2);

    excluir->hide();
    testing_support::press(&window, shortcut->shortcut());
    EXPECT_EQ(clicks, 2);
}

TEST_F(Behaviours, PageControlHidesTabsAndNamesPages) {
    auto* pages = add(new ui::PageControl, "PageControl1");
    auto* form = new QWidget;
    form->setObjectName("TabSheet1");
    auto* list = new QWidget;
    list->setObjectName("TabSheet2");
    pages->addPage(form, "Cadastro");
    pages->addPage(list, "Consulta");
    EXPECT_EQ(pages->page("TabSheet2"), list);

    pages->setActivePage(list);
    pages->setPageVisible(list, false); // hiding the active tab shows another page
    EXPECT_FALSE(pages->pageVisible(list));
    EXPECT_EQ(pages->activePage(), form);
    pages->setPageVisible(list, true);
    pages->setActivePage(list);
    EXPECT_EQ(pages->activePage(), list);
}

class TestForm : public ui::Form {
public:
    TestForm() : ui::Form(nullptr, "TFTeste") {}
    int shown = 0;
    bool refuseClose = false;

protected:
    void FormShow() override { ++shown; }
    void FormClose() override {
        if (refuseClose)
            throw std::runtime_error("ainda não");
    }
};

TEST_F(Behaviours, FormRunsItsHandlersGuardedAndIgnoresEscape) {
    TestForm form;
    testing_support::activate(&form);
    EXPECT_EQ(form.shown, 1);
    testing_support::press(&form, Qt::Key_Escape);
    EXPECT_TRUE(form.isVisible());

    form.refuseClose = true;
    form.close();
    EXPECT_TRUE(form.isVisible());
    ASSERT_EQ(dialogs.errors().size(), 1u);
    EXPECT_EQ(dialogs.errors()[0].text, "ainda não");
    form.refuseClose = false;
    form.close();
    EXPECT_FALSE(form.isVisible());
}

} // namespace
