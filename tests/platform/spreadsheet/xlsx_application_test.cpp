// The .xlsx spreadsheet: how typed texts become cells, a real file read back (cells written out
// of order, types, formats, widths, title, name), two workbooks as two files, a failure while
// writing that leaves nothing behind, and a file no program can open.
#include "platform/spreadsheet/cell_value.h"
#include "platform/spreadsheet/xlsx_application.h"
#include "tests/support/xlsx_reader.h"
#include <QDir>
#include <QTemporaryDir>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/resource.h>

using spreadsheet::CellValue;
using spreadsheet::XlsxApplication;
using testing_support::readXlsx;
using testing_support::XlsxCell;

namespace {

TEST(CellValue, TypedTextsBecomeWhatABrazilianSheetMakesOfThem) {
    using Kind = CellValue::Kind;
    const struct {
        const char* typed;
        Kind kind;
        double number;
    } cases[] = {
        {"", Kind::Empty, 0},
        {"1,5", Kind::Number, 1.5},
        {"-2", Kind::Number, -2},
        {",5", Kind::Number, 0.5},
        {"1.234.567,25", Kind::Number, 1234567.25},
        {"1E20", Kind::Number, 1e20},
        {"-2,5E-7", Kind::Number, -2.5e-7},
        {"0", Kind::Number, 0},
        {"25/12/2024", Kind::Date, 45651},
        {"1/3/1900", Kind::Date, 61},
        {"29/02/24", Kind::Date, 45351},
        {"14:30:36", Kind::Time, (14 * 3600 + 30 * 60 + 36) / 86400.0},
        {"08:00", Kind::ShortTime, 8 / 24.0},
        {"7891234567895", Kind::WholeCode, 7891234567895}, // a bar code shows every digit
        {"0042", Kind::Text, 0},                           // leading zeros kept
        {"12345678901234567", Kind::Text, 0},              // more digits than a number keeps
        {"12.5", Kind::Text, 0},                           // '.' is not the decimal point here
        {"1.23", Kind::Text, 0},
        {"1,2,3", Kind::Text, 0},
        {"31/02/2024", Kind::Text, 0},
        {"28/02/1900", Kind::Text, 0}, // before the day count is right
        {"25:00", Kind::Text, 0},
        {"NF-1001", Kind::Text, 0},
        {"-", Kind::Text, 0},
        {"INF", Kind::Text, 0},
        {" 5", Kind::Text, 0},
    };
    for (const auto& c : cases) {
        const CellValue v = spreadsheet::cellValue(QString::fromUtf8(c.typed));
        EXPECT_EQ(int(v.kind), int(c.kind)) << c.typed;
        if (c.kind == Kind::Text)
            EXPECT_EQ(v.text, c.typed);
        else
            EXPECT_DOUBLE_EQ(v.number, c.number) << c.typed;
    }
}

class XlsxFile : public ::testing::Test {
protected:
    std::unique_ptr<XlsxApplication> make(bool opens = true) {
        XlsxApplication::Options options;
        options.folder = dir.path();
        options.opener = [this, opens](const QString& path) {
            opened << path;
            return opens;
        };
        options.now = [] { return QDateTime(QDate(2024, 3, 15), QTime(14, 5, 9)); };
        return std::make_unique<XlsxApplication>(options);
    }
    QStringList filesInFolder() const {
        return QDir(dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::System);
    }
    QTemporaryDir dir;
    QStringList opened;
};

TEST_F(XlsxFile, CellsWrittenInAnyOrderAreReadBackInTheirPlaces) {
    auto app = make();
    app->workBooks().add(1);
    app->setCaption(QStringLiteral("Relatório de Movimentações"));
    app->setVisible(true);
    app->setCell(2, 1, "1");
    app->setCell(2, 2, "1,5");
    app->setCell(2, 3, "15/03/2024");
    app->setCell(2, 4, "14:30:00");
    app->setCell(2, 5, "CANETA ÓPTICA AZUL");
    app->setCell(3, 5, "rascunho");
    app->setCell(3, 2, ""); // an empty cell
    app->setCell(3, 1, "2");
    app->setCell(4, 1, "3");
    app->setCell(3, 5, "0042");    // the same cell again: the last value stays
    app->setCell(1, 5, "PRODUTO"); // the header row last
    app->setCell(1, 1, "CODIGO");
    EXPECT_TRUE(filesInFolder().filter(".xlsx").isEmpty()) << "nothing is written before the fit";
    app->columns().autoFit();

    const QString file = dir.filePath("Relatório de Movimentações 15-03-2024 14h05m09s.xlsx");
    EXPECT_EQ(opened, QStringList{file});
    EXPECT_EQ(app->files(), QStringList{file});
    EXPECT_EQ(filesInFolder(), QStringList{QFileInfo(file).fileName()}) << "no temporary left";

    const testing_support::XlsxContents x = readXlsx(file);
    EXPECT_EQ(x.title, "Relatório de Movimentações");
    auto text = [&](const QString& ref) {
        const XlsxCell& c = x.cells.value(ref);
        return c.type == "n" ? QString() : c.value;
    };
    auto format = [&](const QString& ref) {
        return x.numberFormats.value(x.cells.value(ref).style);
    };
    EXPECT_EQ(text("A1"), "CODIGO");
    EXPECT_EQ(text("E1"), "PRODUTO");
    EXPECT_EQ(x.cells.value("A2").type, "n");
    EXPECT_EQ(x.cells.value("A2").value, "1");
    EXPECT_EQ(x.cells.value("B2").value, "1.5");
    EXPECT_EQ(format("B2"), "General");
    EXPECT_EQ(x.cells.value("C2").value, "45366");
    EXPECT_EQ(format("C2"), "dd/mm/yyyy");
    EXPECT_EQ(x.cells.value("D2").value.toDouble(), 14.5 / 24);
    EXPECT_EQ(format("D2"), "hh:mm:ss");
    EXPECT_EQ(text("E2"), "CANETA ÓPTICA AZUL");
    EXPECT_EQ(text("E3"), "0042");
    EXPECT_FALSE(x.cells.contains("B3"));
    EXPECT_EQ(x.cells.value("A4").value, "3");
    EXPECT_EQ(x.cells.size(), 10);
    // Fitted: the description's column is wider than the codes', which keep room for "CODIGO".
    EXPECT_GT(x.widths.value("E"), 18);
    EXPECT_GE(x.widths.value("A"), 6);
    EXPECT_LT(x.widths.value("A"), x.widths.value("E"));
}

TEST_F(XlsxFile, TwoWorkbooksAreTwoFiles) {
    for (int i = 0; i < 2; ++i) {
        auto app = make();
        app->workBooks().add(1);
        app->setCaption("Relatório de Estoque");
        app->setVisible(true);
        app->setCell(1, 1, QString::number(i));
        app->columns().autoFit();
    }
    const QStringList expected = {
        dir.filePath("Relatório de Estoque 15-03-2024 14h05m09s.xlsx"),
        dir.filePath("Relatório de Estoque 15-03-2024 14h05m09s (2).xlsx")};
    ASSERT_EQ(opened, expected);
    EXPECT_EQ(readXlsx(expected[0]).cells.value("A1").value, "0");
    EXPECT_EQ(readXlsx(expected[1]).cells.value("A1").value, "1");
}

TEST_F(XlsxFile, NoProgramToOpenItSaysWhereTheFileIs) {
    auto app = make(false);
    app->workBooks().add(1);
    app->setCaption("Relatório de Estoque Simples");
    app->setVisible(true);
    app->setCell(1, 1, "CODIGO");
    try {
        app->columns().autoFit();
        FAIL() << "no error";
    } catch (const std::runtime_error& e) {
        const QString text = QString::fromUtf8(e.what());
        ASSERT_EQ(app->files().size(), 1);
        EXPECT_TRUE(text.contains(app->files()[0])) << e.what();
        EXPECT_TRUE(text.contains("nenhum programa de planilhas")) << e.what();
        EXPECT_EQ(readXlsx(app->files()[0]).cells.value("A1").value, "CODIGO");
    }
}

// A long sheet tells its writing as it goes; stopped there, it leaves no file and opens nothing.
TEST_F(XlsxFile, WritingToldAsItGoesAndStoppedLeavesNothing) {
    for (const bool stop : {false, true}) {
        auto app = make();
        app->workBooks().add(1);
        app->setVisible(true);
        for (int row = 1; row <= 5000; ++row)
            app->setCell(row, 1, QString::number(row));
        QList<int> told;
        app->setWriteProgress([&](int written, int rows) {
            EXPECT_EQ(rows, 5000);
            told << written;
            return !stop;
        });
        if (stop) {
            EXPECT_THROW(app->columns().autoFit(), spreadsheet::Cancelled);
            EXPECT_EQ(filesInFolder(), QStringList()) << "nothing kept";
            EXPECT_EQ(opened.size(), 1) << "nothing more opened";
        } else {
            app->columns().autoFit();
            EXPECT_EQ(opened.size(), 1);
        }
        EXPECT_EQ(told, stop ? QList<int>{2048} : (QList<int>{2048, 4096}));
        for (const QString& file : filesInFolder())
            QFile::remove(dir.filePath(file));
    }
}

// The desktop's opener may start and end at once when no program takes the file: the user is
// then told where the file is, as when there is no opener at all.
TEST(OpenWithDesktop, AnOpenerThatFailsAtOnceCountsAsNoProgram) {
    QTemporaryDir programs;
    auto script = [&](const char* name, const QByteArray& body) {
        QFile file(programs.filePath(QString::fromLatin1(name)));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("#!/bin/sh\n" + body + "\n");
        file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    };
    script("xdg-mime", "echo planilha.desktop");
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", QFile::encodeName(programs.path()));
    struct Case {
        QByteArray opener;
        bool opens;
    };
    for (const Case& c :
         {Case{"exit 3", false}, Case{"exit 0", true}, Case{"/bin/sleep 3", true}}) {
        script("xdg-open", c.opener);
        EXPECT_EQ(spreadsheet::openWithDesktop(programs.filePath("a.xlsx")), c.opens)
            << c.opener.constData();
    }
    qputenv("PATH", path);
}

TEST_F(XlsxFile, AFailureWhileWritingLeavesNoFile) {
    // The disk fills up: files may grow to 64 KB only.
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit old{};
    getrlimit(RLIMIT_FSIZE, &old);
    rlimit small = old;
    small.rlim_cur = 64 * 1024;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    auto app = make();
    QString message;
    try {
        app->workBooks().add(1);
        app->setCaption("Relatório de Estoque");
        app->setVisible(true);
        for (int row = 1; row <= 20000; ++row)
            app->setCell(row, 1, QStringLiteral("PRODUTO %1 DE TESTE").arg(row));
        app->columns().autoFit();
    } catch (const std::runtime_error& e) {
        message = QString::fromUtf8(e.what());
    }
    app.reset();
    setrlimit(RLIMIT_FSIZE, &old);
    EXPECT_TRUE(message.startsWith("Não foi possível gravar")) << message.toStdString();
    EXPECT_TRUE(opened.isEmpty());
    EXPECT_EQ(filesInFolder(), QStringList());
}

TEST_F(XlsxFile, ACellOutsideTheSheetIsRefused) {
    auto app = make();
    app->workBooks().add(1);
    EXPECT_THROW(app->setCell(XlsxApplication::kMaxRows + 1, 1, "x"), std::runtime_error);
    EXPECT_THROW(app->setCell(1, 0, "x"), std::runtime_error);
}

} // namespace
