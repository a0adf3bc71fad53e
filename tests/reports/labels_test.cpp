// Bar-code labels: the products a filter lists with their counts, the sheet's margins kept, the
// shop's own codes for products without one, and symbols that a third-party reader (zbarimg over
// the PDF's pages drawn by pdftoppm) reads back as the stored codes, on every label of a sheet.
#include "core/bar_code.h"
#include "platform/report/output.h"
#include "platform/report/run.h"
#include "reports/label_list.h"
#include "reports/labels_layout.h"
#include "reports/labels_window.h"
#include "tests/support/program_folder.h"
#include "tests/support/scripted_dialogs.h"
#include "tests/support/test_input.h"
#include <QComboBox>
#include <QDir>
#include <QDoubleSpinBox>
#include <QImage>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>

namespace {

class Labels : public testing_support::DataModuleTest {
protected:
    void SetUp() override {
        DataModuleTest::SetUp();
        dialogs.setFailureHandler([](const QString& what) { ADD_FAILURE() << what.toStdString(); });
    }
    void TearDown() override {
        window.reset();
        DataModuleTest::TearDown();
    }
    void product(int code, const QString& barCode, double stock, int group = 1) {
        exec(QStringLiteral("insert into TPRODUTO (CODIGO, DESCRICAO, CODIGOBARRAS, "
                            "ESTOQUEATUAL, PRECO_VENDA, GRUPO) values (%1, 'PRODUTO %1', %2, %3, "
                            "12.5, %4)")
                 .arg(code)
                 .arg(barCode.isEmpty() ? QStringLiteral("null") : "'" + barCode + "'")
                 .arg(stock)
                 .arg(group));
    }
    TFEtiquetas* open() {
        window = std::make_unique<TFEtiquetas>();
        testing_support::activate(window.get());
        return window.get();
    }
    void chooseSheet(const QString& model) {
        for (int i = 0; i < window->CBModelo->count(); ++i)
            if (labelSheets()[std::size_t(i)].model == model)
                window->CBModelo->setCurrentIndex(i);
    }
    // What zbarimg reads on each label of the sheet's PDF page, label by label (it reports a code
    // once per picture, so each label is cut out of the page first); "" where it reads nothing.
    QStringList decoded(report::Report& labels, const LabelSheet& sheet) {
        QTemporaryDir dir;
        const QString pdf = dir.filePath("etiquetas.pdf");
        report::writePdf(labels, pdf, nullptr);
        constexpr double dpi = 300;
        QProcess::execute("pdftoppm", {"-r", QString::number(dpi), "-png", "-singlefile", pdf,
                                       dir.filePath("pagina")});
        const QImage page(dir.filePath("pagina.png"));
        const auto px = [&](double mm) { return int(mm * dpi / 25.4); };
        QStringList codes;
        for (int r = 0; r < sheet.rows; ++r) {
            for (int c = 0; c < sheet.columns; ++c) {
                const QRect cell(px(sheet.left + c * (sheet.label.width() + sheet.across)),
                                 px(sheet.top + r * (sheet.label.height() + sheet.down)),
                                 px(sheet.label.width()), px(sheet.label.height()));
                const QString one =
                    dir.filePath(QStringLiteral("etiqueta%1.png").arg(codes.size()));
                page.copy(cell).save(one);
                QProcess zbar;
                zbar.start("zbarimg", {"--quiet", "--raw", one});
                zbar.waitForFinished(60000);
                codes << QString::fromUtf8(zbar.readAllStandardOutput()).trimmed();
            }
        }
        return codes;
    }

