#include "tests/reports/report_fixture.h"
#include "core/data_module.h"
#include "core/globals.h"
#include "platform/data/sql_query.h"
#include "platform/report/output.h"
#include "platform/report/page.h"
#include "platform/report/run.h"
#include "tests/support/golden_file.h"
#include <QBuffer>
#include <QComboBox>
#include <QDir>
#include <QImage>
#include <QPainter>
#include <QRegularExpression>

namespace reports_test {

namespace {

QByteArray logoPng() {
    QImage image(120, 80, QImage::Format_RGB32);
    image.fill(QColor(20, 90, 160));
    QPainter painter(&image);
    painter.fillRect(20, 20, 80, 40, QColor(250, 200, 40));
    painter.end();
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

} // namespace

void ReportFixture::SetUp() {
    DataModuleTest::SetUp();
    dialogs.setFailureHandler([](const QString& what) { ADD_FAILURE() << what.toStdString(); });
    data::SqlQuery company(dm->SQLConnection1);
    company.sql() << "insert into TEMPRESA (CODIGO, RAZAO_SOCIAL, ENDERECO, CIDADE, UF, CNPJ, LOGO)"
                  << " values (1, 'Papelaria Central Ltda', 'Rua das Flores, 120', 'Curitiba',"
                  << " 'PR', '12.345.678/0001-90', :logo)";
    company.setBlob("logo", logoPng());
    company.exec();
    const char* statements[] = {
        "insert into TGRUPO values (1, 'PAPELARIA')",
        "insert into TGRUPO values (2, 'INFORMÁTICA')",
        "insert into TSUBGRUPO values (1, 'CANETAS', 1)",
        "insert into TSUBGRUPO values (2, 'CABOS', 2)",
        "insert into TFORNECEDOR (CODIGO, DESCRICAO) values (1, 'DISTRIBUIDORA NORTE')",
        "insert into TFORNECEDOR (CODIGO, DESCRICAO) values (2, 'ATACADO SUL')",
        "insert into TCLIENTE (CODIGO, NOME) values (1, 'MARIA SOUZA')",
        "insert into TCLIENTE (CODIGO, NOME) values (2, 'JOSÉ LIMA')",
        "insert into TCLIENTE (CODIGO, NOME) values (3, 'ANA PAULA')",
        "insert into CENTRO_CUSTO values (1, 'ESCRITÓRIO')",
        "insert into CENTRO_CUSTO values (2, 'OFICINA')",
        "insert into TPRODUTO (CODIGO, DESCRICAO, REFERENCIA, UNIDADE, GRUPO, SUBGRUPO, FORNECEDOR,"
        " PRECO_COMPRA, PRECO_VENDA, ESTOQUEATUAL, ESTOQUE_MINIMO, ESTOQUE_MAXIMO) values "
        "(1, 'CANETA AZUL', 'CA-01', 'UN', 1, 1, 1, 1.5, 3, 120, 10, 100)",
        "insert into TPRODUTO (CODIGO, DESCRICAO, REFERENCIA, UNIDADE, GRUPO, SUBGRUPO, FORNECEDOR,"
        " PRECO_COMPRA, PRECO_VENDA, ESTOQUEATUAL, ESTOQUE_MINIMO, ESTOQUE_MAXIMO) values "
        "(2, 'CADERNO 96 FOLHAS', 'CD-96', 'UN', 1, null, 2, 8.25, 15.9, 0, 5, 50)",
        "insert into TPRODUTO (CODIGO, DESCRICAO, REFERENCIA, UNIDADE, GRUPO, SUBGRUPO, FORNECEDOR,"
        " PRECO_COMPRA, PRECO_VENDA, ESTOQUEATUAL, ESTOQUE_MINIMO, ESTOQUE_MAXIMO) values "
        "(3, 'CABO USB', 'CB-USB', 'UN', 2, 2, 2, 12, 25, -2, 1, 20)",
        "insert into TPRODUTO (CODIGO, DESCRICAO, REFERENCIA, UNIDADE, GRUPO, SUBGRUPO, FORNECEDOR,"
        " PRECO_COMPRA, PRECO_VENDA, ESTOQUEATUAL, ESTOQUE_MINIMO, ESTOQUE_MAXIMO) values "
        "(4, 'PAPEL A4 RESMA', 'PA4', 'CX', 1, null, 1, 21.9, 32.5, 35.5, null, null)",
        "insert into TPRODUTO (CODIGO, DESCRICAO, REFERENCIA, UNIDADE, GRUPO, SUBGRUPO, FORNECEDOR,"
        " PRECO_COMPRA, PRECO_VENDA, ESTOQUEATUAL, ESTOQUE_MINIMO, ESTOQUE_MAXIMO) values "
        "(5, 'MOUSE ÓPTICO', null, 'UN', 2, null, null, 30, 59.9, 7, 2, 10)",
    };
    for (const char* sql : statements)
        exec(QString::fromUtf8(sql));
    const QString movement =
        "insert into TMOVIMENTACAO (CODIGO, TIPO, PRODUTO, FORNECEDOR, CLIENTE, CENTRO_CUSTO, "
        "QUANTIDADE, PRECO_UNITARIO, PRECO_TOTAL, DATA, HORARIO, NOTA_COMPRA) values ";
    const char* movements[] = {
        "(1, 'ENTRADA', 1, 1, null, null, 100, 1.5, 150, '2024-03-01', '08:00', 'NF-1001')",
        "(2, 'ENTRADA', 4, 2, null, 1, 50, 21.9, 1095, '2024-03-05', '09:30', 'NF-1002')",
        "(3, 'SAIDA', 1, null, 1, 1, 5, 3, 15, '2024-03-10', '10:15', null)",
        "(4, 'SAIDA', 3, null, 2, null, 2, 25, 50, '2024-03-15', '14:00', null)",
        "(5, 'SAIDA', 2, null, null, 2, 3, 15.9, 47.7, '2024-03-31', '17:45', null)",
        "(6, 'ENTRADA', 3, 2, null, null, 4, 12, 48, '2024-02-29', '11:00', 'NF-0999')",
        "(7, 'SAIDA', 5, null, 1, 1, 1, 59.9, 59.9, '2024-04-01', '08:00', null)",
        "(8, 'SAIDA', 99, null, 3, 1, 2, 10, 20, '2024-03-20', '12:00', null)",
    };
    for (const char* values : movements)
        exec(movement + QString::fromUtf8(values));
    DM->TBEMPRESA->open();
}

void ReportFixture::addAprilExits() {
    exec("execute block as declare i integer = 0; begin while (i < 45) do begin "
         "insert into TMOVIMENTACAO (CODIGO, TIPO, PRODUTO, CLIENTE, QUANTIDADE, PRECO_UNITARIO, "
         "PRECO_TOTAL, DATA, HORARIO) values (100 + :i, 'SAIDA', 1 + mod(:i, 5), 1 + mod(:i, 3), "
         "1 + mod(:i, 4), 2.5, 2.5 * (1 + mod(:i, 4)), dateadd(:i day to date '2024-04-02'), "
         "'09:00'); i = i + 1; end end");
}

void ReportFixture::TearDown() {
    DataModuleTest::TearDown();
}

QStringList ReportFixture::drawn(report::Report& report) {
    report::Run run(report);
    QStringList lines;
    for (int p = 0; p < run.pageCount(); ++p)
        lines << report::describe(run.page(p));
    return lines;
}

void ReportFixture::expectDrawn(report::Report& report, const QString& name) {
    testing_support::expectGolden(drawn(report), "reports/golden/" + name + ".txt");
    const QString folder = qEnvironmentVariable("QUIRU_REPORT_PDFS");
    if (!folder.isEmpty()) {
        QDir().mkpath(folder);
        report::writePdf(report, folder + '/' + name + ".pdf", nullptr);
    }
}

QStringList ReportFixture::crowded(report::Report& report) {
    constexpr double kGap = 0.6; // mm: a little less than a space of the reports' font
    static const QRegularExpression number(QStringLiteral("^-?(R\\$ ?)?-?[0-9.,]+$"));
    struct Ink {
        QString what;
        double left, right, top, bottom;
    };
    QStringList found;
    report::Run run(report);
    const double pageRight = report.printableRect().right();
    for (int p = 0; p < run.pageCount(); ++p) {
        for (const report::DrawnBand& band : run.page(p).bands) {
            std::vector<Ink> inks;
            for (const report::DrawnItem& item : band.items) {
                if (item.kind != report::ItemKind::Text || item.text.isEmpty())
                    continue;
                const QString what = QStringLiteral("%1 \"%2\" (%3)")
                                         .arg(item.name, item.text, report::bandName(band.kind));
                // A trailing space prints nothing: the text after a caption may follow it.
                QString inked = item.text;
                while (inked.endsWith(' '))
                    inked.chop(1);
                const double width = report::textWidth(inked, item.font);
                const QRectF& box = item.rect;
                if (box.width() > 0 && width > box.width() + 0.01 &&
                    number.match(item.text).hasMatch())
                    found << "cut: " + what;
                const double ink = box.width() > 0 ? std::min(width, box.width()) : width;
                double left = box.left();
                if (box.width() > 0 && (item.alignment & Qt::AlignRight))
                    left = box.right() - ink;
                else if (box.width() > 0 && (item.alignment & Qt::AlignHCenter))
                    left = box.left() + (box.width() - ink) / 2;
                if (left + ink > pageRight + 0.01)
                    found << "off the page: " + what;
                inks.push_back({what, left, left + ink, box.top(), box.bottom()});
            }
            for (std::size_t i = 0; i < inks.size(); ++i)
                for (std::size_t j = i + 1; j < inks.size(); ++j) {
                    const Ink& a = inks[i];
                    const Ink& b = inks[j];
                    const bool sameLine = a.top < b.bottom - 0.01 && b.top < a.bottom - 0.01;
                    if (sameLine && a.left < b.right + kGap && b.left < a.right + kGap)
                        found << "crowded: " + a.what + " | " + b.what;
                }
        }
    }
    found.removeDuplicates();
    return found;
}

void ReportFixture::typeName(QComboBox* list, const QString& name) {
    list->setEditText(name);
}

} // namespace reports_test
