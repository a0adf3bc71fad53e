#include "core/data_module.h"
#include "core/database_columns.h"
#include "core/database_indexes.h"
#include "core/globals.h"
#include "core/movement_trail.h"
#include "core/settings_tables.h"
#include "core/startup_file.h"
#include "platform/data/errors.h"

using data::ClientDataSet;
using data::FieldDef;
using data::FieldKind;

namespace {

constexpr FieldKind I = FieldKind::Integer, F = FieldKind::Float, T = FieldKind::Text,
                    D = FieldKind::Date, H = FieldKind::Time, B = FieldKind::Blob;
enum Flag { None = 0, Key = 1, Required = 2, Money = 4 };

struct Column {
    const char* name;
    FieldKind kind;
    int size = 0;
    int flags = None;
    const char* mask = "";
};

struct Table {
    const char* stem;
    const char* table;
    std::vector<Column> columns;
};

// Every table's columns in their order; TPRODUTO.FOTO is read only by the products window.
const std::vector<Table>& catalogue() {
    static const std::vector<Table> tables = {
        {"FORNECEDOR",
         "TFORNECEDOR",
         {{"CODIGO", I, 0, Key},
          {"DESCRICAO", T, 50},
          {"CNPJ", T, 20},
          {"RAZAO_SOCIAL", T, 50},
          {"NOME_CONTATO", T, 50},
          {"TELEFONE1", T, 20},
          {"TELEFONE2", T, 20},
          {"CELULAR", T, 20},
          {"EMAIL", T, 50},
          {"ENDERECO", T, 80},
          {"BAIRRO", T, 30},
          {"CIDADE", T, 30},
          {"PAIS_NACAO", T, 30},
          {"SITE", T, 70},
          {"CEP", T, 20},
          {"UF", T, 2},
          {"INSCRICAO_ESTADUAL", T, 30},
          {"FAX", T, 20},
          {"OBSERVACAO", T, 350}}},
        {"PRODUTOS",
         "TPRODUTO",
         {{"CODIGO", I, 0, Key},
          {"CODIGOBARRAS", T, 30},
          {"DESCRICAO", T, 50},
          {"REFERENCIA", T, 50},
          {"ESTOQUEINICIAL", F},
          {"ESTOQUE_MINIMO", F},
          {"ESTOQUE_MAXIMO", F},
          {"PRECO_COMPRA", F, 0, Money},
          {"PRECO_VENDA", F, 0, Money},
          {"ESTOQUEATUAL", F},
          {"UNIDADE", T, 10},
          {"FORNECEDOR", I},
          {"GRUPO", I},
          {"SUBGRUPO", I},
          {"POS_PRATELEIRA", T, 25},
          {"OBS", T, 25},
          {"COR", T, 25},
          {"MODELO", T, 25},
          {"TAMANHO", T, 25}}},
        {"GRUPO", "TGRUPO", {{"CODIGO", I, 0, Key}, {"DESCRICAO", T, 50}}},
        {"SUBGRUPO", "TSUBGRUPO", {{"CODIGO", I, 0, Key}, {"DESCRICAO", T, 50}, {"GRUPO", I}}},
        {"MOVIMENTACAO",
         "TMOVIMENTACAO",
         {{"CODIGO", I, 0, Key},
          {"PRODUTO", I},
          {"GRUPO", I},
          {"SUBGRUPO", I},
          {"QUANTIDADE", F},
          {"PRECO_UNITARIO", F, 0, Money},
          {"PRECO_TOTAL", F, 0, Money},
          {"FORNECEDOR", I},
          {"DATA", D, 0, None, "!99/99/0000;1;_"},
          {"HORARIO", H, 0, None, "!90:00;1;_"},
          {"CLIENTE", I},
          {"NOTA_COMPRA", T, 50},
          {"TIPO", T, 20},
          {"CENTRO_CUSTO", I}}},
        {"USUARIO", "TUSUARIO", {{"LOGIN", T, 20, Key}, {"SENHA", T, 10}, {"TIPO", T, 15}}},
        {"VERSAO",
         "TVERSAO",
         {{"VERSAO", T, 10, Key}, {"DATA_AUTALIZACAO", D}, {"HORA_ATUALIZACAO", H}}},
        {"CLIENTE",
         "TCLIENTE",
         {{"CODIGO", I, 0, Key},
          {"NOME", T, 50},
          {"ENDERECO", T, 100},
          {"CIDADE", T, 30},
          {"UF", T, 2},
          {"BAIRRO", T, 35},
          {"CPF", T, 14},
          {"RG", T, 20},
          {"EMAIL", T, 75},
          {"TELEFONE1", T, 20},
          {"TELEFONE2", T, 20},
          {"CELULAR", T, 20},
          {"DATANASC", D},
          {"CEP", T, 20},
          {"OBSERVACAO", T, 350},
          {"EMAILCOMUNICADOR", T, 75},
          {"TIPO_PESSOA", T, 12},
          {"CNPJ", T, 30}}},
        {"EMPRESA",
         "TEMPRESA",
         {{"CODIGO", I, 0, Key},
          {"RAZAO_SOCIAL", T, 50},
          {"NOME_FANTASIA", T, 50},
          {"CNPJ", T, 20},
          {"ENDERECO", T, 80},
          {"CIDADE", T, 20},
          {"BAIRRO", T, 30},
          {"TELEFONE1", T, 20},
          {"TELEFONE2", T, 20},
          {"EMAIL", T, 50},
          {"SITE", T, 50},
          {"LOGO", B},
          {"UF", T, 2}}},
        {"CENTRO", "CENTRO_CUSTO", {{"CODIGO", I, 0, Key}, {"DESCRICAO", T, 85}}},
        {"CONFIG",
         "TCONFIGURACAO",
         {{"CODIGO", I, 0, Required},
          {"LOCAL_BANCO_DADOS", T, 500},
          {"LOCAL_BACKUP_BANCO", T, 500},
          {"BACKUP_AUTOMATICO", T, 3},
          {"INTERVALO_BACKUP", I}}},
    };
    return tables;
}

const Table& tableOf(const QString& stem) {
    for (const auto& t : catalogue())
        if (stem == QLatin1String(t.stem))
            return t;
    throw data::DataError(QStringLiteral("Tabela desconhecida: %1").arg(stem));
}

void setParams(data::SqlConnection* connection, const QString& database,
               const std::optional<startup::Login>& login = std::nullopt) {
    connection->close();
    connection->params().clear();
    // The program's own user unless the shop named one of its own for this database.
    connection->params() << "Database=" + database
                         << "User_name=" + login.value_or(startup::programLogin()).user
                         << "Password=" + login.value_or(startup::programLogin()).password
                         << QStringLiteral("SQLDialect=3");
}

} // namespace