    testing_support::ScriptedDialogs dialogs;
    std::unique_ptr<TFEtiquetas> window;
};

// The symbols read back as the stored codes, EAN-13 and Code 128, on every label of full sheets.
TEST_F(Labels, EverySymbolOfASheetReadsBackAsTheStoredCode) {
    struct SheetCase {
        const char* model;
        std::vector<std::pair<QString, int>> codes; // bar code, labels
        report::Symbology symbology;
    };
    const SheetCase cases[] = {
        {"3X10",
         {{"7891234567895", 12}, {"7890000000017", 10}, {"2000000000039", 8}},
         report::Symbology::Ean13},
        {"4X16",
         {{"ABC-123", 30}, {"7891234", 20}, {"7891234567890", 14}},
         report::Symbology::Code128},
    };
    int code = 1;
    for (const SheetCase& c : cases)
        for (const auto& [barCode, count] : c.codes)
            product(code++, barCode, count);
    for (const SheetCase& c : cases) {
        SCOPED_TRACE(c.model);
        std::vector<Label> labels;
        QStringList expected;
        for (const auto& [barCode, count] : c.codes) {
            EXPECT_EQ(symbologyFor(barCode), c.symbology) << barCode.toStdString();
            for (int i = 0; i < count; ++i) {
                labels.push_back({"PRODUTO", "R$ 12,50", barCode});
                expected << barCode;
            }
        }
        const LabelSheet sheet =
            *std::find_if(labelSheets().begin(), labelSheets().end(),
                          [&](const LabelSheet& s) { return s.model == c.model; });
        ASSERT_EQ(int(labels.size()), sheet.perSheet());
        TFRelatorioEtiquetas layout(sheet, labels);
        EXPECT_EQ(report::Run(layout.QuickRep1).pageCount(), 1);
        EXPECT_EQ(decoded(layout.QuickRep1, sheet), expected);
    }
}

// The list follows the filters, counts the stock rounded up (or one), and the sheet's margins
// and gaps are remembered for the next time; a sheet that cannot hold its labels is refused.
TEST_F(Labels, ListsCountsAndRemembersTheSheet) {
    exec("insert into TGRUPO (CODIGO, DESCRICAO) values (1, 'BEBIDAS')");
    exec("insert into TGRUPO (CODIGO, DESCRICAO) values (2, 'LIMPEZA')");
    product(1, "7891234567895", 2.3);
    product(2, "7890000000017", -4);
    product(3, "7890000000017", 7, 2);
    TFEtiquetas* w = open();
    EXPECT_EQ(w->etiquetas->rowCount(), 3);
    w->CBGrupo->setCurrentIndex(w->CBGrupo->findText("BEBIDAS"));
    w->btnListar->click();
    ASSERT_EQ(w->etiquetas->rowCount(), 2);
    EXPECT_EQ(w->etiquetas->products()[0].labels, 3); // 2.3 in stock
    EXPECT_EQ(w->etiquetas->products()[1].labels, 1); // none in stock
    EXPECT_TRUE(
        w->etiquetas->setData(w->etiquetas->index(1, LabelListModel::Etiquetas), 5, Qt::EditRole));
    EXPECT_FALSE(
        w->etiquetas->setData(w->etiquetas->index(1, LabelListModel::Etiquetas), -1, Qt::EditRole));
    EXPECT_EQ(w->etiquetas->totalLabels(), 8);

    chooseSheet("4X16");
    w->edtMargemSuperior->setValue(40);
    EXPECT_FALSE(w->montar_relatorio()); // 16 rows no longer fit below 40 mm of margin
    EXPECT_EQ(dialogs.messages().size(), 1u);
    w->edtMargemSuperior->setValue(10.5);
    w->edtEspacoVertical->setValue(0.2);
    const auto built = w->montar_relatorio();
    ASSERT_TRUE(built);
    EXPECT_EQ(report::Run(built->QuickRep1).pageCount(), 1);
    window.reset();

    w = open();
    EXPECT_EQ(labelSheets()[std::size_t(w->CBModelo->currentIndex())].model, "4X16");
    EXPECT_EQ(w->edtMargemSuperior->value(), 10.5);
    EXPECT_EQ(w->edtEspacoVertical->value(), 0.2);
}

// Products without a bar code may get the shop's own EAN-13 codes, unique and checking, stored
// before the labels print them.
TEST_F(Labels, ProductsWithoutACodeGetTheShopsOwnCodes) {
    product(1, "", 1);
    product(2, "2000000000022", 1); // what product 2 would get is taken already
    product(3, "", 2);
    product(4, "", 0);
    exec("update TPRODUTO set CODIGOBARRAS = '' where CODIGO = 4");
    TFEtiquetas* w = open();
    dialogs.answer(true);
    const auto built = w->montar_relatorio();
    ASSERT_TRUE(built);
    ASSERT_EQ(dialogs.questions().size(), 1u);
    EXPECT_TRUE(dialogs.questions().front().text.startsWith("3 produto(s)"));
    QStringList stored;
    for (int code : {1, 3, 4})
        stored << scalar(QStringLiteral("select CODIGOBARRAS from TPRODUTO where CODIGO = %1")
                             .arg(code))
                      .toString();
    EXPECT_EQ(stored, (QStringList{"2000000000015", "2000000000039", "2000000000046"}));
    for (const QString& code : stored)
        EXPECT_TRUE(barcode::isValidEan13(code)) << code.toStdString();
    const QStringList page = report::describe(report::Run(built->QuickRep1).page(0));
    EXPECT_TRUE(page.join('\n').contains("barcode(EAN13 \"2000000000015\""));
}

TEST(InternalCodes, AreUniqueWithTheirCheckDigit) {
    EXPECT_EQ(barcode::internalEan13(1), "2000000000015");
    EXPECT_EQ(barcode::internalCodes({1, 2, 3}, {"2000000000022", "2000000000091"}),
              (std::vector<QString>{"2000000000015", "2000000000107", "2000000000039"}));
}

} // namespace
