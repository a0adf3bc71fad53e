// The banded engine on a small report of its own: how rows fall on pages, what a run's callbacks
// see when pages are taken out of order, the preview's movement, the PDF it writes and the offer
// of a PDF on a machine without a printer.
#include "platform/report/output.h"
#include "platform/report/page_painter.h"
#include "platform/report/preview_window.h"
#include "platform/report/progress.h"
#include "platform/report/run.h"
#include "tests/support/scripted_dialogs.h"
#include "tests/support/test_input.h"
#include <QLabel>
#include <QPrinterInfo>
#include <QProcess>
#include <QProgressDialog>
#include <QPushButton>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

// Readable failures: QString as its text.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

namespace {

class Numbers : public report::RowSource {
public:
    explicit Numbers(int count) : count_(count) {}
    int rowCount() const override { return count_; }
    void moveTo(int row) override { current = row; }
    int current = -1;

private:
    int count_;
};

// A report whose rows are numbers: title 20 mm, rows 10 mm, summary 15 mm, footer 5 mm, on a
// page of 100 mm with 5 mm margins: 90 mm of which 85 take bands, so page 1 holds 6 rows and
// the others 8. Rows alternate white and cream; the summary counts the rows it saw.
struct NumberReport {
    explicit NumberReport(int rows) : numbers(rows) {
        r.pageSize = QSizeF(100, 100);
        r.margins = QMarginsF(5, 5, 5, 5);
        r.setRows(&numbers);
        r.title.height = 20;
        r.title.addLabel("Titulo", "Números à venda", 0, 0, 90)->alignment = Qt::AlignHCenter;
        r.detail.height = 10;
        row = r.detail.addField(
            "Numero", [this] { return QString::number(numbers.current); }, 0, 0, 30);
        r.summary.height = 15;
        total = r.summary.addLabel("Total", {}, 0, 0);
        r.pageFooter.height = 5;
        r.pageFooter.addLabel("Versao", "Rodapé", 0, 0);
        r.beforePrint = [this] {
            white = true;
            seen = 0;
        };
        r.detail.beforePrint = [this] {
            r.detail.background = white ? QColor(255, 255, 255) : QColor(255, 251, 240);
            row->colour = numbers.current % 5 == 0 ? QColor(255, 0, 0) : QColor(Qt::black);
            white = !white;
            ++seen;
        };
        r.summary.beforePrint = [this] { total->setCaption(QString("Linhas: %1").arg(seen)); };
    }
    Numbers numbers;
    report::Report r;
    report::Item* row;
    report::Item* total;
    bool white = true;
    int seen = 0;
};

QStringList bandsOf(const report::Page& page) {
    QStringList kinds;
    for (const auto& band : page.bands)
        kinds << report::bandName(band.kind);
    return kinds;
}

// Long work shows its progress once, centred over the window it belongs to, not first at the
// screen's corner.
TEST(ReportProgress, AppearsCentredOverItsWindow) {
    QWidget window;
    window.setGeometry(200, 150, 800, 600);
    window.show();
    report::Progress progress(&window, QStringLiteral("Lendo..."), 10);
    EXPECT_TRUE(progress.step(1)) << "a moment's work shows nothing";
    EXPECT_EQ(window.findChild<QProgressDialog*>(), nullptr);
    QThread::msleep(450);
    EXPECT_TRUE(progress.step(2));
    auto* dialog = window.findChild<QProgressDialog*>(QStringLiteral("ReportProgress"));
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(dialog->isVisible());
    const QPoint offset = dialog->frameGeometry().center() - window.frameGeometry().center();
    EXPECT_LE(offset.manhattanLength(), 4) << offset.x() << "," << offset.y();
}

TEST(ReportRun, RowsFallOnPagesByTheBandHeights) {
    struct Case {
        int rows;
        QList<QStringList> pages;
    };
    const QString t = "title", d = "detail", s = "summary", f = "footer";
    const Case cases[] = {
        {0, {{t, s, f}}},
        {5, {{t, d, d, d, d, d, s, f}}},         // the summary fits exactly
        {6, {{t, d, d, d, d, d, d, f}, {s, f}}}, // 5 mm left: the summary moves on
        {13, {{t, d, d, d, d, d, d, f}, {d, d, d, d, d, d, d, s, f}}},
    };
    for (const Case& c : cases) {
        NumberReport n(c.rows);
        report::Run run(n.r);
        ASSERT_EQ(run.pageCount(), c.pages.size()) << c.rows << " rows";
        for (int p = 0; p < run.pageCount(); ++p)
            EXPECT_EQ(bandsOf(run.page(p)).join(' ').toStdString(),
                      c.pages[p].join(' ').toStdString())
                << c.rows << " rows, page " << p + 1;
    }
}

TEST(ReportRun, PagesTakenOutOfOrderDrawWhatARunInOrderDraws) {
    NumberReport n(29);
    report::Run inOrder(n.r);
    std::vector<QStringList> expected;
    for (int p = 0; p < inOrder.pageCount(); ++p)
        expected.push_back(report::describe(inOrder.page(p)));
    ASSERT_EQ(inOrder.pageCount(), 4);
    // The last page's total counts every row; a cream row stays cream whichever way we came.
    EXPECT_TRUE(expected[3].join('\n').contains("Linhas: 29"));
    report::Run jumping(n.r);
    for (int p : {3, 1, 2, 0, 3})
        EXPECT_EQ(report::describe(jumping.page(p)).join('\n').toStdString(),
                  expected[std::size_t(p)].join('\n').toStdString())
            << "page " << p + 1;
}

TEST(ReportRun, RecordsTextsColoursAndPlaces) {
    NumberReport n(6);
    report::Run run(n.r);
    const QStringList page1 = report::describe(run.page(0));
    EXPECT_EQ(page1[0], "page 1");
    EXPECT_EQ(page1[1], "title 5.0 | 5.0:\"Números à venda\"");
    EXPECT_EQ(page1[2], "detail 25.0 bg=#ffffff | 5.0:\"0\" fg=#ff0000");
    EXPECT_EQ(page1[3], "detail 35.0 bg=#fffbf0 | 5.0:\"1\"");
    EXPECT_EQ(page1.last(), "footer 90.0 | 5.0:\"Rodapé\"");
}

class ReportOutput : public ::testing::Test {
protected:
    void SetUp() override {
        dialogs.setFailureHandler([](const QString& what) { ADD_FAILURE() << what.toStdString(); });
        ASSERT_TRUE(dir.isValid());
    }
    static QString pdfText(const QString& path) {
        QProcess tool;
        tool.start("pdftotext", {"-layout", path, "-"});
        EXPECT_TRUE(tool.waitForFinished(30000)) << "pdftotext (poppler-utils) is needed";
        return QString::fromUtf8(tool.readAllStandardOutput());
    }
    testing_support::ScriptedDialogs dialogs;
    QTemporaryDir dir;
};

TEST_F(ReportOutput, PdfHoldsEveryPageInArialMetrics) {
    NumberReport n(13);
    const QString path = dir.filePath("numeros.pdf");
    ASSERT_TRUE(report::writePdf(n.r, path, nullptr));
    const QString text = pdfText(path);
    EXPECT_TRUE(text.contains("Números à venda"));
    EXPECT_TRUE(text.contains("Linhas: 13"));
    EXPECT_EQ(text.count("Rodapé"), 2);
    EXPECT_EQ(text.count('\f'), 2); // one form feed per page
    EXPECT_FALSE(QFile::exists(path + ".part"));
    QProcess fonts;
    fonts.start("pdffonts", {path});
    ASSERT_TRUE(fonts.waitForFinished(30000));
    EXPECT_TRUE(fonts.readAllStandardOutput().contains("LiberationSans"))
        << "the reports' Arial should come out in Liberation Sans (fonts-liberation)";
}

TEST_F(ReportOutput, AnUnwritableFileIsReportedAndLeavesNothing) {
    NumberReport n(3);
    const QString path = dir.filePath("sem/pasta/numeros.pdf");
    EXPECT_THROW(report::writePdf(n.r, path, nullptr), std::runtime_error);
    EXPECT_FALSE(QFile::exists(path));
}

TEST_F(ReportOutput, WithoutAPrinterDirectPrintOffersAPdf) {
    if (!QPrinterInfo::availablePrinters().isEmpty())
        GTEST_SKIP() << "this machine has a printer; the test would print";
    NumberReport n(3);
    dialogs.answer(true);
    const QString path = dir.filePath("impresso");
    dialogs.chooseFile(path);
    report::printDirect(n.r, nullptr);
    ASSERT_EQ(dialogs.questions().size(), 1u);
    EXPECT_EQ(dialogs.questions()[0].caption, "Atenção");
    EXPECT_TRUE(pdfText(path + ".pdf").contains("Linhas: 3"));

    dialogs.answer(false); // no: nothing else is asked or written
    report::printDirect(n.r, nullptr);
    EXPECT_TRUE(dialogs.nothingPending());
}

TEST_F(ReportOutput, PreviewMovesThroughPagesByKeysAndButtons) {
    NumberReport n(29);
    report::PreviewWindow preview(n.r);
    testing_support::activate(&preview);
    auto* label = testing_support::find<QLabel>(&preview, "lblPagina");
    EXPECT_EQ(label->text(), "Página 1 de 4");
    EXPECT_TRUE(preview.isMaximized() || preview.windowState() & Qt::WindowMaximized);
    testing_support::press(&preview, Qt::Key_PageDown);
    testing_support::press(&preview, Qt::Key_Right);
    EXPECT_EQ(label->text(), "Página 3 de 4");
    testing_support::press(&preview, Qt::Key_End);
    EXPECT_EQ(label->text(), "Página 4 de 4");
    EXPECT_TRUE(report::describe(preview.page(3)).join('\n').contains("Linhas: 29"));
    testing_support::press(&preview, Qt::Key_PageDown); // stays on the last
    EXPECT_EQ(preview.currentPage(), 3);
    testing_support::press(&preview, Qt::Key_Home);
    EXPECT_EQ(preview.currentPage(), 0);
    const double fit = preview.zoom();
    testing_support::press(&preview, Qt::Key_Plus, Qt::ControlModifier);
    EXPECT_GT(preview.zoom(), fit);
    testing_support::find<QPushButton>(&preview, "btnProxima")->click();
    EXPECT_EQ(label->text(), "Página 2 de 4");
    preview.grab(); // paints the page it shows
}

TEST_F(ReportOutput, PreviewSavesThePdfItShows) {
    NumberReport n(8);
    const QString path = dir.filePath("visto.pdf");
    dialogs.onModal("ReportPreview", [&](QDialog* window) {
        dialogs.chooseFile(path);
        testing_support::find<QPushButton>(window, "btnSalvarPdf")->click();
    });
    report::preview(n.r, nullptr);
    EXPECT_TRUE(pdfText(path).contains("Linhas: 8"));
}

} // namespace
