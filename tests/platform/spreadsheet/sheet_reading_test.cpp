// Sheets other programs wrote, read back: CSVs in each separator and encoding, a workbook saved
// by LibreOffice Calc and one by openpyxl (formulas, errors, dates, merged headers), our own CSV,
// and files that are no sheet at all.
#include "platform/spreadsheet/csv_file.h"
#include "platform/spreadsheet/sheet_table.h"
#include "platform/spreadsheet/xlsx_file.h"
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using spreadsheet::CsvFormat;
using spreadsheet::ReadCell;
using spreadsheet::Sheet;
using spreadsheet::TextEncoding;
using Kind = spreadsheet::ReadCell::Kind;

namespace {

QString file(const char* name) {
    return QStringLiteral(QUIRU_TEST_DATA_DIR "/platform/spreadsheet/files/") +
           QString::fromLatin1(name);
}

QByteArray bytes(const char* name) {
    QFile f(file(name));
    EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << name;
    return f.readAll();
}

// Every cell of the table as it shows, a row per line, cells between '|'.
QString shown(const Sheet& sheet) {
    const auto table = spreadsheet::findTable(sheet);
    QString text = table.headers.join('|') + '\n';
    for (int r : table.rows) {
        QStringList cells;
        for (int c = 0; c < table.headers.size(); ++c)
            cells << sheet.cell(r, c).displayText();
        text += cells.join('|') + '\n';
    }
    return text;
}

TEST(CsvReading, EachSeparatorAndEncodingIsFoundAndReadToTheSameTable) {
    const QString expected = QStringLiteral("Código|Descrição|Preço de venda|Estoque|Unidade\n"
                                            "10|Pão Francês|R$ 0,75|1.250,5|kg\n"
                                            "11|Bolo \"Caseiro\" de Fubá|R$ 1.234,56|3|un\n"
                                            "12|Torta de maçã\n(fatia)|12,90||un\n");
    const struct {
        const char* name;
        CsvFormat format;
    } cases[] = {
        {"produtos_ponto_e_virgula.csv", {';', TextEncoding::Utf8}},
        {"produtos_virgula_bom.csv", {',', TextEncoding::Utf8}},
        {"produtos_tabulacao_1252.txt", {'\t', TextEncoding::Windows1252}},
    };
    for (const auto& c : cases) {
        const QByteArray data = bytes(c.name);
        EXPECT_EQ(spreadsheet::detectCsvFormat(data), c.format) << c.name;
        EXPECT_EQ(shown(spreadsheet::readCsv(data, c.format)), expected) << c.name;
    }
}

TEST(CsvReading, AWrongEncodingOrSeparatorChosenByTheUserReadsWhatItSays) {
    const QByteArray latin = bytes("fornecedores_1252.csv");
    const Sheet asUtf8 = spreadsheet::readCsv(latin, {';', TextEncoding::Utf8});
    EXPECT_TRUE(asUtf8.cell(1, 2).text.contains(QChar::ReplacementCharacter)); // "São Paulo"
    const Sheet asLatin = spreadsheet::readCsv(latin, {';', TextEncoding::Windows1252});
    EXPECT_EQ(asLatin.cell(1, 2).text, QStringLiteral("São Paulo"));
    const Sheet byComma = spreadsheet::readCsv(latin, {',', TextEncoding::Windows1252});
    EXPECT_EQ(byComma.columnCount(), 1);
}

TEST(CsvReading, WhatWeWriteReadsBackTheSame) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("recusados.csv"));
    const std::vector<QStringList> rows = {
        {QStringLiteral("Descrição"), QStringLiteral("Motivo")},
        {QStringLiteral("Bolo \"Caseiro\"; fatia"), QStringLiteral("linha 1\nlinha 2")},
        {QStringLiteral("Ação"), QString()},
    };
    spreadsheet::writeCsv(path, rows);
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray data = f.readAll();
    EXPECT_TRUE(data.startsWith("\xEF\xBB\xBF")) << "a spreadsheet program needs the mark";
    const CsvFormat format = spreadsheet::detectCsvFormat(data);
    EXPECT_EQ(format, (CsvFormat{';', TextEncoding::Utf8}));
    const Sheet sheet = spreadsheet::readCsv(data, format);
    ASSERT_EQ(sheet.rows.size(), rows.size());
    for (std::size_t r = 0; r < rows.size(); ++r)
        for (int c = 0; c < 2; ++c)
            EXPECT_EQ(sheet.cell(int(r), c).text, rows[r].value(c)) << r << ',' << c;
}

TEST(CsvReading, AnEmptyFileHasNoRowsAndABinaryOneIsRefused) {
    const Sheet empty = spreadsheet::readCsv({}, spreadsheet::detectCsvFormat({}));
    EXPECT_TRUE(empty.rows.empty());
    EXPECT_TRUE(spreadsheet::findTable(empty).headers.isEmpty());
    const QByteArray picture = bytes("imagem.csv");
    EXPECT_THROW(spreadsheet::readCsv(picture, spreadsheet::detectCsvFormat(picture)),
                 spreadsheet::FileError);
}

