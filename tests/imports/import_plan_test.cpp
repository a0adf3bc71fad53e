// What an import does with each row, planned and then stored, on real databases: sheets other
// programs saved, how rows find the stored ones, what refuses a row, the groups and suppliers
// created, a changed stock booked as an adjustment, and all or nothing when storing stops.
#include "imports/mapping_memory.h"
#include "imports/refused_rows.h"
#include "platform/data/errors.h"
#include "tests/imports/import_fixture.h"

using imports::Register;
using imports::RowStatus;

namespace {

class ImportPlan : public ImportFixture {
protected:
    void product(int code, const QString& description, const QString& barCode, double stock) {
        exec(
            QStringLiteral("insert into TPRODUTO (CODIGO, DESCRICAO, CODIGOBARRAS, ESTOQUEINICIAL, "
                           "ESTOQUEATUAL, PRECO_COMPRA, PRECO_VENDA) values (%1, '%2', %3, %4, "
                           "%4, 2, 3)")
                .arg(code)
                .arg(description, barCode.isEmpty() ? QStringLiteral("null") : "'" + barCode + "'")
                .arg(stock));
    }
    // Every product's stock is its initial stock plus its entries minus its exits.
    void expectStockRule() {
        EXPECT_EQ(rows("select CODIGO from TPRODUTO where ESTOQUEATUAL <> ESTOQUEINICIAL + "
                       "coalesce((select sum(iif(m.TIPO = 'ENTRADA', m.QUANTIDADE, -m.QUANTIDADE)) "
                       "from TMOVIMENTACAO m where m.PRODUTO = TPRODUTO.CODIGO), 0)"),
                  "");
    }
};

TEST_F(ImportPlan, AWorkbookSavedByLibreOfficeCalcIsPreviewedStoredAndThenUnchanged) {
    product(9, "AÇÚCAR CRISTAL", "", 1);
    const auto plan = this->plan(sheetFile("produtos_calc.xlsx"), Register::Products);
    EXPECT_EQ(outcome(plan),
              "4 Novo 1\n"
              "5 Novo 2\n"
              // Found by its description, under the stored code: the sheet's 3 is not its code.
              "6 Recusado 0: o código 3 não é o do registro encontrado pela chave Descrição "
              "(código 9)\n"
              "7 Recusado 0: Descrição: texto com 54 caracteres; cabem 50\n"
              "8 Recusado 0: Preço de venda: \"abc\" não é um número\n"
              "10 Recusado 0: Preço de compra: a célula traz um erro da planilha (#DIV/0!)\n");
    // Only the rows to be stored create their group; the merged cell names it for both.
    EXPECT_EQ(plan.toCreateText.join('|').toStdString(), "Grupo ALIMENTOS");
    ASSERT_TRUE(imports::storePlan(*dm->SQLConnection1, plan));
    EXPECT_EQ(rows("select p.CODIGO, CODIGOBARRAS, p.DESCRICAO, PRECO_COMPRA, PRECO_VENDA, "
                   "ESTOQUEINICIAL, ESTOQUEATUAL, UNIDADE, g.DESCRICAO from TPRODUTO p left join "
                   "TGRUPO g on g.CODIGO = p.GRUPO order by p.CODIGO"),
              "1|7891234567895|ARROZ AGULHINHA TIPO 1 5KG|18.5|24.05|10|10|UN|ALIMENTOS\n"
              "2|0789100000017|FEIJÃO CARIOCA 1KG|6.2|8.99|0|0|PC|ALIMENTOS\n"
              "9||AÇÚCAR CRISTAL|2|3|1|1||\n");
    EXPECT_EQ(scalar("select count(*) from TMOVIMENTACAO").toInt(), 0)
        << "a new stock is no movement";

    const auto again = this->plan(sheetFile("produtos_calc.xlsx"), Register::Products);
    EXPECT_EQ(again.count(RowStatus::Unchanged), 2);
    EXPECT_EQ(again.count(RowStatus::New), 0);
    EXPECT_TRUE(again.toCreateText.isEmpty());
}

TEST_F(ImportPlan, RowsFindStoredOnesByTheChosenKeysAndRefuseWhatWouldBreakThem) {
    product(1, "ARROZ", "111", 5);
    product(2, "FEIJÃO", "222", 5);
    product(3, "MILHO", "", 5);
    product(4, "MILHO", "", 5);
    const QString path = csv("Código;Código de barras;Descrição;Venda\n"
                             "1;111;Arroz;3\n"       // by code, unchanged
                             ";222;Feijão preto;4\n" // by bar code
                             ";;feijão preto;5\n"    // what line 3 names it: a second one?
                             ";;Milho;1\n"           // two stored ones: which?
                             "7;;Trigo;1\n"          // new, with its own code
                             ";;Aveia;1\n"           // new: the next code after all stored or new
                             ";111;Centeio;1\n"      // the bar code of product 1, another row's
                             "8;333;Cevada;1\n"
                             "9;333;Soja;1\n" // a bar code repeated in the sheet
                             "10;;;1\n"       // new without a description
                             "1;;Arroz;3\n"); // product 1 again
    const auto plan = this->plan(path, Register::Products);
    EXPECT_EQ(outcome(plan),
              "2 Sem alteração 1\n"
              "3 Alterado 2\n"
              "4 Recusado 0: Descrição igual à da linha 3\n"
              "5 Recusado 0: Descrição igual à de 2 registros cadastrados (códigos 3, 4); escolha "
              "outra chave\n"
              "6 Novo 7\n"
              "7 Novo 9\n"
              "8 Recusado 0: é o mesmo registro da linha 2\n"
              "9 Novo 8\n"
              "10 Recusado 0: Código de barras 333 repetido da linha 9\n"
              "11 Recusado 0: Descrição vazia; um registro novo precisa dela\n"
              "12 Recusado 0: é o mesmo registro da linha 2\n");
}

TEST_F(ImportPlan, KeysTheUserLeavesOutFindNothingAndTheirValuesMayNotRepeatStoredOnes) {
    product(1, "ARROZ", "111", 5);
    const QString path = csv("Código;Código de barras;Descrição\n"
                             ";111;Arroz integral\n"
                             "1;;Feijão\n"
                             ";111;Arroz\n");
    const auto byDescription = this->plan(path, Register::Products, {QStringLiteral("DESCRICAO")});
    EXPECT_EQ(outcome(byDescription),
              "2 Recusado 0: Código de barras 111 já cadastrado no registro de código 1\n"
              "3 Recusado 0: Código 1 já cadastrado no registro de código 1\n"
              "4 Sem alteração 1\n");
}

TEST_F(ImportPlan, AChangedStockIsBookedAsAnAdjustmentAndTheStockRuleHolds) {
    product(1, "ARROZ", "", 50);
    product(2, "FEIJÃO", "", 50);
    product(3, "MILHO", "", 50);
    exec("insert into TMOVIMENTACAO (CODIGO, PRODUTO, QUANTIDADE, TIPO) values (4, 1, 5, "
         "'ENTRADA')");
    exec("update TPRODUTO set ESTOQUEATUAL = 55 where CODIGO = 1");
    const auto plan = this->plan(csv("Código;Estoque;Preço de venda\n"
                                     "1;52,5;3\n" // down: an exit of 2,5
                                     "2;60;3,5\n" // up: an entry of 10, and a new price
                                     "3;50;3\n"), // as it is
                                 Register::Products);
    EXPECT_EQ(outcome(plan), "2 Alterado 1\n3 Alterado 2\n4 Sem alteração 3\n");
    ASSERT_TRUE(imports::storePlan(*dm->SQLConnection1, plan));
    EXPECT_EQ(rows("select CODIGO, ESTOQUEINICIAL, ESTOQUEATUAL, PRECO_VENDA from TPRODUTO "
                   "order by CODIGO"),
              "1|50|52.5|3\n2|50|60|3.5\n3|50|50|3\n");
    EXPECT_EQ(rows("select CODIGO, PRODUTO, TIPO, QUANTIDADE, PRECO_UNITARIO, PRECO_TOTAL, "
                   "NOTA_COMPRA from TMOVIMENTACAO where CODIGO > 4 order by CODIGO"),
              "5|1|SAIDA|2.5|3|7.5|AJUSTE POR IMPORTAÇÃO\n"
              "6|2|ENTRADA|10|2|20|AJUSTE POR IMPORTAÇÃO\n");
    expectStockRule();

    // A stock changed after the sheet was read: its figure is no longer right, nothing is stored.
    const auto stale = this->plan(csv("Código;Estoque\n2;70\n"), Register::Products);
    exec("update TPRODUTO set ESTOQUEATUAL = 61, ESTOQUEINICIAL = 51 where CODIGO = 2");
    EXPECT_THROW(imports::storePlan(*dm->SQLConnection1, stale), data::ConflictError);
    EXPECT_EQ(scalar("select count(*) from TMOVIMENTACAO").toInt(), 3);
}

TEST_F(ImportPlan, ProductsNameTheirGroupSubgroupAndSupplierByDescriptionOrCode) {
    exec("insert into TGRUPO (CODIGO, DESCRICAO) values (1, 'BEBIDAS')");
    exec("insert into TSUBGRUPO (CODIGO, DESCRICAO, GRUPO) values (1, 'SUCOS', 1)");
    exec("insert into TFORNECEDOR (CODIGO, DESCRICAO) values (5, 'DISTRIBUIDORA SUL')");
    const auto plan = this->plan(csv("Descrição;Grupo;Subgrupo;Fornecedor\n"
                                     "Suco de uva;bebidas;Sucos;5\n"
                                     "Refrigerante;Bebidas;Refrigerantes;Distribuidora Norte\n"
                                     "Bolacha;Mercearia;Doces;distribuidora norte\n"
                                     "Guaraná;Bebidas;Refrigerantes;\n"),
                                 Register::Products);
    EXPECT_EQ(plan.toCreateText.join('|').toStdString(),
              "Grupo MERCEARIA|Subgrupo REFRIGERANTES (grupo BEBIDAS)|"
              "Subgrupo DOCES (grupo MERCEARIA)|Fornecedor DISTRIBUIDORA NORTE");
    ASSERT_TRUE(imports::storePlan(*dm->SQLConnection1, plan));
    EXPECT_EQ(rows("select p.DESCRICAO, g.DESCRICAO, s.DESCRICAO, s.GRUPO = p.GRUPO, f.DESCRICAO "
                   "from TPRODUTO p left join TGRUPO g on g.CODIGO = p.GRUPO left join TSUBGRUPO "
                   "s on s.CODIGO = p.SUBGRUPO left join TFORNECEDOR f on f.CODIGO = "
                   "p.FORNECEDOR order by p.CODIGO"),
              "SUCO DE UVA|BEBIDAS|SUCOS|true|DISTRIBUIDORA SUL\n"
              "REFRIGERANTE|BEBIDAS|REFRIGERANTES|true|DISTRIBUIDORA NORTE\n"
              "BOLACHA|MERCEARIA|DOCES|true|DISTRIBUIDORA NORTE\n"
              "GUARANÁ|BEBIDAS|REFRIGERANTES|true|\n");
}

TEST_F(ImportPlan, SuppliersInWindows1252KeepTheirStateCodesAndCnpjsApart) {
    exec("insert into TFORNECEDOR (CODIGO, DESCRICAO, CNPJ) values (1, 'ANTIGO', "
         "'98.765.432/0001-10')");
    const auto plan = this->plan(sheetFile("fornecedores_1252.csv"), Register::Suppliers,
                                 {QStringLiteral("CODIGO"), QStringLiteral("DESCRICAO")});
    EXPECT_EQ(outcome(plan),
              "2 Novo 2\n"
              "3 Recusado 0: CNPJ 98.765.432/0001-10 já cadastrado no registro de código 1\n"
              "4 Recusado 0: CNPJ 12.345.678/0001-90 repetido da linha 2\n"
              "5 Recusado 0: UF: \"PN\" não é a sigla de um estado (nem XX)\n");
    ASSERT_TRUE(imports::storePlan(*dm->SQLConnection1, plan));
    EXPECT_EQ(rows("select DESCRICAO, CIDADE, UF, TELEFONE1 from TFORNECEDOR where CODIGO = 2"),
              "DISTRIBUIDORA PAULISTA|SÃO PAULO|SP|(11) 3333-4444\n");
    // No CNPJ is no CNPJ: suppliers without one do not repeat each other.
    exec("insert into TFORNECEDOR (CODIGO, DESCRICAO, CNPJ) values (9, 'SEM DOCUMENTO', '')");
    EXPECT_EQ(outcome(this->plan(csv("Fornecedor;CNPJ\nFeira Livre;\nHorta do Zé; \n"),
                                 Register::Suppliers)),
              "2 Novo 10\n3 Novo 11\n");
}

TEST_F(ImportPlan, CustomersFromOpenpyxlWithDatesOfEveryKind) {
    const auto plan = this->plan(sheetFile("clientes_openpyxl.xlsx"), Register::Customers);
    EXPECT_EQ(outcome(plan),
              "3 Novo 1\n"
              "4 Novo 2\n"
              "5 Recusado 0: Data de nascimento: \"31/02/1990\" não é uma data válida; UF: \"XY\" "
              "não é a sigla de um estado (nem XX)\n"
              "6 Novo 3\n"
              "7 Recusado 0: Data de nascimento: a fórmula =TODAY() não tem o valor calculado no "
              "arquivo; abra-o e salve-o no programa de planilhas\n");
    ASSERT_TRUE(imports::storePlan(*dm->SQLConnection1, plan));
    EXPECT_EQ(rows("select NOME, CPF, DATANASC, UF, CIDADE, EMAIL, CELULAR, TIPO_PESSOA from "
                   "TCLIENTE order by CODIGO"),
              "MARIA DA SILVA|123.456.789-09|1980-03-15|SP|SÃO PAULO|Maria@Exemplo.com|(11) "
              "98888-7777|FÍSICA\n"
              "JOSÉ SOUZA|987.654.321-00|1975-03-15|RJ|NITERÓI|||JURÍDICA\n"
              "CARLOS PEREIRA||1979-05-25|MG|UBERABA|||FÍSICA\n");
}

TEST_F(ImportPlan, StoringIsAllOrNothing) {
    product(1, "ARROZ", "", 50);
    const QString path = csv("Código;Descrição;Estoque;Grupo\n"
                             "1;Arroz;40;Cereais\n"
                             "2;Feijão;3;Cereais\n"
                             "3;Milho;4;Cereais\n");
    const std::string before = rows("select * from TPRODUTO") + rows("select * from TMOVIMENTACAO");
    const auto plan = this->plan(path, Register::Products);

    // Stopped by the user once the group was stored.
    EXPECT_FALSE(imports::storePlan(*dm->SQLConnection1, plan, [](int, int) { return false; }));
    // The database refuses the fourth statement: the first product's adjustment movement.
    int statements = 0;
    data::SqlQuery::setBeforeExecHook([&](const QString&) {
        if (++statements == 4)
            throw data::DatabaseError(QStringLiteral("disco cheio"));
    });
    EXPECT_THROW(imports::storePlan(*dm->SQLConnection1, plan), data::DatabaseError);
    data::SqlQuery::setBeforeExecHook({});
    EXPECT_EQ(rows("select * from TPRODUTO") + rows("select * from TMOVIMENTACAO"), before);
    EXPECT_EQ(scalar("select count(*) from TGRUPO").toInt(), 0);
    EXPECT_FALSE(dm->SQLConnection1->inTransaction());
}

TEST_F(ImportPlan, RefusedRowsSavedApartReadBackToBeFixed) {
    const auto plan = this->plan(sheetFile("produtos_calc.xlsx"), Register::Products);
    const QString saved = dir.filePath(QStringLiteral("recusados.csv"));
    imports::saveRefusedRows(saved, file, plan);
    const auto again = this->plan(saved, Register::Products);
    EXPECT_EQ(file.table.headers.last().toStdString(), "Motivo da recusa");
    EXPECT_EQ(outcome(again), "2 Recusado 0: Descrição: texto com 54 caracteres; cabem 50\n"
                              "3 Recusado 0: Preço de venda: \"abc\" não é um número\n"
                              "4 Recusado 0: Preço de compra: \"#DIV/0!\" não é um número\n");
    // Fixed in the file and read again, they are stored.
    const auto fixed = this->plan(csv("Código;Descrição;Preço Venda\n4;Detergente neutro;2\n"
                                      "5;Sabão em pó;3,5\n"),
                                  Register::Products);
    EXPECT_EQ(outcome(fixed), "2 Novo 4\n3 Novo 5\n");
}

TEST_F(ImportPlan, AMappingIsRememberedForTheSameHeaders) {
    imports::MappingMemory memory(*dm->SQLConnection2);
    const QStringList headers = {"Cód.", "Nome do item", "Preço"};
    EXPECT_FALSE(memory.recall(Register::Products, headers));
    memory.remember(Register::Products, headers, {"CODIGO", "DESCRICAO", "PRECO_COMPRA"});
    reopen(); // the next time the program runs
    imports::MappingMemory later(*dm->SQLConnection2);
    EXPECT_EQ(later.recall(Register::Products, {"cod", "NOME DO ITEM", "preço"}),
              QStringList({"CODIGO", "DESCRICAO", "PRECO_COMPRA"}));
    EXPECT_FALSE(later.recall(Register::Suppliers, headers));
    EXPECT_FALSE(later.recall(Register::Products, {"Cód.", "Nome do item"}));
}

} // namespace
