// Designers' edit masks become Qt input masks: the digit places swap ('0' required here is '9'
// in Qt), the flags drop out, and the empty text is what windows compare against.
#include "platform/ui/edit_mask.h"
#include "platform/ui/mask_edit.h"
#include "widget_fixture.h"

namespace {

TEST(EditMask, ConvertsToQtMasks) {
    struct Case {
        const char* editMask;
        const char* qtMask;
        const char* blankText;
    };
    const Case cases[] = {
        {"!99/99/0000;1;_", "00/00/9999;_", "  /  /    "},
        {"!90:00;1;_", "09:99;_", "  :  "},
        {"00000-000;0;*", "99999-999;*", "     -   "},
        {"(99) 0000-0000", "(00) 9999-9999;_", "(  )     -    "}, // default blank '_'
        {">LL-aa<l<>c", ">AA-nn<a!x;_", "  -    "},
        {"\\D\\;A", "\\D\\;N;_", "D; "}, // escaped literals that mean something to Qt
        {"NBX#C", "\\N\\B\\X#X;_", "NBX  "},
        {"", "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.editMask);
        const ui::InputMask mask = ui::convertEditMask(c.editMask);
        EXPECT_EQ(mask.qtMask, c.qtMask);
        EXPECT_EQ(mask.blankText, c.blankText);
    }
}

class MaskEditTest : public fixture::UiTest {};

TEST_F(MaskEditTest, EmptyDateReadsAsBlankMaskAndTypingFillsIt) {
    auto* edit = add(new ui::MaskEdit, "txtDataInicial");
    edit->setEditMask("!99/99/0000;1;_");
    EXPECT_EQ(edit->text(), "  /  /    ");
    EXPECT_TRUE(edit->isBlank());

    edit->setText("01/01/2000");
    testing_support::focus(edit); // the whole text is selected: typing starts at the first digit
    testing_support::type(edit, "31122050");
    EXPECT_EQ(edit->text(), "31/12/2050");
    EXPECT_FALSE(edit->isBlank());

    testing_support::type(edit, "x"); // no room and not a digit
    EXPECT_EQ(edit->text(), "31/12/2050");
}

TEST_F(MaskEditTest, UpperCaseAsTyped) {
    auto* edit = add(new ui::MaskEdit, "Edit1");
    edit->setCharCase(ui::CharCase::Upper);
    testing_support::focus(edit);
    testing_support::type(edit, "ação é bom");
    EXPECT_EQ(edit->text(), "AÇÃO É BOM");
}

} // namespace
