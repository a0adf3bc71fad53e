// The other data-aware controls: the lookup list, the fixed list, the radio group, the memo,
// the picture box and the navigator, each bound to an in-memory dataset.
#include "platform/ui/db_combo_box.h"
#include "platform/ui/db_image.h"
#include "platform/ui/db_lookup_combo_box.h"
#include "platform/ui/db_memo.h"
#include "platform/ui/db_navigator.h"
#include "platform/ui/db_radio_group.h"
#include "widget_fixture.h"
#include <QBuffer>
#include <QImage>
#include <QLineEdit>
#include <QRadioButton>
#include <QToolButton>

namespace {

class DataControls : public fixture::UiTest {
protected:
    void SetUp() override {
        makeProducts(5); // the list: CODIGO, DESCRICAO "ITEM n"
        movements.setObjectName("TBMOVIMENTACAO");
        movements.addField(fixture::column("CODIGO", data::FieldKind::Integer));
        movements.addField(fixture::column("PRODUTO", data::FieldKind::Integer));
        movements.addField(fixture::column("TIPO", data::FieldKind::Text, 7));
        movements.addField(fixture::column("UF", data::FieldKind::Text, 2));
        movements.addField(fixture::column("OBS", data::FieldKind::Text, 20));
        movements.createDataSet();
        for (int code : {1, 2}) {
            movements.insert();
            movements.field("CODIGO").setValue(code);
            movements.field("PRODUTO").setValue(code == 1 ? 3 : 42); // 42: no such product
            movements.field("TIPO").setAsString("ENTRADA");
            movements.post();
        }
        movements.first();
    }
    data::ClientDataSet movements;
    data::DataSource movementSource{&movements};
};

TEST_F(DataControls, LookupListStoresTheKeyAndPositionsItsDataset) {
    auto* lookup = add(new ui::DBLookupComboBox, "DBLookupComboBox1");
    lookup->setListSource(&source);
    lookup->setKeyField("CODIGO");
    lookup->setListField("DESCRICAO");
    lookup->setDataSource(&movementSource);
    lookup->setDataField("PRODUTO");
    EXPECT_EQ(lookup->count(), 5);
    EXPECT_EQ(lookup->currentText(), "ITEM 3");
    EXPECT_EQ(lookup->keyValue().toInt(), 3);

    int chosen = 0;
    QObject context; // the handlers end with the test's variables
    QObject::connect(lookup, &ui::DBLookupComboBox::chosen, &context, [&] {
        ++chosen;
        EXPECT_EQ(products.field("CODIGO").asInteger(), 4); // already positioned
    });
    testing_support::focus(lookup);
    testing_support::press(lookup, Qt::Key_Down); // the next item: ITEM 4
    EXPECT_EQ(chosen, 1);
    EXPECT_EQ(movements.state(), data::DataSetState::Edit);
    EXPECT_EQ(movements.field("PRODUTO").asInteger(), 4);
    movements.post();

    movements.next(); // a code no list row has: nothing shown
    EXPECT_EQ(lookup->currentIndex(), -1);
    EXPECT_TRUE(lookup->keyValue().isNull());

    // The list follows its dataset.
    products.setFilter("CODIGO >= 4");
    products.setFiltered(true);
    EXPECT_EQ(lookup->count(), 2);
    movements.first();
    EXPECT_EQ(lookup->currentText(), "ITEM 4");
}

TEST_F(DataControls, UnboundLookupOnlyPositionsItsDataset) {
    auto* lookup = add(new ui::DBLookupComboBox, "DBLookupComboBox5");
    lookup->setListSource(&source);
    lookup->setKeyField("CODIGO");
    lookup->setListField("DESCRICAO");
    EXPECT_EQ(lookup->currentIndex(), -1);
    testing_support::focus(lookup);
    testing_support::press(lookup, Qt::Key_End); // the last item
    EXPECT_EQ(lookup->keyValue().toInt(), 5);
    EXPECT_EQ(products.recNo(), 4);
    EXPECT_EQ(products.state(), data::DataSetState::Browse);
}

TEST_F(DataControls, FixedListTakesChosenAndTypedValues) {
    auto* uf = add(new ui::DBComboBox, "DBComboBox1");
    uf->setItems({"MG", "SP", "XX"});
    uf->setCharCase(ui::CharCase::Upper);
    uf->setDataSource(&movementSource);
    uf->setDataField("UF");
    EXPECT_EQ(uf->currentText(), "");

    testing_support::focus(uf);
    testing_support::press(uf, Qt::Key_Down); // chosen from the list: written at once
    EXPECT_EQ(movements.field("UF").asString(), "MG");
    uf->lineEdit()->selectAll();
    testing_support::type(uf, "rj"); // typed: written on post
    EXPECT_EQ(uf->currentText(), "RJ");
    movements.post();
    EXPECT_EQ(movements.valueAt(0, 3).toString(), "RJ");
}

TEST_F(DataControls, RadioGroupStoresTheItemValue) {
    auto* kind = add(new ui::DBRadioGroup, "RGTipo");
    kind->setItems({"Entrada", "Saída"});
    kind->setValues({"ENTRADA", "SAIDA"});
    kind->setDataSource(&movementSource);
    kind->setDataField("TIPO");
    EXPECT_EQ(kind->itemIndex(), 0);

    int changes = 0;
    QObject context;
    QObject::connect(kind, &ui::RadioGroup::changed, &context, [&] { ++changes; });
    QTest::mouseClick(kind->button(1), Qt::LeftButton);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(movements.field("TIPO").asString(), "SAIDA");
    movements.cancel();
    EXPECT_EQ(kind->itemIndex(), 0); // back to the stored value
}

TEST_F(DataControls, MemoWritesOnLeavingAndEnterIsANewLine) {
    auto* memo = add(new ui::DBMemo, "DBMemo1");
    auto* after = add(new ui::DBComboBox, "DBComboBox1");
    memo->setDataSource(&movementSource);
    memo->setDataField("OBS");
    testing_support::focus(memo);
    testing_support::type(memo, "linha um");
    testing_support::press(memo, Qt::Key_Return);
    testing_support::type(memo, "dois");
    EXPECT_TRUE(memo->hasFocus());
    after->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(movements.field("OBS").asString(), "linha um\ndois");

    testing_support::focus(memo);
    memo->moveCursor(QTextCursor::End);
    testing_support::type(memo, " e mais um bocado"); // over the field's 20 characters: cut there
    EXPECT_EQ(memo->toPlainText(), "linha um\ndois e mais");
    after->setFocus(Qt::TabFocusReason);
    EXPECT_TRUE(dialogs.errors().empty());
    EXPECT_EQ(movements.field("OBS").asString(), "linha um\ndois e mais");
}

TEST_F(DataControls, PictureBoxShowsTheBlob) {
    auto* picture = add(new ui::DBImage, "DBImage1");
    picture->setStretch(true);
    picture->setDataSource(&source);
    picture->setDataField("FOTO");
    EXPECT_FALSE(picture->hasPicture());

    QImage image(4, 3, QImage::Format_RGB32);
    image.fill(Qt::red);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    image.save(&buffer, "BMP");
    products.edit();
    products.field("FOTO").setValue(bytes);
    ASSERT_TRUE(picture->hasPicture());
    EXPECT_EQ(picture->pixmap().size(), QSize(4, 3));
    // Stretched to the square box with its proportions: bands above and below stay empty.
    picture->resize(150, 150);
    const QImage shown = picture->grab().toImage();
    EXPECT_EQ(shown.pixelColor(75, 75), QColor(Qt::red));
    EXPECT_NE(shown.pixelColor(75, 8), QColor(Qt::red));
    EXPECT_EQ(shown.pixelColor(4, 75), QColor(Qt::red)) << "as wide as the box";
    products.field("FOTO").setValue(QByteArray("not a picture"));
    EXPECT_FALSE(picture->hasPicture());
}

TEST_F(DataControls, NavigatorMovesAndEnablesByPosition) {
    auto* navigator = add(new ui::DBNavigator, "DBNavigator1");
    navigator->setDataSource(&source);
    auto* first = navigator->button(ui::DBNavigator::First);
    auto* prior = navigator->button(ui::DBNavigator::Prior);
    auto* next = navigator->button(ui::DBNavigator::Next);
    auto* last = navigator->button(ui::DBNavigator::Last);
    EXPECT_FALSE(first->isEnabled());
    EXPECT_FALSE(prior->isEnabled());
    EXPECT_TRUE(next->isEnabled());

    QList<ui::DBNavigator::Button> clicked;
    QObject context;
    QObject::connect(navigator, &ui::DBNavigator::clicked, &context,
                     [&](ui::DBNavigator::Button b) { clicked << b; });
    next->click();
    EXPECT_EQ(products.recNo(), 1);
    EXPECT_TRUE(prior->isEnabled());
    last->click();
    EXPECT_EQ(products.recNo(), 4);
    EXPECT_FALSE(next->isEnabled());
    EXPECT_FALSE(last->isEnabled());
    prior->click();
    EXPECT_EQ(products.recNo(), 3);
    EXPECT_EQ(clicked,
              (QList{ui::DBNavigator::Next, ui::DBNavigator::Last, ui::DBNavigator::Prior}));

    products.close();
    EXPECT_FALSE(next->isEnabled());
    EXPECT_FALSE(first->isEnabled());
}

} // namespace
