#pragma once
// A register window shown on fresh databases, with scripted dialogs; tests check what the
// database holds through direct queries.
#include "core/globals.h"
#include "tests/support/scripted_dialogs.h"
#include "tests/support/test_input.h"
#include "registers/register_window.h"
#include "tests/support/program_folder.h"
#include <QPushButton>
#include <QTableView>
#include <memory>

class RegisterFixture : public testing_support::DataModuleTest {
protected:
    void SetUp() override {
        DataModuleTest::SetUp();
        dialogs.setFailureHandler([](const QString& what) { ADD_FAILURE() << what.toStdString(); });
        modo_selecao = false;
        selecionar_produto = false;
        produto_selecionado = 0;
    }
    void TearDown() override {
        window.reset();
        DataModuleTest::TearDown();
    }
    template <typename Window> Window* show() {
        auto* w = new Window();
        window.reset(w);
        testing_support::activate(w);
        return w;
    }
    void click(QPushButton* button) {
        ASSERT_TRUE(button->isEnabled()) << button->objectName().toStdString();
        button->click();
    }
    // A double-click on the grid's row, as a person makes it.
    static void doubleClickRow(QTableView* grid, int row) {
        const QModelIndex index = grid->model()->index(row, 0);
        grid->setCurrentIndex(index);
        QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, grid->visualRect(index).center());
    }
    int count(const QString& table) { return scalar("select count(*) from " + table).toInt(); }

    testing_support::ScriptedDialogs dialogs;
    std::unique_ptr<RegisterWindow> window;
};
