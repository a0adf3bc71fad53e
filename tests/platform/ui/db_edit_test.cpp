// The data-aware edit box: what it shows in each state, what it lets the user type, and how the
// typed text reaches the field, or does not, with the error reported where the user sees it.
#include "platform/data/errors.h"
#include "platform/ui/db_edit.h"
#include "platform/ui/db_memo.h"
#include "platform/ui/field_link.h"
#include "widget_fixture.h"
#include <QLineEdit>

namespace {

class DBEditTest : public fixture::UiTest {
protected:
    void SetUp() override {
        makeProducts(3);
        next = add(new QLineEdit, "Edit1");
    }
    ui::DBEdit* bound(const char* field, const char* name) {
        auto* edit = new ui::DBEdit;
        edit->setDataSource(&source);
        edit->setDataField(field);
        window.layout()->addWidget(edit);
        QWidget::setTabOrder(edit, next);
        edit->setObjectName(name);
        testing_support::activate(&window);
        return edit;
    }
    QLineEdit* next = nullptr;
};

TEST_F(DBEditTest, UpperCaseAndFieldLengthWhileTyping) {
    auto* edit = bound("DESCRICAO", "DBEdit2");
    edit->setCharCase(ui::CharCase::Upper);
    EXPECT_EQ(edit->text(), "ITEM 1");

    testing_support::focus(edit);
    testing_support::type(edit, "café com pão");           // 12 characters into a field of 10
    EXPECT_EQ(products.state(), data::DataSetState::Edit); // typing started the edit
    EXPECT_EQ(edit->text(), "CAFÉ COM P");
    EXPECT_EQ(products.field("DESCRICAO").asString(), "ITEM 1"); // not written yet

    next->setFocus(Qt::TabFocusReason); // leaving the box writes the field
    EXPECT_EQ(products.field("DESCRICAO").asString(), "CAFÉ COM P");
    products.post();
    EXPECT_EQ(products.valueAt(0, 1).toString(), "CAFÉ COM P");
    EXPECT_EQ(edit->cursorPosition(), 0) << "a stored text is shown from its beginning";
}

// The column counts characters, not UTF-16 units: ten emoji fit a column of ten.
TEST_F(DBEditTest, LengthLimitCountsCharactersAsTheColumnDoes) {
    const QString emoji = QString::fromUtf8("\xF0\x9F\x98\x80"); // one character, two units
    const QString twelve = emoji.repeated(12);

    auto* edit = bound("DESCRICAO", "DBEdit2");
    testing_support::focus(edit);
    edit->selectAll();
    testing_support::type(edit, twelve);
    EXPECT_EQ(edit->text(), emoji.repeated(10));
    edit->selectAll();
    edit->insert(QStringLiteral("ab") + twelve); // a paste keeps what fits
    EXPECT_EQ(edit->text(), QStringLiteral("ab") + emoji.repeated(8));
    next->setFocus(Qt::TabFocusReason);
    products.post();
    EXPECT_EQ(products.field("DESCRICAO").asString(), QStringLiteral("ab") + emoji.repeated(8));

    auto* memo = new ui::DBMemo;
    memo->setDataSource(&source);
    memo->setDataField("DESCRICAO");
    window.layout()->addWidget(memo);
    testing_support::focus(memo);
    memo->selectAll();
    testing_support::type(memo, twelve);
    EXPECT_EQ(memo->toPlainText(), emoji.repeated(10));
}

TEST_F(DBEditTest, DisplayTextWhileBrowsingEditTextWhileEditing) {
    auto* edit = bound("PRECO", "DBEdit5");
    EXPECT_EQ(edit->text(), "R$ 1,50");
    testing_support::focus(edit);
    testing_support::type(edit, "2,25");
    EXPECT_EQ(edit->text(), "2,25");
    products.post(); // post asks the box for its pending text first
    EXPECT_EQ(products.field("PRECO").asFloat(), 2.25);
    EXPECT_EQ(edit->text(), "R$ 2,25");

    products.next(); // follows the cursor
    EXPECT_EQ(edit->text(), "R$ 3,00");

    // The keypad's decimal key writes the comma, as on a Brazilian keypad.
    testing_support::focus(edit);
    edit->selectAll();
    testing_support::type(edit, "4");
    QTest::keyClick(edit, Qt::Key_Period, Qt::KeypadModifier);
    testing_support::type(edit, "5");
    EXPECT_EQ(edit->text(), "4,5");
    products.post();
    EXPECT_EQ(products.field("PRECO").asFloat(), 4.5);
}

TEST_F(DBEditTest, BadTextOnLeavingIsReportedAndTheUserStaysInTheBox) {
    auto* edit = bound("PRECO", "DBEdit5");
    testing_support::focus(edit);
    testing_support::type(edit, "abc");
    next->setFocus(Qt::TabFocusReason);

    ASSERT_EQ(dialogs.errors().size(), 1u);
    EXPECT_EQ(dialogs.errors()[0].text, "'abc' não é um número válido para o campo PRECO.");
    EXPECT_TRUE(edit->hasFocus());
    EXPECT_EQ(edit->text(), "abc");
    EXPECT_EQ(products.field("PRECO").asFloat(), 1.5); // the record is unchanged

    // Posting with the bad text still pending fails at the box, and changes nothing.
    EXPECT_THROW(products.post(), data::FieldError);
    EXPECT_EQ(products.state(), data::DataSetState::Edit);
    EXPECT_EQ(products.field("PRECO").asFloat(), 1.5);

    edit->selectAll();
    testing_support::type(edit, "4");
    products.post();
    EXPECT_EQ(products.valueAt(0, 2).toDouble(), 4.0);
}

TEST_F(DBEditTest, CommandsMovingTheFocusLeaveBadTextPendingWithoutAnError) {
    auto* edit = bound("PRECO", "DBEdit5");
    testing_support::focus(edit);
    testing_support::type(edit, "abc");
    next->setFocus(); // "Cancelar" moves the focus to its sink first
    EXPECT_TRUE(dialogs.errors().empty());
    EXPECT_TRUE(next->hasFocus());
    products.cancel();
    EXPECT_EQ(edit->text(), "R$ 1,50");
}

TEST_F(DBEditTest, PendingInputWrittenOnRequest) {
    auto* edit = bound("PRECO", "DBEdit5");
    testing_support::focus(edit);
    testing_support::type(edit, "7");
    // A command run by its shortcut reads the field while the focus is still in the box.
    ui::writePendingInput(&window);
    EXPECT_EQ(products.field("PRECO").asFloat(), 7.0);
    EXPECT_EQ(products.state(), data::DataSetState::Edit);
}

// A bad value left pending in one box refuses the post with its message, while another box's
// pending text still reaches its field and nothing typed is lost; both through post() and
// through a command that writes the window's pending input first.
TEST_F(DBEditTest, BadPendingTextRefusesThePostWithoutLosingTheOtherBoxes) {
    auto* price = bound("PRECO", "DBEdit5");
    auto* description = bound("DESCRICAO", "DBEdit2");
    struct Round {
        const char* how;
        std::function<void()> write;
        QString typed;
    };
    const Round rounds[] = {
        {"post", [&] { products.post(); }, "primeiro"},
        {"writePendingInput", [&] { ui::writePendingInput(&window); }, "segundo"},
    };
    for (const Round& round : rounds) {
        SCOPED_TRACE(round.how);
        const double price0 = products.field("PRECO").asFloat();
        auto* gone = bound("CODIGO", "DBEdit1");
        testing_support::focus(gone);
        testing_support::type(gone, "9");
        delete gone; // destroyed with its input pending: left out, not called

        testing_support::focus(price);
        price->selectAll();
        testing_support::type(price, "abc");
        next->setFocus(); // moved by a command: the bad text stays pending, without a message
        testing_support::focus(description);
        description->selectAll();
        testing_support::type(description, round.typed);
        ASSERT_TRUE(dialogs.errors().empty());

        try {
            round.write();
            ADD_FAILURE() << "the bad price went through";
        } catch (const data::FieldError& e) {
            EXPECT_EQ(e.message(), "'abc' não é um número válido para o campo PRECO.");
        }
        EXPECT_EQ(products.state(), data::DataSetState::Edit);
        EXPECT_EQ(price->text(), "abc");
        EXPECT_EQ(description->text(), round.typed);
        EXPECT_EQ(products.field("DESCRICAO").asString(), round.typed) << "written, not skipped";
        EXPECT_DOUBLE_EQ(products.field("PRECO").asFloat(), price0);
        EXPECT_EQ(products.field("CODIGO").asInteger(), 1);

        price->selectAll();
        testing_support::type(price, "7");
        products.post();
        EXPECT_EQ(products.valueAt(0, 1).toString(), round.typed);
        EXPECT_DOUBLE_EQ(products.valueAt(0, 2).toDouble(), 7.0);
        EXPECT_EQ(products.valueAt(0, 0).toInt(), 1);
    }
}

TEST_F(DBEditTest, MaskedDateFromTheFieldAndEmptyMaskWritesNull) {
    products.edit();
    products.field("DATA").setValue(QDate(2024, 2, 29));
    products.post();
    auto* edit = bound("DATA", "DBEdit3");
    EXPECT_EQ(edit->inputMask(), "00/00/9999;_");
    EXPECT_EQ(edit->text(), "29/02/2024");

    testing_support::focus(edit);
    testing_support::press(edit, Qt::Key_Delete); // the whole text is selected
    EXPECT_EQ(edit->text(), "  /  /    ");
    products.post();
    EXPECT_TRUE(products.field("DATA").isNull());

    next->setFocus(Qt::TabFocusReason);
    testing_support::focus(edit);
    testing_support::type(edit, "3102");
    EXPECT_THROW(products.post(), data::FieldError); // "31/02/    " is no date
    EXPECT_TRUE(products.field("DATA").isNull());
}

TEST_F(DBEditTest, ReadOnlyWhenTheDatasetCannotBeEdited) {
    auto* edit = bound("DESCRICAO", "DBEdit2");
    EXPECT_FALSE(edit->isReadOnly());
    edit->setAutoEdit(false);
    EXPECT_TRUE(edit->isReadOnly());
    testing_support::focus(edit);
    testing_support::type(edit, "X");
    EXPECT_EQ(products.state(), data::DataSetState::Browse);
    EXPECT_EQ(edit->text(), "ITEM 1");

    products.edit();
    EXPECT_FALSE(edit->isReadOnly());
    products.cancel();
    products.close();
    EXPECT_TRUE(edit->isReadOnly());
    EXPECT_EQ(edit->text(), "");
}

} // namespace