TEST(XlsxReading, AWorkbookSavedByLibreOfficeCalc) {
    const Sheet sheet = spreadsheet::readXlsx(file("produtos_calc.xlsx"));
    // The title merged across is no header; the header's merged cells reach into its second row.
    EXPECT_EQ(shown(sheet),
              QStringLiteral("Código|Descrição|Código de barras|Preço Custo|Preço Venda|Estoque|"
                             "Un|Grupo|Anotações internas\n"
                             "1|Arroz Agulhinha Tipo 1 5kg|7891234567895|18,5|24,05|10|un|"
                             "Alimentos|conferir\n"
                             "2|Feijão Carioca 1kg|0789100000017|6,2|8,99|0|pc|Alimentos|\n"
                             "3|Açúcar Cristal|||R$ 4,50|2,5|kg|Mercearia|\n"
                             "4|Detergente Líquido Neutro Limpol Frasco de 500ml Caixa||1|2|3|un|"
                             "Limpeza|\n"
                             "5|Sabão em pó||3|abc|1|un|Limpeza|\n"
                             "6|Refrigerante Cola 2L||#DIV/0!|7,99|12|un|Bebidas|\n"));
    EXPECT_EQ(sheet.cell(3, 2).kind, Kind::Number); // the bar code, as a number
    EXPECT_EQ(sheet.cell(4, 2).kind, Kind::Text);   // with its leading zero, as text
    EXPECT_EQ(sheet.cell(3, 4).kind, Kind::Number); // a formula's value
    EXPECT_DOUBLE_EQ(sheet.cell(3, 4).number, 24.05);
    EXPECT_EQ(sheet.cell(9, 3).kind, Kind::Error);
}

TEST(XlsxReading, AWorkbookWrittenByOpenpyxl) {
    const Sheet sheet = spreadsheet::readXlsx(file("clientes_openpyxl.xlsx"));
    const auto table = spreadsheet::findTable(sheet);
    EXPECT_EQ(table.headers.join('|'), QStringLiteral("Nome|CPF|Data de nascimento|UF|Cidade|"
                                                      "Contato E-mail|Contato Celular|Tipo"));
    EXPECT_EQ(table.rows, (std::vector<int>{2, 3, 4, 5, 6}));
    EXPECT_EQ(sheet.cell(2, 2).kind, Kind::Date);
    EXPECT_EQ(sheet.cell(2, 2).displayText(), QStringLiteral("15/03/1980"));
    EXPECT_EQ(sheet.cell(3, 2).kind, Kind::Text); // a date typed as text
    EXPECT_EQ(sheet.cell(5, 2).kind, Kind::Number);
    EXPECT_EQ(sheet.cell(6, 2).kind, Kind::Formula); // openpyxl works no formula out
    EXPECT_EQ(sheet.cell(6, 2).text, QStringLiteral("=TODAY()"));
    EXPECT_EQ(sheet.cell(2, 4).text, QStringLiteral("São Paulo"));
}

TEST(XlsxReading, FilesThatAreNoWorkbookAreRefusedInWords) {
    for (const char* name : {"nao_e_planilha.xlsx", "produtos_ponto_e_virgula.csv"}) {
        try {
            spreadsheet::readXlsx(file(name));
            ADD_FAILURE() << name << " was read";
        } catch (const spreadsheet::FileError& e) {
            EXPECT_TRUE(QString::fromStdString(e.what()).contains(
                QStringLiteral("não é uma planilha .xlsx válida")))
                << e.what();
        }
    }
    EXPECT_THROW(spreadsheet::readXlsx(file("nao_existe.xlsx")), spreadsheet::FileError);
}

TEST(SheetReading, ProgressMayStopEitherReader) {
    auto stop = [](std::int64_t, std::int64_t) { return false; };
    EXPECT_THROW(spreadsheet::readXlsx(file("produtos_calc.xlsx"), stop),
                 spreadsheet::ReadCancelled);
    EXPECT_THROW(spreadsheet::readCsv(bytes("produtos_ponto_e_virgula.csv"), {}, stop),
                 spreadsheet::ReadCancelled);
}

TEST(SheetReading, ARangeMergedOverTheWholeSheetFillsOnlyWhatIsUsed) {
    Sheet sheet;
    sheet.rows.resize(2);
    sheet.rows[0] = {ReadCell{Kind::Text, 0, QStringLiteral("A")}, ReadCell{}};
    sheet.rows[1] = {ReadCell{}, ReadCell{Kind::Number, 2, {}}};
    sheet.merges.push_back({0, 0, 1048575, 16383});
    spreadsheet::fillMerges(sheet);
    ASSERT_EQ(sheet.rows.size(), 2u);
    EXPECT_EQ(sheet.columnCount(), 2);
    EXPECT_EQ(sheet.cell(1, 1).text, QStringLiteral("A"));
}

} // namespace
