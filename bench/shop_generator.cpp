#include "bench/shop_generator.h"
#include "bench/firebird_api.h"
#include <algorithm>
#include <array>
#include <cstdio>
#include <filesystem>
#include <spawn.h>
#include <stdexcept>
#include <string_view>
#include <sys/wait.h>
#include <vector>

extern char** environ;

namespace bench {

namespace {

using Words = std::vector<std::string_view>;

struct Group {
    std::string_view name;
    std::string_view noun1, unit1, noun2, unit2;
};

// Each group sells two kinds of article; a product's group follows from its noun.
constexpr std::array<Group, 20> kGroups{{
    {"FERRAGENS", "DOBRADIÇA", "UN", "FECHADURA", "UN"},
    {"FERRAMENTAS MANUAIS", "ALICATE", "UN", "CHAVE DE FENDA", "UN"},
    {"FERRAMENTAS ELÉTRICAS", "FURADEIRA", "UN", "SERRA TICO-TICO", "UN"},
    {"MATERIAL ELÉTRICO", "TOMADA", "UN", "DISJUNTOR", "UN"},
    {"ILUMINAÇÃO", "LÂMPADA LED", "UN", "LUMINÁRIA", "UN"},
    {"HIDRÁULICA", "REGISTRO", "UN", "JOELHO", "PC"},
    {"TINTAS", "TINTA ACRÍLICA", "GL", "ROLO DE PINTURA", "UN"},
    {"ADESIVOS E VEDANTES", "COLA", "TB", "SILICONE", "TB"},
    {"PARAFUSOS E FIXAÇÃO", "PARAFUSO", "CX", "BUCHA", "CX"},
    {"JARDINAGEM", "MANGUEIRA", "M", "REGADOR", "UN"},
    {"LIMPEZA", "VASSOURA", "UN", "BALDE", "UN"},
    {"SEGURANÇA DO TRABALHO", "LUVA", "PR", "ÓCULOS DE PROTEÇÃO", "UN"},
    {"MADEIRAS", "CAIBRO", "M", "COMPENSADO", "CH"},
    {"CONSTRUÇÃO", "CIMENTO", "SC", "ARGAMASSA", "SC"},
    {"PISOS E REVESTIMENTOS", "PISO CERÂMICO", "M2", "REJUNTE", "KG"},
    {"LOUÇAS E METAIS", "TORNEIRA", "UN", "CHUVEIRO", "UN"},
    {"UTILIDADES DOMÉSTICAS", "ESCADA", "UN", "VARAL", "UN"},
    {"AUTOMOTIVO", "ÓLEO", "LT", "PALHETA", "PR"},
    {"CAMPING E LAZER", "LANTERNA", "UN", "CADEIRA DOBRÁVEL", "UN"},
    {"ESCRITÓRIO", "FITA ADESIVA", "RL", "ETIQUETA", "PCT"},
}};
constexpr int kSubgroupsPerGroup = 5;

const Words kSubgroupKinds{"LINHA BÁSICA", "LINHA PROFISSIONAL", "IMPORTADOS", "NACIONAIS",
                           "PROMOÇÃO"};
const Words kQualifiers{"INOX",     "GALVANIZADO", "PLÁSTICO", "REFORÇADO", "BRANCO",
                        "PRETO",    "CROMADO",     "LATÃO",    "PVC",       "ALUMÍNIO",
                        "AÇO",      "SEXTAVADO",   "REDONDO",  "ECONÔMICO", "PROFISSIONAL",
                        "COMPACTO", "SIMPLES",     "DUPLO",    "ESPECIAL",  "PREMIUM"};
const Words kMeasures{"1/4\"", "3/8\"", "1/2\"", "3/4\"", "1\"",   "6MM",   "8MM",  "10MM",
                      "12MM",  "20MM",  "25MM",  "50MM",  "100MM", "1M",    "2M",   "5M",
                      "10M",   "1KG",   "5KG",   "18L",   "3,6L",  "900ML", "110V", "220V"};
const Words kBrands{"FORTEX",   "METALAR", "BRASFIX",  "NOVAFER",  "SULMAQ", "ARAGUAIA",
                    "CASTELO",  "TUPÃ",    "VALEFORT", "GIRASSOL", "ITAFIX", "SERRANA",
                    "PIRATINI", "CANOAS",  "JACUÍ",    "IGUAÇU"};
// Fewer than the draw's range, so the rest of the draws leave the column empty.
const Words kColours{"BRANCO", "PRETO", "CINZA", "AZUL", "VERMELHO", "AMARELO", "VERDE", "MARROM"};
const Words kSizes{"P", "M", "G", "GG", "PEQUENO", "MÉDIO", "GRANDE"};
const Words kFirstNames{"JOÃO",    "MARIA",    "JOSÉ",   "ANA",      "ANTÔNIO", "FRANCISCA",
                        "CARLOS",  "ADRIANA",  "PAULO",  "JULIANA",  "PEDRO",   "MÁRCIA",
                        "LUCAS",   "FERNANDA", "LUIZ",   "PATRÍCIA", "MARCOS",  "ALINE",
                        "GABRIEL", "SANDRA",   "RAFAEL", "CAMILA",   "DANIEL",  "AMANDA",
                        "EDUARDO", "BRUNA",    "FELIPE", "LETÍCIA",  "RODRIGO", "BEATRIZ"};
const Words kSurnames{"SILVA",   "SANTOS",   "OLIVEIRA", "SOUZA",   "RODRIGUES",  "FERREIRA",
                      "ALVES",   "PEREIRA",  "LIMA",     "GOMES",   "COSTA",      "RIBEIRO",
                      "MARTINS", "CARVALHO", "ALMEIDA",  "LOPES",   "SOARES",     "FERNANDES",
                      "VIEIRA",  "BARBOSA",  "ROCHA",    "DIAS",    "NASCIMENTO", "ANDRADE",
                      "MOREIRA", "NUNES",    "MARQUES",  "MACHADO", "MENDES",     "FREITAS"};
const Words kCities{"PORTO ALEGRE",  "CANOAS",        "NOVO HAMBURGO", "SÃO LEOPOLDO",
                    "GRAVATAÍ",      "CAXIAS DO SUL", "PELOTAS",       "SANTA MARIA",
                    "FLORIANÓPOLIS", "JOINVILLE",     "CURITIBA",      "LONDRINA",
                    "SÃO PAULO",     "CAMPINAS",      "BELO HORIZONTE"};
const Words kStates{"RS", "RS", "RS", "RS", "RS", "RS", "RS", "RS",
                    "SC", "SC", "PR", "PR", "SP", "SP", "MG"};
const Words kDistricts{"CENTRO",     "CIDADE BAIXA", "MOINHOS DE VENTO", "SÃO JOÃO",
                       "NAVEGANTES", "PETRÓPOLIS",   "JARDIM BOTÂNICO",  "VILA NOVA",
                       "INDUSTRIAL", "PARTENON"};
const Words kStreets{"RUA DAS FLORES",     "AV. BRASIL",        "RUA SETE DE SETEMBRO",
                     "AV. INDEPENDÊNCIA",  "RUA DA PRAIA",      "RUA DOS ANDRADAS",
                     "AV. GETÚLIO VARGAS", "RUA XV DE NOVEMBRO"};
const Words kSupplierKinds{"DISTRIBUIDORA", "COMERCIAL", "ATACADO", "INDÚSTRIA", "IMPORTADORA"};
const Words kCostCentres{"ADMINISTRATIVO", "MANUTENÇÃO",  "OBRAS",
                         "VENDAS BALCÃO",  "ENTREGAS",    "LOJA VIRTUAL",
                         "ALMOXARIFADO",   "FROTA",       "LIMPEZA E CONSERVAÇÃO",
                         "MARKETING",      "INFORMÁTICA", "DIRETORIA"};

std::string quoted(std::string_view text) {
    std::string out = "'";
    for (char c : text) {
        out += c;
        if (c == '\'')
            out += '\'';
    }
    return out + "'";
}

// SQL choosing words[index], or NULL when index is past the list.
std::string pick(const std::string& index, const Words& words) {
    std::string sql = "DECODE(" + index;
    for (std::size_t i = 0; i < words.size(); ++i)
        sql += ", " + std::to_string(i) + ", " + quoted(words[i]);
    return sql + ")";
}

template <typename F> Words collect(F member) {
    Words words;
    for (const Group& g : kGroups)
        words.push_back(member(g));
    return words;
}

// The blocks draw pseudo-random numbers from `s`, a linear congruential generator; `r` takes the
// draw's high bits (27 of them), whose period is long enough for a million rows.
const std::string kDeclareRandom = "DECLARE s BIGINT = 20240917; DECLARE r INTEGER;\n";
const std::string kDraw = "s = MOD(:s * 1103515245 + 12345, 2147483648); r = :s / 16;\n";

std::string n(long value) {
    return std::to_string(value);
}

int supplierCount(int products) {
    return std::clamp(products / 250, 20, 400);
}
int customerCount(int products) {
    return std::clamp(products / 20, 50, 5000);
}

std::string groupsSql() {
    std::string sql = "EXECUTE BLOCK AS DECLARE g INTEGER = 0; DECLARE k INTEGER;\nBEGIN\n";
    sql += "WHILE (g < " + n(kGroups.size()) + ") DO BEGIN\n";
    sql += "  INSERT INTO TGRUPO (CODIGO, DESCRICAO) VALUES (:g + 1, " +
           pick(":g", collect([](const Group& x) { return x.name; })) + ");\n";
    sql += "  k = 0;\n  WHILE (k < " + n(kSubgroupsPerGroup) + ") DO BEGIN\n";
    sql += "    INSERT INTO TSUBGRUPO (CODIGO, DESCRICAO, GRUPO) VALUES (:g * " +
           n(kSubgroupsPerGroup) + " + :k + 1, LEFT(" +
           pick(":g", collect([](const Group& x) { return x.name; })) + " || ' - ' || " +
           pick(":k", kSubgroupKinds) + ", 50), :g + 1);\n";
    sql += "    k = k + 1;\n  END\n  g = g + 1;\nEND\nEND";
    return sql;
}

std::string costCentresSql() {
    std::string sql = "EXECUTE BLOCK AS DECLARE i INTEGER = 0;\nBEGIN\n";
    sql += "WHILE (i < " + n(kCostCentres.size()) + ") DO BEGIN\n";
    sql += "  INSERT INTO CENTRO_CUSTO (CODIGO, DESCRICAO) VALUES (:i + 1, " +
           pick(":i", kCostCentres) + ");\n  i = i + 1;\nEND\nEND";
    return sql;
}

std::string companySql() {
    return "INSERT INTO TEMPRESA (CODIGO, RAZAO_SOCIAL, NOME_FANTASIA, CNPJ, ENDERECO, CIDADE, "
           "BAIRRO, TELEFONE1, EMAIL, UF) VALUES (1, 'CASA DAS FERRAGENS LTDA', "
           "'CASA DAS FERRAGENS', '12.345.678/0001-90', 'AV. BRASIL, 1500', 'CANOAS', 'CENTRO', "
           "'(51) 3456-7890', 'contato@casadasferragens.com.br', 'RS')";
}

// Common address columns of suppliers and customers, from the current draw.
std::string addressDraws() {
    return kDraw + "  city = MOD(:r, " + n(kCities.size()) + ");\n" + kDraw +
           "  street = MOD(:r, " + n(kStreets.size()) + "); number = 1 + MOD(:r / 8, 3000);\n" +
           kDraw + "  phone = 30000000 + MOD(:r, 9999999);\n";
}
const std::string kAddressDeclarations =
    "DECLARE city INTEGER; DECLARE street INTEGER; DECLARE number INTEGER; "
    "DECLARE phone INTEGER;\n";
std::string phoneSql(const std::string& prefix, const std::string& digits) {
    return "'(51) " + prefix + "' || SUBSTRING(" + digits +
           " FROM 2 FOR 3) || '-' || "
           "SUBSTRING(" +
           digits + " FROM 5 FOR 4)";
}

std::string suppliersSql(int count) {
    std::string sql = "EXECUTE BLOCK AS DECLARE i INTEGER = 1; " + kDeclareRandom +
                      kAddressDeclarations + "DECLARE name VARCHAR(50);\nBEGIN\n";
    sql += "WHILE (i <= " + n(count) + ") DO BEGIN\n";
    sql += kDraw + "  name = " + pick("MOD(:r, " + n(kSupplierKinds.size()) + ")", kSupplierKinds) +
           " || ' ' || " + pick("MOD(:r / 8, " + n(kBrands.size()) + ")", kBrands) +
           " || ' ' || :i;\n";
    sql += addressDraws();
    sql += "  INSERT INTO TFORNECEDOR (CODIGO, DESCRICAO, CNPJ, RAZAO_SOCIAL, NOME_CONTATO, "
           "TELEFONE1, CELULAR, EMAIL, ENDERECO, BAIRRO, CIDADE, PAIS_NACAO, SITE, CEP, UF, "
           "INSCRICAO_ESTADUAL) VALUES (:i, :name, LPAD(MOD(:phone, 100), 2, '0') || '.' || "
           "LPAD(MOD(:phone / 7, 1000), 3, '0') || '.' || LPAD(MOD(:phone / 3, 1000), 3, '0') || "
           "'/0001-' || LPAD(MOD(:i, 100), 2, '0'), :name || ' LTDA', " +
           pick("MOD(:r, " + n(kFirstNames.size()) + ")", kFirstNames) + " || ' ' || " +
           pick("MOD(:r / 64, " + n(kSurnames.size()) + ")", kSurnames) + ", " +
           phoneSql("3", "CAST(:phone AS VARCHAR(8))") + ", " +
           phoneSql("9", "CAST(:phone + 12345 AS VARCHAR(8))") +
           ", 'vendas' || :i || '@fornecedor.com.br', " + pick(":street", kStreets) +
           " || ', ' || :number, " + pick("MOD(:r, " + n(kDistricts.size()) + ")", kDistricts) +
           ", " + pick(":city", kCities) +
           ", 'BRASIL', 'www.fornecedor' || :i || '.com.br', "
           "LPAD(90000 + MOD(:phone, 9999), 5, '0') || '-000', " +
           pick(":city", kStates) + ", LPAD(:phone, 10, '0'));\n";
    sql += "  i = i + 1;\nEND\nEND";
    return sql;
}

std::string customersSql(int count) {
    std::string sql = "EXECUTE BLOCK AS DECLARE i INTEGER = 1; " + kDeclareRandom +
                      kAddressDeclarations +
                      "DECLARE given INTEGER; DECLARE company SMALLINT; DECLARE cpf BIGINT;\n"
                      "BEGIN\n";
    sql += "WHILE (i <= " + n(count) + ") DO BEGIN\n";
    sql += kDraw + "  given = MOD(:r, " + n(kFirstNames.size()) +
           "); company = IIF(MOD(:r / 64, 10) = 0, 1, 0);\n";
    sql += kDraw + "  cpf = 10000000000 + CAST(:r AS BIGINT) * 37;\n";
    sql += addressDraws();
    const std::string cpfText = "LPAD(:cpf, 11, '0')";
    sql += "  INSERT INTO TCLIENTE (CODIGO, NOME, ENDERECO, CIDADE, UF, BAIRRO, CPF, RG, EMAIL, "
           "TELEFONE1, CELULAR, DATANASC, CEP, OBSERVACAO, TIPO_PESSOA, CNPJ) VALUES (:i, " +
           pick(":given", kFirstNames) + " || ' ' || " +
           pick("MOD(:r, " + n(kSurnames.size()) + ")", kSurnames) + " || ' ' || " +
           pick("MOD(:r / 32, " + n(kSurnames.size()) + ")", kSurnames) + ", " +
           pick(":street", kStreets) + " || ', ' || :number, " + pick(":city", kCities) + ", " +
           pick(":city", kStates) + ", " +
           pick("MOD(:r / 1024, " + n(kDistricts.size()) + ")", kDistricts) + ", SUBSTRING(" +
           cpfText + " FROM 1 FOR 3) || '.' || SUBSTRING(" + cpfText +
           " FROM 4 FOR 3) || '.' || "
           "SUBSTRING(" +
           cpfText + " FROM 7 FOR 3) || '-' || SUBSTRING(" + cpfText +
           " FROM 10 FOR 2), CAST(MOD(:cpf, 1000000000) AS VARCHAR(20)), 'cliente' || :i || "
           "'@email.com.br', " +
           phoneSql("3", "CAST(:phone AS VARCHAR(8))") + ", " +
           phoneSql("9", "CAST(:phone + 54321 AS VARCHAR(8))") +
           ", DATEADD(MOD(:r, 20000) DAY TO DATE '1945-01-01'), LPAD(90000 + MOD(:phone, 9999), 5, "
           "'0') || '-000', IIF(MOD(:r, 7) = 0, 'CLIENTE DESDE ' || (2000 + MOD(:r, 24)), NULL), "
           "IIF(:company = 1, 'JURÍDICA', 'FÍSICA'), IIF(:company = 1, LPAD(MOD(:cpf, 100000000), "
           "8, '0') || '/0001-' || LPAD(MOD(:i, 100), 2, '0'), NULL));\n";
    sql += "  i = i + 1;\nEND\nEND";
    return sql;
}

std::string productsSql(int count, int suppliers) {
    const Words nouns1 = collect([](const Group& g) { return g.noun1; });
    const Words nouns2 = collect([](const Group& g) { return g.noun2; });
    Words nouns = nouns1;
    nouns.insert(nouns.end(), nouns2.begin(), nouns2.end());
    Words units = collect([](const Group& g) { return g.unit1; });
    for (const Group& g : kGroups)
        units.push_back(g.unit2);

    std::string sql = "EXECUTE BLOCK AS DECLARE i INTEGER = 1; " + kDeclareRandom +
                      "DECLARE noun INTEGER; DECLARE grp INTEGER; DECLARE cost DOUBLE PRECISION; "
                      "DECLARE minimum INTEGER; DECLARE initial INTEGER;\nBEGIN\n";
    sql += "WHILE (i <= " + n(count) + ") DO BEGIN\n";
    sql += kDraw + "  noun = MOD(:r, " + n(nouns.size()) + "); grp = MOD(:noun, " +
           n(kGroups.size()) + ");\n";
    // Purchase prices spread evenly over the orders of magnitude, from R$ 1,50 to R$ 1.500,00.
    sql += kDraw + "  cost = ROUND(1.5 * POWER(10, MOD(:r, 3000) / 1000.0), 2);\n";
    sql += kDraw + "  minimum = 5 + MOD(:r, 20); initial = MOD(:r / 32, 101);\n";
    sql += kDraw;
    sql += "  INSERT INTO TPRODUTO (CODIGO, CODIGOBARRAS, DESCRICAO, REFERENCIA, ESTOQUEINICIAL, "
           "ESTOQUE_MINIMO, ESTOQUE_MAXIMO, PRECO_COMPRA, PRECO_VENDA, ESTOQUEATUAL, UNIDADE, "
           "FORNECEDOR, GRUPO, SUBGRUPO, POS_PRATELEIRA, OBS, COR, MODELO, TAMANHO) VALUES (:i, "
           "'789' || LPAD(:i, 10, '0'), LEFT(" +
           pick(":noun", nouns) + " || ' ' || " +
           pick("MOD(:r, " + n(kQualifiers.size()) + ")", kQualifiers) + " || ' ' || " +
           pick("MOD(:r / 32, " + n(kMeasures.size()) + ")", kMeasures) + " || ' ' || " +
           pick("MOD(:r / 1024, " + n(kBrands.size()) + ")", kBrands) +
           ", 50), 'REF ' || (1000 + MOD(:r, 90000)), :initial, :minimum, :minimum * 20, :cost, "
           "ROUND(:cost * (1.3 + MOD(:r / 16, 70) / 100.0), 2), :initial, " +
           pick(":noun", units) + ", 1 + MOD(:r / 64, " + n(suppliers) + "), :grp + 1, :grp * " +
           n(kSubgroupsPerGroup) + " + MOD(:r / 128, " + n(kSubgroupsPerGroup) +
           ") + 1, 'CORREDOR ' || (1 + MOD(:r / 256, 12)) || ' PRAT. ' || (1 + MOD(:r / 4096, 8)), "
           "IIF(MOD(:r / 8, 20) = 0, 'SOB ENCOMENDA', NULL), " +
           pick("MOD(:r / 512, 16)", kColours) +
           ", IIF(MOD(:r / 2048, 2) = 0, 'MOD-' || LPAD(MOD(:r, 1000), 3, '0'), NULL), " +
           pick("MOD(:r / 65536, 20)", kSizes) + ");\n";
    sql += "  i = i + 1;\nEND\nEND";
    return sql;
}

// Movements [first, last] of `total`, in date order over three years: a quarter are entries (at
// the purchase price, with the supplier and an invoice number), the rest exits (a few units at the
// sale price, most to a named customer); some are booked to a cost centre.
std::string movementsSql(int first, int last, int total, int products, int customers) {
    std::string sql =
        "EXECUTE BLOCK AS DECLARE i INTEGER = " + n(first) + "; " +
        "DECLARE s BIGINT = " + n((20240917L + 7919L * first) % 2147483648L) +
        "; DECLARE r INTEGER;\n"
        "DECLARE p INTEGER; DECLARE entry SMALLINT; DECLARE q DOUBLE PRECISION; "
        "DECLARE price DOUBLE PRECISION; DECLARE supplier INTEGER; DECLARE cost DOUBLE PRECISION; "
        "DECLARE sale DOUBLE PRECISION; DECLARE customer INTEGER; DECLARE centre INTEGER;\n"
        "BEGIN\n";
    sql += "WHILE (i <= " + n(last) + ") DO BEGIN\n";
    sql += kDraw + "  p = 1 + MOD(:r, " + n(products) + ");\n";
    sql += "  SELECT FORNECEDOR, PRECO_COMPRA, PRECO_VENDA FROM TPRODUTO WHERE CODIGO = :p "
           "INTO :supplier, :cost, :sale;\n";
    sql += kDraw + "  entry = IIF(MOD(:r, 100) < 25, 1, 0);\n";
    // Dear articles come and go by the unit, cheap ones by the dozen.
    sql +=
        "  IF (:entry = 1) THEN BEGIN price = :cost; q = IIF(:cost > 100, 1 + MOD(:r / 128, 20), "
        "12 * (1 + MOD(:r / 128, 15))); END\n"
        "  ELSE BEGIN price = :sale; q = IIF(:cost > 100, 1 + MOD(:r / 128, 3), "
        "1 + MOD(:r / 128, 10)); END\n";
    sql += kDraw + "  customer = IIF(:entry = 0 AND MOD(:r, 10) < 8, 1 + MOD(:r / 16, " +
           n(customers) + "), NULL);\n";
    sql += kDraw + "  centre = IIF(MOD(:r, 10) < 3, 1 + MOD(:r / 16, " + n(kCostCentres.size()) +
           "), NULL);\n";
    sql += kDraw;
    sql += "  INSERT INTO TMOVIMENTACAO (CODIGO, PRODUTO, QUANTIDADE, PRECO_UNITARIO, PRECO_TOTAL, "
           "FORNECEDOR, DATA, HORARIO, CLIENTE, NOTA_COMPRA, TIPO, CENTRO_CUSTO) VALUES (:i, :p, "
           ":q, :price, ROUND(:q * :price, 2), IIF(:entry = 1, :supplier, NULL), "
           "DATEADD(CAST((:i - 1) * 1096 / " +
           n(total) +
           " AS INTEGER) DAY TO DATE '2022-01-01'), "
           "DATEADD(MOD(:r, 36000) SECOND TO TIME '08:00:00'), :customer, "
           "IIF(:entry = 1, CAST(10000 + :i / 3 AS VARCHAR(12)), NULL), "
           // TRIM: IIF of two literals is CHAR(7), which would store "SAIDA  " padded.
           "TRIM(IIF(:entry = 1, 'ENTRADA', 'SAIDA')), :centre);\n";
    sql += "  i = i + 1;\nEND\nEND";
    return sql;
}

// The current stock is what the movements left.
const std::string kStockSql =
    "MERGE INTO TPRODUTO P USING (SELECT PRODUTO, SUM(IIF(TIPO = 'ENTRADA', QUANTIDADE, "
    "-QUANTIDADE)) AS SALDO FROM TMOVIMENTACAO GROUP BY PRODUTO) M ON P.CODIGO = M.PRODUTO "
    "WHEN MATCHED THEN UPDATE SET ESTOQUEATUAL = P.ESTOQUEINICIAL + M.SALDO";

// The first reading of a freshly filled table writes to most of its pages (the engine marks
// them as swept, and drops the stock update's old versions); a shop in use has long been
// through it. Counting every row does it once here, so no benchmark times it.
const std::string kSettleSql = "EXECUTE BLOCK AS DECLARE n BIGINT; BEGIN "
                               "SELECT COUNT(*) FROM TPRODUTO INTO :n; "
                               "SELECT COUNT(*) FROM TMOVIMENTACAO INTO :n; END";

void run(const std::vector<std::string>& argv) {
    std::vector<char*> args;
    for (const std::string& a : argv)
        args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    pid_t pid = 0;
    if (posix_spawnp(&pid, args[0], nullptr, nullptr, args.data(), environ) != 0)
        throw std::runtime_error("cannot start " + argv[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        throw std::runtime_error(argv[0] + " failed creating the database");
}

} // namespace

void generateShop(const std::string& path, int products, int movements) {
    namespace fs = std::filesystem;
    prepareFirebirdEnvironment();
    // Built under another name and renamed, so an interrupted run never leaves half a shop.
    const std::string building = path + ".building";
    fs::remove(building);
    run({QUIRU_CMAKE_COMMAND, "-DDATABASE=" + building, "-DSCRIPT=" QUIRU_SOURCE_DIR "/db/main.sql",
         "-DISQL=" QUIRU_ISQL, "-P", QUIRU_SOURCE_DIR "/cmake/make_database.cmake"});

    const int suppliers = supplierCount(products);
    const int customers = customerCount(products);
    {
        Attachment db(building);
        db.execute(groupsSql());
        db.execute(costCentresSql());
        db.execute(companySql());
        db.execute(suppliersSql(suppliers));
        db.execute(customersSql(customers));
        std::printf("  %d products...\n", products);
        std::fflush(stdout);
        db.execute(productsSql(products, suppliers));
        // Batches keep each transaction's undo log small.
        const int batch = 100'000;
        for (int first = 1; first <= movements; first += batch) {
            const int last = std::min(movements, first + batch - 1);
            std::printf("  movements %d to %d...\n", first, last);
            std::fflush(stdout);
            db.execute(movementsSql(first, last, movements, products, customers));
        }
        db.execute(kStockSql);
        db.execute(kSettleSql);
    }
    fs::rename(building, path);
}

std::string shopPath(const ShopSize& size) {
    return std::string(QUIRU_BENCH_DATA_DIR) + "/" + size.name + ".gdb";
}

std::string shopDatabase(const ShopSize& size) {
    const std::string path = shopPath(size);
    if (!std::filesystem::exists(path)) {
        std::printf("Generating the %s shop (%d products, %d movements) in %s\n", size.name.c_str(),
                    size.products, size.movements, path.c_str());
        std::fflush(stdout);
        generateShop(path, size.products, size.movements);
    }
    return path;
}

} // namespace bench