TDM::TDM(QObject* owner) : QObject(owner) {
    setObjectName(QStringLiteral("DM"));
    SQLConnection1 = new data::SqlConnection(this);
    SQLConnection1->setObjectName(QStringLiteral("SQLConnection1"));
    SQLConnection2 = new data::SqlConnection(this);
    SQLConnection2->setObjectName(QStringLiteral("SQLConnection2"));

    TBFORNECEDOR = makeDataSet("FORNECEDOR", SQLConnection1, "TFORNECEDOR", DSFORNECEDOR);
    TBPRODUTOS = makeDataSet("PRODUTOS", SQLConnection1, "TPRODUTO", DSPRODUTOS);
    TBGRUPO = makeDataSet("GRUPO", SQLConnection1, "TGRUPO", DSGRUPO);
    TBSUBGRUPO = makeDataSet("SUBGRUPO", SQLConnection1, "TSUBGRUPO", DSSUBGRUPO);
    TBMOVIMENTACAO = makeDataSet("MOVIMENTACAO", SQLConnection1, "TMOVIMENTACAO", DSMOVIMENTACAO);
    // A million movements, or a hundred thousand products, take seconds to read: the windows
    // over them show while the rest comes.
    TBMOVIMENTACAO->setReadInSlices(true);
    TBPRODUTOS->setReadInSlices(true);
    TBUSUARIO = makeDataSet("USUARIO", SQLConnection1, "TUSUARIO", DSUSUARIO);
    TBVERSAO = makeDataSet("VERSAO", SQLConnection1, "TVERSAO", DSVERSAO);
    TBCLIENTE = makeDataSet("CLIENTE", SQLConnection1, "TCLIENTE", DSCLIENTE);
    TBEMPRESA = makeDataSet("EMPRESA", SQLConnection1, "TEMPRESA", DSEMPRESA);
    TBCENTRO = makeDataSet("CENTRO", SQLConnection1, "CENTRO_CUSTO", DSCENTRO);
    TBCONFIG = makeDataSet("CONFIG", SQLConnection2, "TCONFIGURACAO", DSCONFIG);

    DataModuleCreate();
}

