// The data module: which files it opens, its datasets and the shared helpers for new codes.
#include "core/globals.h"
#include "core/startup_file.h"
#include "platform/data/errors.h"
#include "tests/support/program_folder.h"
#include <QFile>

using namespace data;
using testing_support::DataModuleTest;
using testing_support::ProgramFolder;

namespace {

QString mainPathOf(const QByteArray& startupContent) {
    ProgramFolder folder;
    folder.writeStartupFile(startupContent);
    return startup::mainDatabasePath(folder.path());
}

TEST(StartupFile, DecidesTheMainDatabase) {
    ProgramFolder folder;
    const QString fallback = folder.path() + "QUIRU.GDB";
    EXPECT_EQ(startup::mainDatabasePath(folder.path()), fallback);
    EXPECT_TRUE(mainPathOf("").endsWith("/QUIRU.GDB"));
    EXPECT_TRUE(mainPathOf("\nsegunda linha").endsWith("/QUIRU.GDB"));
    EXPECT_EQ(mainPathOf("/dados/LOJA.GDB"), "/dados/LOJA.GDB");
    EXPECT_EQ(mainPathOf("servidor:/dados/LOJA.GDB\r\nresto"), "servidor:/dados/LOJA.GDB");
    QFile::remove(folder.path() + "ConfiguracoesQUIRU.txt");
    EXPECT_EQ(startup::mainDatabasePath(folder.path()), fallback);
}

// A start-up file from Windows: a UTF-8 mark, CR LF ends, a path in Windows-1252 or UTF-8.
TEST(StartupFile, AWindowsFileReadsTheSame) {
    const struct {
        QByteArray content;
        QString path;
    } cases[] = {
        {"\xEF\xBB\xBF/dados/LOJA.GDB\r\nLOJA\r\n", "/dados/LOJA.GDB"},
        {"/dados/Estoque Loja S\xE3o Jo\xE3o/QUIRU.GDB\r\n",
         QString::fromUtf8("/dados/Estoque Loja São João/QUIRU.GDB")},
        {"\xEF\xBB\xBF/dados/Estoque Loja S\xC3\xA3o Jo\xC3\xA3o/QUIRU.GDB",
         QString::fromUtf8("/dados/Estoque Loja São João/QUIRU.GDB")},
    };
    for (const auto& c : cases)
        EXPECT_EQ(mainPathOf(c.content), c.path) << c.content.toStdString();
}

TEST(StartupFile, WindowsLocationsAreToldFromServerPaths) {
    for (const char* windows :
         {"C:\\Quiru\\QUIRU.GDB", "d:/loja/QUIRU.GDB", "\\\\servidor\\loja\\QUIRU.GDB"})
        EXPECT_TRUE(startup::isWindowsLocation(windows)) << windows;
    for (const char* other : {"servidor:C:\\Quiru\\QUIRU.GDB", "servidor/3050:/dados/QUIRU.GDB",
                              "/dados/QUIRU.GDB", "QUIRU.GDB"})
        EXPECT_FALSE(startup::isWindowsLocation(other)) << other;
}

// A second and third line name a database user of the shop's own; one line keeps the program's.
TEST(StartupFile, NamesTheShopsOwnDatabaseUser) {
    ProgramFolder folder;
    EXPECT_FALSE(startup::mainDatabaseLogin(folder.path()));
    folder.writeStartupFile("servidor/3050:/dados/QUIRU.GDB\n");
    EXPECT_FALSE(startup::mainDatabaseLogin(folder.path()));
    folder.writeStartupFile("servidor/3050:/dados/QUIRU.GDB\nLOJA\nsenha da loja\n");
    const auto login = startup::mainDatabaseLogin(folder.path());
    ASSERT_TRUE(login);
    EXPECT_EQ(login->user, "LOJA");
    EXPECT_EQ(login->password, "senha da loja");

    // The first run's default path leaves the user's lines in place.
    folder.writeStartupFile("\nLOJA\nsegredo");
    EXPECT_TRUE(startup::writeDefaultWhenEmpty(folder.path()));
    EXPECT_EQ(startup::firstLine(folder.path()), folder.path() + "QUIRU.GDB");
    EXPECT_EQ(startup::mainDatabaseLogin(folder.path())->password, "segredo");
}

TEST(DataModuleOpen, OpensTheStartupFilesDatabaseAndAlwaysTheLocalSettings) {
    ProgramFolder program, elsewhere;
    QFile::remove(elsewhere.file("CONFIG.GDB"));
    QFile::rename(elsewhere.file("QUIRU.GDB"), elsewhere.file("LOJA.GDB"));
    program.writeStartupFile(elsewhere.file("LOJA.GDB").toUtf8());
    caminho_sistema = program.path();
    {
        TDM dm;
        EXPECT_EQ(dm.SQLConnection1->param("Database"), elsewhere.file("LOJA.GDB"));
        EXPECT_EQ(dm.SQLConnection2->param("Database"), program.file("CONFIG.GDB"));
        EXPECT_EQ(dm.SQLConnection1->connectionName(), "QUIRU");
        EXPECT_EQ(dm.SQLConnection2->connectionName(), "CONFIGESTOQUE");
        EXPECT_EQ(dm.SQLConnection1->params(),
                  (QStringList{"Database=" + elsewhere.file("LOJA.GDB"), "User_name=SYSDBA",
                               "Password=pelicanos", "SQLDialect=3"}));
        EXPECT_TRUE(dm.SQLConnection1->connected() && dm.SQLConnection2->connected());
        EXPECT_FALSE(dm.TBPRODUTOS->active()) << "no dataset is opened at creation";
    }
}

TEST(DataModuleOpen, MissingDatabaseNamesTheFile) {
    ProgramFolder program;
    program.writeStartupFile("/nao/existe/QUIRU.GDB");
    caminho_sistema = program.path();
    try {
        TDM dm;
        FAIL() << "must not open";
    } catch (const DatabaseError& e) {
        EXPECT_TRUE(e.message().contains("/nao/existe/QUIRU.GDB")) << e.message().toStdString();
    }
}

class DataModule : public DataModuleTest {};

TEST_F(DataModule, DatasetsCarryTheColumnsAndAttributes) {
    struct Expect {
        ClientDataSet* ds;
        int fields;
        const char* component;
    };
    const Expect expects[] = {
        {dm->TBFORNECEDOR, 19, "TBFORNECEDORDESCRICAO"},
        {dm->TBPRODUTOS, 19, "TBPRODUTOSESTOQUEATUAL"},
        {dm->TBGRUPO, 2, "TBGRUPODESCRICAO"},
        {dm->TBSUBGRUPO, 3, "TBSUBGRUPOGRUPO"},
        {dm->TBMOVIMENTACAO, 14, "TBMOVIMENTACAOTIPO"},
        {dm->TBUSUARIO, 3, "TBUSUARIOSENHA"},
        {dm->TBVERSAO, 3, "TBVERSAOVERSAO"},
        {dm->TBCLIENTE, 18, "TBCLIENTETIPO_PESSOA"},
        {dm->TBEMPRESA, 13, "TBEMPRESALOGO"},
        {dm->TBCENTRO, 2, "TBCENTRODESCRICAO"},
        {dm->TBCONFIG, 5, "TBCONFIGLOCAL_BANCO_DADOS"},
    };
    for (const Expect& e : expects) {
        e.ds->open();
        EXPECT_EQ(e.ds->fieldCount(), e.fields) << e.ds->objectName().toStdString();
        EXPECT_NE(e.ds->findFieldByComponentName(e.component), nullptr) << e.component;
    }
    EXPECT_EQ(dm->TBPRODUTOS->findField("FOTO"), nullptr);
    EXPECT_TRUE(dm->TBPRODUTOS->field("PRECO_VENDA").def().currency);
    EXPECT_TRUE(dm->TBMOVIMENTACAO->field("PRECO_TOTAL").def().currency);
    EXPECT_EQ(dm->TBMOVIMENTACAO->field("DATA").def().editMask, "!99/99/0000;1;_");
    EXPECT_EQ(dm->TBMOVIMENTACAO->field("HORARIO").def().editMask, "!90:00;1;_");
    EXPECT_TRUE(dm->TBUSUARIO->field("LOGIN").def().key);
    EXPECT_TRUE(dm->TBCONFIG->field("CODIGO").def().required);
    EXPECT_FALSE(dm->TBCONFIG->field("CODIGO").def().key);
    EXPECT_EQ(dm->TBPRODUTOS->field("DESCRICAO").def().size, 50);
    EXPECT_EQ(dm->TBCONFIG->field("LOCAL_BACKUP_BANCO").def().size, 500);

    // The seed rows a new installation needs.
    EXPECT_EQ(dm->TBVERSAO->recordCount(), 1);
    ASSERT_TRUE(dm->TBUSUARIO->locate("LOGIN;SENHA", {"MASTER", "TRIGAL"}));
    EXPECT_EQ(dm->TBUSUARIO->field("TIPO").asString(), "ADMINISTRADOR");
    EXPECT_EQ(dm->TBCONFIG->field("BACKUP_AUTOMATICO").asString(), "NAO");
}

TEST_F(DataModule, OrdenarDataSetAddsOneIndexPerFieldList) {
    ClientDataSet* ds = dm->TBFORNECEDOR;
    dm->OrdenarDataSet(ds, "DESCRICAO");
    dm->OrdenarDataSet(ds, "DESCRICAO");
    ASSERT_EQ(ds->indexDefs().size(), 1u);
    EXPECT_EQ(ds->indexName(), "Index1");
    dm->OrdenarDataSet(ds, "CNPJ");
    EXPECT_EQ(ds->indexName(), "Index2");
    dm->OrdenarDataSet(ds, "descricao"); // names compare exactly
    EXPECT_EQ(ds->indexName(), "Index3");
    dm->OrdenarDataSet(ds, "DESCRICAO");
    EXPECT_EQ(ds->indexName(), "Index1");
    EXPECT_EQ(ds->indexDefs().size(), 3u);
}

TEST_F(DataModule, NextCodeUnderBothRules) {
    dm->TBGRUPO->open();
    data::SqlQuery QCodigo(dm->SQLConnection1);
    QCodigo.sql() << "select max(codigo)"
                  << "from TGRUPO";
    EXPECT_EQ(nextCodeByQuery(QCodigo), 1);
    EXPECT_EQ(nextCodeByScan(*dm->TBGRUPO), 1);
    for (int code : {1, 7, 2})
        exec(QStringLiteral("insert into TGRUPO (CODIGO) values (%1)").arg(code));
    dm->TBGRUPO->refresh();
    EXPECT_EQ(nextCodeByQuery(QCodigo), 8);
    EXPECT_EQ(nextCodeByScan(*dm->TBGRUPO), 8);
    dm->TBGRUPO->setFilter("CODIGO < 7");
    dm->TBGRUPO->setFiltered(true);
    EXPECT_EQ(nextCodeByScan(*dm->TBGRUPO), 8) << "a filter must not hide a code in use";
}

} // namespace
