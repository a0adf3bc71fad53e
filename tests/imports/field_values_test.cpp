// How a sheet's headers find their fields and a cell becomes a field's value, per kind of field:
// synonyms and accents, text too long as the column counts it, numbers the Brazilian way and as
// numbers, codes, dates as serials and as text, state codes, person types, error and formula
// cells, empty cells.
#include "imports/cell_values.h"
#include "imports/header_names.h"
#include "tests/support/program_folder.h"

using imports::Register;
using spreadsheet::ReadCell;
using Kind = spreadsheet::ReadCell::Kind;

namespace {

class FieldValues : public testing_support::DataModuleTest {};

TEST_F(FieldValues, HeadersFindTheirFieldsWhateverTheirSpelling) {
    const struct {
        Register what;
        QStringList headers;
        QStringList columns;
    } cases[] = {
        {Register::Products,
         {"CÓDIGO", "Produto", "preco de venda", "Preço Custo", "EAN", "Qtde", "Un", "Categoria",
          "Anotações internas"},
         {"CODIGO", "DESCRICAO", "PRECO_VENDA", "PRECO_COMPRA", "CODIGOBARRAS", "ESTOQUEATUAL",
          "UNIDADE", "GRUPO", ""}},
        // What "Gerar em Excel" writes as headers: the columns' own names.
        {Register::Products,
         {"CODIGO", "DESCRICAO", "UNIDADE", "ESTOQUEATUAL", "ESTOQUE_MINIMO", "TOTAL"},
         {"CODIGO", "DESCRICAO", "UNIDADE", "ESTOQUEATUAL", "ESTOQUE_MINIMO", ""}},
        // The first column naming a field takes it.
        {Register::Products,
         {"Descrição", "Nome", "Venda", "Preço"},
         {"DESCRICAO", "", "PRECO_VENDA", ""}},
        {Register::Customers,
         {"Nome", "Contato E-mail", "Contato Celular", "Data de nascimento", "Estado", "Tipo"},
         {"NOME", "EMAIL", "CELULAR", "DATANASC", "UF", "TIPO_PESSOA"}},
        {Register::Suppliers,
         {"Fornecedor", "CNPJ", "Inscrição Estadual", "Município"},
         {"DESCRICAO", "CNPJ", "INSCRICAO_ESTADUAL", "CIDADE"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(imports::automaticMapping(imports::targetOf(c.what), c.headers), c.columns)
            << c.headers.join('|').toStdString();
}

TEST_F(FieldValues, EachKindOfFieldTakesWhatItCanHoldAndSaysWhyNot) {
    const imports::Target products = imports::targetOf(Register::Products);
    const imports::Target customers = imports::targetOf(Register::Customers);
    const ReadCell empty;
    auto text = [](const QString& t) { return ReadCell{Kind::Text, 0, t}; };
    auto number = [](double n) { return ReadCell{Kind::Number, n, {}}; };
    const QString fifty(50, QChar(u'Ç'));
    const struct {
        const imports::Target& target;
        const char* column;
        ReadCell cell;
        QVariant value;
        const char* problem;
    } cases[] = {
        {products, "DESCRICAO", text(" arroz  integral "), "ARROZ INTEGRAL", ""},
        {products, "DESCRICAO", text(fifty), fifty, ""},
        {products, "DESCRICAO", text(fifty + "A"), {}, "texto com 51 caracteres; cabem 50"},
        // An emoji is one character for the database, two for Qt.
        {products, "UNIDADE", text(QString(9, 'X') + QStringLiteral("📦")),
         QString(9, 'X') + QStringLiteral("📦"), ""},
        {products, "DESCRICAO", text("Torta\n(fatia)"), "TORTA (FATIA)", ""},
        {products, "OBS", text("Frágil\nsó em pé"), "Frágil\nsó em pé", ""},
        {products, "CODIGOBARRAS", number(7891234567895), "7891234567895", ""},
        {products, "PRECO_VENDA", text("R$ 1.234,56"), 1234.56, ""},
        {products, "PRECO_VENDA", text("12,5"), 12.5, ""},
        {products, "PRECO_VENDA", text("12.5"), 12.5, ""},
        {products, "ESTOQUEATUAL", text("1.250,5"), 1250.5, ""},
        {products, "PRECO_VENDA", number(18.5), 18.5, ""},
        {products, "PRECO_VENDA", text("abc"), {}, "\"abc\" não é um número"},
        {products,
         "PRECO_VENDA",
         number(1e10),
         {},
         "\"10000000000\" passa do maior número aceito (999.999.999)"},
        {products,
         "PRECO_VENDA",
         ReadCell{Kind::Date, 45651, {}},
         {},
         "\"25/12/2024\" não é um número"},
        {products, "CODIGO", text("12"), 12, ""},
        {products, "CODIGO", number(12), 12, ""},
        {products,
         "CODIGO",
         text("0"),
         {},
         "\"0\" não é um código: use um número inteiro de 1 a 2147483647"},
        {products,
         "CODIGO",
         number(1.5),
         {},
         "\"1,5\" não é um código: use um número inteiro de 1 a 2147483647"},
        {customers, "DATANASC", ReadCell{Kind::Date, 29295, {}}, QDate(1980, 3, 15), ""},
        {customers, "DATANASC", number(29000), QDate(1979, 5, 25), ""},
        {customers, "DATANASC", text("15/03/1975"), QDate(1975, 3, 15), ""},
        {customers, "DATANASC", text("1975-03-15"), QDate(1975, 3, 15), ""},
        {customers, "DATANASC", text("15/03/1975 00:00:00"), QDate(1975, 3, 15), ""},
        {customers, "DATANASC", text("31/02/1990"), {}, "\"31/02/1990\" não é uma data válida"},
        {customers, "UF", text(" sp "), "SP", ""},
        {customers, "UF", text("XY"), {}, "\"XY\" não é a sigla de um estado (nem XX)"},
        {customers, "TIPO_PESSOA", text("pj"), "JURÍDICA", ""},
        {customers, "TIPO_PESSOA", text("Pessoa Física"), "FÍSICA", ""},
        {customers,
         "TIPO_PESSOA",
         text("empresa"),
         {},
         "tipo de pessoa desconhecido: \"empresa\" (use FÍSICA ou JURÍDICA)"},
        {customers, "EMAIL", text("Maria@Exemplo.com"), "Maria@Exemplo.com", ""},
        {products,
         "PRECO_VENDA",
         ReadCell{Kind::Error, 0, "#DIV/0!"},
         {},
         "a célula traz um erro da planilha (#DIV/0!)"},
        {customers,
         "DATANASC",
         ReadCell{Kind::Formula, 0, "=TODAY()"},
         {},
         "a fórmula =TODAY() não tem o valor calculado no arquivo; abra-o e salve-o no programa de "
         "planilhas"},
        {products, "PRECO_VENDA", empty, {}, ""},
        {products, "DESCRICAO", text("   "), {}, ""},
    };
    for (const auto& c : cases) {
        const auto v = imports::convertCell(c.cell, c.target.field(QString::fromLatin1(c.column)));
        EXPECT_EQ(v.value, c.value) << c.column << " " << c.cell.displayText().toStdString();
        EXPECT_EQ(v.problem, QString::fromUtf8(c.problem)) << c.column;
    }
}

} // namespace
