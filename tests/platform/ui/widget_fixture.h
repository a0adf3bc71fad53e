#pragma once
// What the controls' tests share: a window on screen to hold controls, an in-memory dataset of
// products with its data source, and the scripted dialogs recording every message and error.
#include "platform/data/data_source.h"
#include "tests/support/scripted_dialogs.h"
#include "tests/support/test_input.h"
#include <QDialog>
#include <QVBoxLayout>
#include <gtest/gtest.h>

namespace fixture {

inline data::FieldDef column(const char* name, data::FieldKind kind, int size = 0) {
    data::FieldDef def;
    def.name = name;
    def.kind = kind;
    def.size = size;
    return def;
}

class UiTest : public ::testing::Test {
protected:
    UiTest() {
        dialogs.setFailureHandler([](const QString& what) { ADD_FAILURE() << what.toStdString(); });
        window.setObjectName("TFTeste");
        new QVBoxLayout(&window);
    }

    // Products: CODIGO, DESCRICAO (text 10), PRECO (money), DATA (masked date), FOTO (blob).
    void makeProducts(int rows) {
        products.setObjectName("TBPRODUTOS");
        products.addField(column("CODIGO", data::FieldKind::Integer));
        products.addField(column("DESCRICAO", data::FieldKind::Text, 10)).def().displayLabel =
            "Descrição";
        products.addField(column("PRECO", data::FieldKind::Float)).def().currency = true;
        products.addField(column("DATA", data::FieldKind::Date)).def().editMask = "!99/99/0000;1;_";
        products.addField(column("FOTO", data::FieldKind::Blob));
        products.createDataSet();
        for (int i = 1; i <= rows; ++i) {
            products.insert();
            products.field("CODIGO").setValue(i);
            products.field("DESCRICAO").setAsString(QStringLiteral("ITEM %1").arg(i));
            products.field("PRECO").setValue(i * 1.5);
            products.post();
        }
        products.first();
    }

    // Adds a control to the window, which is shown and active from then on.
    template <typename T> T* add(T* control, const char* name) {
        control->setObjectName(name);
        window.layout()->addWidget(control);
        testing_support::activate(&window);
        return control;
    }

    testing_support::ScriptedDialogs dialogs;
    data::ClientDataSet products;
    data::DataSource source{&products};
    QDialog window;
};

} // namespace fixture

// Readable failures for Qt strings.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}