TDM::~TDM() {
    closeDatabases();
}

void TDM::closeDatabases() noexcept {
    // Datasets go before their connections.
    for (auto* ds : findChildren<ClientDataSet*>()) {
        try {
            const auto state = ds->state();
            if (state == data::DataSetState::Edit || state == data::DataSetState::Insert)
                ds->cancel();
            ds->close();
        } catch (...) {
            // Closing goes on: the connection's end drops whatever the dataset still held.
        }
    }
    SQLConnection1->close();
    SQLConnection2->close();
}

ClientDataSet* TDM::makeDataSet(const QString& stem, data::SqlConnection* connection,
                                const QString& table, data::DataSource*& source) {
    auto* ds = new ClientDataSet(this);
    ds->setObjectName("TB" + stem);
    ds->setTable(connection, table);
    for (const Column& c : tableOf(stem).columns) {
        FieldDef def;
        def.name = QString::fromLatin1(c.name);
        def.kind = c.kind;
        def.size = c.size;
        def.key = c.flags & Key;
        def.required = (c.flags & (Key | Required)) != 0;
        def.currency = c.flags & Money;
        if (c.kind == F)
            def.largest = kLargestAmount;
        def.editMask = QString::fromLatin1(c.mask);
        def.componentName = "TB" + stem + def.name;
        ds->addField(def);
    }
    source = new data::DataSource(ds, this);
    source->setObjectName("DS" + stem);
    return ds;
}

void TDM::DataModuleCreate() {
    // The main connection always opens first; the settings database always lives beside the
    // program.
    setParams(SQLConnection1, startup::mainDatabasePath(caminho_sistema),
              startup::mainDatabaseLogin(caminho_sistema));
    SQLConnection1->setConnectionName(QStringLiteral("QUIRU"));
    SQLConnection1->open();
    addMissingIndexes(*SQLConnection1); // a database an older program made lacks some
    widenColumns(*SQLConnection1);      // and has some narrower columns
    addMissingTrail(*SQLConnection1);   // and no trail of changes
    // Without its index the database would sort every product before sending the first.
    TBPRODUTOS->setReadOrder(QStringLiteral("DESCRICAO"),
                             hasIndex(*SQLConnection1, kProductDescriptionOrderIndex)
                                 ? productDescriptionOrder()
                                 : QString());

    setParams(SQLConnection2, caminho_sistema + QStringLiteral("CONFIG.GDB"));
    SQLConnection2->setConnectionName(QStringLiteral("CONFIGESTOQUE"));
    SQLConnection2->open();
    addMissingSettingsTables(*SQLConnection2); // a settings database an older program made
}

void TDM::OrdenarDataSet(ClientDataSet* dataset, const QString& fields,
                         data::IndexOptions options) {
    auto& defs = dataset->indexDefs();
    for (const auto& def : defs) {
        if (def.fields == fields && def.options == options) {
            dataset->setIndexName(def.name);
            return;
        }
    }
    const QString name = QStringLiteral("Index%1").arg(defs.size() + 1);
    dataset->addIndex(name, fields, options);
    dataset->setIndexName(name);
}

int nextCodeByQuery(data::SqlQuery& query) {
    query.close();
    query.open();
    const QVariant max = query.value(0); // null on an empty table
    query.close();
    return max.isNull() ? 1 : max.toInt() + 1;
}

int nextCodeByScan(ClientDataSet& dataset) {
    // Every cached row counts, filtered out or not: a code must be new to the table.
    int next = 1;
    const int column = dataset.field(QStringLiteral("CODIGO")).index();
    dataset.forEachRow([&](const data::ColumnStore& store, data::RowId row) {
        if (!store.isNull(row, column) && store.integer(row, column) >= next)
            next = store.integer(row, column) + 1;
    });
    return next;
}
