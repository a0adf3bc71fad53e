// What a user may type wrong, across the windows, as one table: texts at and over their column's
// length with accents, quotes, wildcards and four-byte characters, integers at the edge of their
// range, numbers that are no numbers or too large to come back exactly, dates and times that do
// not exist, and empty required values. Each is refused with a Portuguese message and nothing
// wrong is stored, or is stored exactly as the window shows it.
#include "platform/ui/db_edit.h"
#include "registers/customers_window.h"
#include "registers/products_window.h"
#include "stock/entry_window.h"
#include "tests/registers/register_fixture.h"
#include <functional>

namespace {

const QString kEmoji = QString::fromUtf8("\xF0\x9F\x93\xA6"); // one character, two UTF-16 units

// Fifty characters with accents, quotes and wildcards: exactly what the columns hold.
QString fifty() {
    return QStringLiteral("AÇÃO 'DUPLA' \"X\" 100% A_B ÉÊÍÓÚ ").leftJustified(50, QChar(u'Ü'));
}

struct Typed {
    const char* name;
    std::function<RegisterWindow*()> make;
    const char* table;
    const char* control;
    const char* column;
    QString typed;
    QString refusal; // the start of what the user is told; empty: taken
    QVariant stored; // read back after Salvar; a null QVariant: the column stays empty
};

void PrintTo(const Typed& t, std::ostream* os) {
    *os << t.name;
}

template <typename W> std::function<RegisterWindow*()> maker() {
    return [] { return new W(); };
}
const auto product = maker<TFProdutos>();
const auto customer = maker<TFCliente>();
const auto entry = maker<TFEntrada>();

const QString kNotANumber = QStringLiteral("não é um número válido para o campo ");
const QString kNotADate = QStringLiteral("não é uma data válida para o campo ");

const Typed kTyped[] = {
    // Texts: what fits is stored exactly; more is cut where the column ends, as typed.
    {"TextAtItsLength", product, "TPRODUTO", "DBEdit3", "DESCRICAO", fifty(), {}, fifty()},
    {"TextOverItsLength",
     product,
     "TPRODUTO",
     "DBEdit3",
     "DESCRICAO",
     fifty() + "XYZ",
     {},
     fifty()},
    {"FourByteCharactersCountOnce",
     product,
     "TPRODUTO",
     "DBEdit3",
     "DESCRICAO",
     kEmoji.repeated(52),
     {},
     kEmoji.repeated(50)},
    {"WildcardsAndQuotesInAName",
     customer,
     "TCLIENTE",
     "DBEdit2",
     "NOME",
     QStringLiteral("O'BRIEN 50%_OFF"),
     {},
     QStringLiteral("O'BRIEN 50%_OFF")},
    // Numbers.
    {"NotANumber",
     product,
     "TPRODUTO",
     "DBEdit6",
     "ESTOQUE_MINIMO",
     "doze",
     "'DOZE' " + kNotANumber + "ESTOQUE MÍNIMO.",
     {}},
    {"NaN",
     product,
     "TPRODUTO",
     "DBEdit8",
     "PRECO_COMPRA",
     "NaN",
     "'NAN' " + kNotANumber + "PREÇO DE COMPRA.",
     {}},
    {"Infinite",
     product,
     "TPRODUTO",
     "DBEdit9",
     "PRECO_VENDA",
     "1e308",
     "O valor 1E308 está fora do intervalo permitido para o campo PREÇO DE VENDA",
     {}},
    {"HugeQuantity",
     entry,
     "TMOVIMENTACAO",
     "DBEdit5",
     "QUANTIDADE",
     "99999999999999999",
     "O valor 99999999999999999 está fora do intervalo permitido para o campo QUANTIDADE",
     {}},
    {"LargestStockReached",
     entry,
     "TMOVIMENTACAO",
     "DBEdit5",
     "QUANTIDADE",
     "999999989",
     {},
     999999989.0},
    {"IntegerAtTheTop", product, "TPRODUTO", "DBEdit13", "GRUPO", "2147483647", {}, 2147483647},
    {"IntegerBeyondTheTop",
     product,
     "TPRODUTO",
     "DBEdit13",
     "GRUPO",
     "2147483648",
     "O valor 2147483648 está fora do intervalo permitido para o campo GRUPO",
     {}},
    {"IntegerBelowTheBottom",
     product,
     "TPRODUTO",
     "DBEdit13",
     "GRUPO",
     "-2147483649",
     "O valor -2147483649 está fora do intervalo permitido para o campo GRUPO",
     {}},
    // Dates and times.
    {"ThirtyFirstOfFebruary",
     customer,
     "TCLIENTE",
     "DBEdit13",
     "DATANASC",
     "31/02/1990",
     "'31/02/1990' " + kNotADate + "DATA NASCIMENTO.",
     {}},
    {"LeapDayOfACommonYear",
     customer,
     "TCLIENTE",
     "DBEdit13",
     "DATANASC",
     "29/02/2023",
     "'29/02/2023' " + kNotADate,
     {}},
    {"LeapDayOfALeapYear",
     customer,
     "TCLIENTE",
     "DBEdit13",
     "DATANASC",
     "29/02/2024",
     {},
     QDate(2024, 2, 29)},
    {"ZeroDate", entry, "TMOVIMENTACAO", "DBEdit4", "DATA", "00/00/0000", "'00/00/0000' ", {}},
    {"NoSuchTime", entry, "TMOVIMENTACAO", "DBEdit9", "HORARIO", "2561", "'25:61' ", {}},
    // Required values left empty.
    {"NoProduct",
     entry,
     "TMOVIMENTACAO",
     "DBEdit2",
     "PRODUTO",
     "",
     "Produto não localizado! Por Favor informe um produto!",
     {}},
    {"NoQuantity",
     entry,
     "TMOVIMENTACAO",
     "DBEdit5",
     "QUANTIDADE",
     "",
     "Informe uma quantidade diferente de zero!",
     {}},
};

class BadInput : public RegisterFixture, public testing::WithParamInterface<Typed> {
protected:
    void SetUp() override {
        RegisterFixture::SetUp();
        exec("insert into TPRODUTO (CODIGO, DESCRICAO, ESTOQUEINICIAL, ESTOQUEATUAL, "
             "ESTOQUE_MAXIMO) values (1, 'P1', 10, 10, 2000000000)");
    }
    void typeInto(const char* name, const QString& text) {
        testing_support::retype(testing_support::find<ui::DBEdit>(window.get(), name), text);
    }
};

TEST_P(BadInput, IsRefusedInPortugueseOrStoredExactly) {
    const Typed& t = GetParam();
    window.reset(t.make());
    testing_support::activate(window.get());
    click(window->btnNovo);
    const int code = window->dataSet()->field("CODIGO").asInteger();
    if (QLatin1String(t.table) == QLatin1String("TMOVIMENTACAO")) { // what a movement needs
        typeInto("DBEdit2", "1");
        typeInto("DBEdit5", "1");
    }
    typeInto(t.control, t.typed);
    window->btnSalvar->click();

    QStringList told = dialogs.messages();
    for (const auto& e : dialogs.errors())
        told << e.text;
    if (t.refusal.isEmpty()) {
        EXPECT_TRUE(told.isEmpty()) << told.join(" / ").toStdString();
    } else {
        ASSERT_EQ(told.size(), 1) << told.join(" / ").toStdString();
        EXPECT_TRUE(told[0].startsWith(t.refusal)) << told[0].toStdString();
        EXPECT_TRUE(window->btnSalvar->isEnabled()) << "the window stays editing";
    }
    const QVariant stored = scalar(
        QStringLiteral("select %1 from %2 where CODIGO = %3").arg(t.column, t.table).arg(code));
    if (t.stored.isNull())
        EXPECT_TRUE(stored.isNull()) << stored.toString().toStdString();
    else
        EXPECT_EQ(stored, t.stored) << stored.toString().toStdString();
    EXPECT_EQ(scalar("select ESTOQUEINICIAL + coalesce((select sum(QUANTIDADE) from "
                     "TMOVIMENTACAO), 0) - ESTOQUEATUAL from TPRODUTO where CODIGO = 1")
                  .toDouble(),
              0)
        << "the stock no longer follows the movements";
}

INSTANTIATE_TEST_SUITE_P(Typed, BadInput, testing::ValuesIn(kTyped),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
