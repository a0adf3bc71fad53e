// Server mode: the main database reached through a private Firebird server on the loopback, the
// settings database still embedded beside the program. Other stations are other attachments or
// other processes on the same server.
#include "app/login_window.h"
#include "core/globals.h"
#include "platform/data/errors.h"
#include "platform/data/sql_query.h"
#include "platform/ui/db_edit.h"
#include "platform/ui/guard.h"
#include "registers/products_window.h"
#include "registers/suppliers_window.h"
#include "stock/entry_window.h"
#include "tests/support/private_server.h"
#include "tests/support/program_folder.h"
#include "tests/support/scripted_dialogs.h"
#include "tests/support/test_input.h"
#include <QImage>
#include <QProcess>
#include <QPushButton>

using testing_support::DataModuleTest;
using testing_support::PrivateServer;
using testing_support::ProgramFolder;

namespace {

class ServerMode : public DataModuleTest {
protected:
    void SetUp() override {
        dialogs.setFailureHandler([](const QString& what) { ADD_FAILURE() << what.toStdString(); });
        folder = std::make_unique<ProgramFolder>();
        server = std::make_unique<PrivateServer>();
        folder->writeStartupFile(mainPath());
        caminho_sistema = folder->path();
        dm = std::make_unique<TDM>();
        DM = dm.get();
        produto_selecionado = 0;
    }
    void TearDown() override {
        data::SqlQuery::setBeforeExecHook({});
        window.reset();
        DM = nullptr;
        dm.reset();
        server.reset(); // before its files go
        folder.reset();
    }
    QByteArray mainPath() const { return server->remotePath(folder->file("QUIRU.GDB")).toUtf8(); }

    void click(QPushButton* button) {
        ASSERT_TRUE(button->isEnabled()) << button->objectName().toStdString();
        button->click();
    }
    static void typeInto(QLineEdit* edit, const QString& text) {
        testing_support::retype(edit, text);
    }
    template <typename Window> Window* show() {
        auto* w = new Window();
        window.reset(w);
        testing_support::activate(w);
        return w;
    }
    // Another workstation: its own attachment to the same database through the same server.
    std::unique_ptr<data::SqlConnection> otherStation() {
        auto station = std::make_unique<data::SqlConnection>();
        station->params() << DM->SQLConnection1->params();
        station->open();
        return station;
    }
    void product(int code, double stock, const char* maximum = "1000") {
        exec(QStringLiteral("insert into TPRODUTO (CODIGO, DESCRICAO, ESTOQUEATUAL, "
                            "ESTOQUE_MAXIMO, PRECO_COMPRA) values (%1, 'P%1', %2, %3, 2.5)")
                 .arg(code)
                 .arg(stock)
                 .arg(maximum));
    }
    double stock(int code) {
        return scalar(
                   QStringLiteral("select ESTOQUEATUAL from TPRODUTO where CODIGO = %1").arg(code))
            .toDouble();
    }
    // "<count> <sum of quantities>" of the product's entries.
    QString entries(int code) {
        return scalar(QStringLiteral("select count(*) || ' ' || cast(coalesce(sum(QUANTIDADE), 0) "
                                     "as integer) from "
                                     "TMOVIMENTACAO where PRODUTO = %1 and TIPO = 'ENTRADA'")
                          .arg(code))
            .toString();
    }
    TFEntrada* entryTyped(int productCode, const QString& quantity) {
        auto* w = show<TFEntrada>();
        click(w->btnNovo);
        typeInto(w->DBEdit2, QString::number(productCode));
        typeInto(w->DBEdit5, quantity);
        return w;
    }
    QStringList errorTexts() const {
        QStringList texts;
        for (const auto& e : dialogs.errors())
            texts << e.text;
        return texts;
    }

    std::unique_ptr<PrivateServer> server;
    testing_support::ScriptedDialogs dialogs;
    std::unique_ptr<QWidget> window;
};

QVariant protocol(data::SqlConnection* connection) {
    return testing_support::scalar(connection, "select MON$REMOTE_PROTOCOL from MON$ATTACHMENTS "
                                               "where MON$ATTACHMENT_ID = current_connection");
}

TEST_F(ServerMode, TheMainDatabaseIsRemoteWhileTheSettingsStayEmbedded) {
    EXPECT_EQ(DM->SQLConnection1->param("Database"), QString::fromUtf8(mainPath()));
    EXPECT_EQ(protocol(DM->SQLConnection1).toString().trimmed(), "TCPv4");
    EXPECT_TRUE(protocol(DM->SQLConnection2).isNull()) << "CONFIG.GDB is opened in-process";
}

TEST_F(ServerMode, AProductWithPictureAndAnEntryRoundTrip) {
    product(1, 10, "100");
    const QString picture = folder->file("caneta.png");
    QImage image(16, 16, QImage::Format_RGB32);
    image.fill(Qt::blue);
    ASSERT_TRUE(image.save(picture));

    auto* products = show<TFProdutos>();
    click(products->btnAlterar);
    dialogs.chooseFile(picture);
    dialogs.answer(true);
    testing_support::press(products, QKeySequence(Qt::Key_F9));
    click(products->btnSalvar);

    TFEntrada* entry = entryTyped(1, "7");
    click(entry->btnSalvar);
    window.reset();
    EXPECT_TRUE(dialogs.errors().empty()) << errorTexts().join('\n').toStdString();

    // What the program reads after it starts again.
    reopen();
    const QImage stored =
        QImage::fromData(scalar("select FOTO from TPRODUTO where CODIGO = 1").toByteArray());
    ASSERT_FALSE(stored.isNull());
    EXPECT_EQ(stored.size(), QSize(16, 16));
    EXPECT_EQ(stored.pixelColor(3, 3), QColor(Qt::blue));
    EXPECT_DOUBLE_EQ(stock(1), 17);
    EXPECT_EQ(entries(1), "1 7");
}

// Another station commits +7 while the limit question is open: the first save is refused, and
// saving again starts from the stored figure.
TEST_F(ServerMode, StockAnotherStationStoredWhileTheLimitQuestionIsOpenIsNeverLost) {
    product(1, 8, "1");
    const auto station = otherStation();
    TFEntrada* w = entryTyped(1, "5");
    dialogs.answer(true, [&] {
        testing_support::exec(
            station.get(), "update TPRODUTO set ESTOQUEATUAL = ESTOQUEATUAL + 7 where CODIGO = 1");
    });
    click(w->btnSalvar);
    ASSERT_EQ(dialogs.errors().size(), 1u);
    EXPECT_TRUE(dialogs.errors()[0].text.startsWith("Outra estação alterou"))
        << dialogs.errors()[0].text.toStdString();
    EXPECT_DOUBLE_EQ(stock(1), 15) << "the other station's figure stands";
    EXPECT_EQ(entries(1), "0 0") << "no movement without its stock";
    EXPECT_TRUE(w->btnSalvar->isEnabled()) << "still editing what was typed";
    EXPECT_EQ(w->DBEdit5->text(), "5");

    dialogs.answer(true);
    click(w->btnSalvar);
    EXPECT_EQ(dialogs.errors().size(), 1u);
    EXPECT_DOUBLE_EQ(stock(1), 20);
    EXPECT_EQ(entries(1), "1 5");
}

// Two stations press "Novo" in the suppliers window, both having read the same rows: the second
// meets the code the first took and stores the next one, silently.
TEST_F(ServerMode, TwoStationsPressingNovoAtOnceStoreTwoCodes) {
    exec("insert into TFORNECEDOR (CODIGO, DESCRICAO) values (1, 'ACME')");
    TDM* first = DM;
    auto* w1 = show<TFFornecedor>();
    auto second = std::make_unique<TDM>();
    DM = second.get();
    auto w2 = std::make_unique<TFFornecedor>();
    testing_support::activate(w2.get());
    const auto novo = [&](TDM* station, TFFornecedor* w, const QString& name) {
        DM = station;
        click(w->btnNovo);
        typeInto(testing_support::find<ui::DBEdit>(w, "DBEdit2"), name);
        click(w->btnSalvar);
    };
    novo(first, w1, "PRIMEIRA");
    novo(second.get(), w2.get(), "SEGUNDA");
    w2.reset();
    second.reset();
    DM = first;
    EXPECT_TRUE(dialogs.errors().empty()) << errorTexts().join('\n').toStdString();
    EXPECT_EQ(scalar("select list(CODIGO || '=' || DESCRICAO, ' ') from (select * from "
                     "TFORNECEDOR order by CODIGO)")
                  .toString(),
              "1=ACME 2=PRIMEIRA 3=SEGUNDA");
}

TEST_F(ServerMode, TheStartupFileMayNameTheShopsOwnDatabaseUser) {
    exec("create user LOJA password 'segredo'");
    for (const char* table : {"TPRODUTO", "TGRUPO", "TSUBGRUPO", "TFORNECEDOR", "TCLIENTE",
                              "TMOVIMENTACAO", "TUSUARIO", "TEMPRESA", "CENTRO_CUSTO", "TVERSAO"})
        exec(QStringLiteral("grant all on %1 to LOJA").arg(table));
    struct Case {
        const char* lines; // after the path
        const char* user;  // who the main connection is; nullptr: refused
    };
    const Case cases[] = {
        {"\nLOJA\nsegredo\n", "LOJA"},
        {"\r\nLOJA\r\nsegredo", "LOJA"},
        {"\nLOJA\nerrada", nullptr},
        {"", "SYSDBA"},
        {"\n\n", "SYSDBA"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.lines);
        DM = nullptr;
        dm.reset();
        folder->writeStartupFile(mainPath() + c.lines);
        try {
            dm = std::make_unique<TDM>();
            DM = dm.get();
            EXPECT_EQ(scalar("select current_user from RDB$DATABASE").toString().trimmed(), c.user);
            // The shop's user works the windows as SYSDBA would.
            exec("delete from TPRODUTO");
            product(1, 3);
            TFEntrada* w = entryTyped(1, "2");
            click(w->btnSalvar);
            window.reset();
            EXPECT_DOUBLE_EQ(stock(1), 5);
        } catch (const data::DatabaseError& e) {
            EXPECT_EQ(c.user, nullptr) << e.fullText().toStdString();
            EXPECT_TRUE(e.message().startsWith("Não foi possível abrir o banco de dados"));
        }
    }
    EXPECT_TRUE(dialogs.errors().empty()) << errorTexts().join('\n').toStdString();
}

// At start, as the program does: the login window's creation opens the databases, and what it
// throws goes to the error box before the program ends.
TEST_F(ServerMode, AnUnreachableServerOrAMissingDatabaseIsToldInPortugueseAtStart) {
    DM = nullptr;
    dm.reset();
    struct Case {
        const char* name;
        bool serverRunning;
        const char* file;
        const char* cause; // the second line of the message
    };
    const Case cases[] = {
        {"server stopped", false, "QUIRU.GDB", "O servidor do banco de dados não respondeu"},
        {"no such database", true, "NADA.GDB", "O arquivo do banco de dados não foi encontrado"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        dialogs.clear();
        c.serverRunning ? server->start() : server->stop();
        folder->writeStartupFile(server->remotePath(folder->file(c.file)).toUtf8());
        EXPECT_FALSE(ui::runGuarded([&] { TFLogin login(folder->path()); }));
        ASSERT_EQ(dialogs.errors().size(), 1u);
        const QStringList lines = dialogs.errors()[0].text.split('\n');
        EXPECT_TRUE(lines.value(0).startsWith("Não foi possível abrir o banco de dados"))
            << lines.value(0).toStdString();
        EXPECT_TRUE(lines.value(1).startsWith(c.cause)) << lines.value(1).toStdString();
    }
}

// The server goes away under the program: every command is told so in Portuguese, and once the
// server is back the next one reconnects and works, without restarting the program.
TEST_F(ServerMode, AServerRestartedUnderTheProgramIsReconnectedToByTheNextCommand) {
    product(1, 10);
    TFEntrada* w = entryTyped(1, "5");
    server->stop();
    click(w->btnSalvar); // finds the connection lost
    click(w->btnSalvar); // its reconnection is refused
    ASSERT_EQ(dialogs.errors().size(), 2u);
    for (const auto& e : dialogs.errors())
        EXPECT_TRUE(e.text.startsWith("A conexão com o banco de dados foi perdida"))
            << e.text.toStdString();
    EXPECT_TRUE(w->btnSalvar->isEnabled()) << "still editing what was typed";

    server->start();
    click(w->btnSalvar);
    EXPECT_EQ(dialogs.errors().size(), 2u) << errorTexts().join('\n').toStdString();
    EXPECT_DOUBLE_EQ(stock(1), 15);
    EXPECT_EQ(entries(1), "1 5");
}

// The server stops between the movement's statement and the product's: the single transaction
// dies with it, and saving again after the restart stores the entry once.
TEST_F(ServerMode, AServerStoppedInsideASaveLeavesNothingHalfStored) {
    product(1, 10);
    TFEntrada* w = entryTyped(1, "5");
    data::SqlQuery::setBeforeExecHook([&](const QString& sql) {
        if (sql.startsWith(QLatin1String("UPDATE TPRODUTO")) && DM->SQLConnection1->inTransaction())
            server->stop();
    });
    click(w->btnSalvar);
    data::SqlQuery::setBeforeExecHook({});
    ASSERT_EQ(dialogs.errors().size(), 1u);
    EXPECT_TRUE(dialogs.errors()[0].text.startsWith("A conexão com o banco de dados foi perdida"))
        << dialogs.errors()[0].text.toStdString();

    server->start();
    EXPECT_DOUBLE_EQ(stock(1), 10) << "this read reconnects";
    EXPECT_EQ(entries(1), "0 0");
    click(w->btnSalvar);
    EXPECT_EQ(dialogs.errors().size(), 1u) << errorTexts().join('\n').toStdString();
    EXPECT_DOUBLE_EQ(stock(1), 15);
    EXPECT_EQ(entries(1), "1 5");
}

// The server goes away halfway through a long read: the rows not yet fetched are an error, not
// the end of the table.
TEST_F(ServerMode, AReadCutShortByTheServerGoingAwayIsAnErrorNotTheEnd) {
    constexpr int kRows = 20000; // far more than the client fetches ahead
    exec(QStringLiteral("insert into TGRUPO (CODIGO, DESCRICAO) select first %1 row_number() "
                        "over (), 'G' from RDB$FIELDS a cross join RDB$FIELDS b")
             .arg(kRows));
    data::SqlQuery read(DM->SQLConnection1);
    read.sql() << "select CODIGO from TGRUPO";
    read.open();
    server->stop();
    int rows = 0;
    try {
        for (; !read.eof(); read.next())
            ++rows;
        ADD_FAILURE() << "ended after " << rows << " rows as if there were no more";
    } catch (const data::DatabaseError& e) {
        EXPECT_TRUE(e.message().startsWith("A conexão com o banco de dados foi perdida"))
            << e.fullText().toStdString();
    }
    EXPECT_LT(rows, kRows);
}

// Two stations, each a program of its own with its own folder, save entries of 1 on one product
// at the same moment; refused saves are saved again, as their users would.
TEST_F(ServerMode, TwoStationsSavingEntriesOnOneProductAtOnceLoseNoStock) {
    product(1, 100);
    constexpr int kSaves = 20;
    ProgramFolder stations[2];
    QProcess drivers[2];
    for (int i = 0; i < 2; ++i) {
        stations[i].writeStartupFile(mainPath());
        drivers[i].setProcessChannelMode(QProcess::ForwardedErrorChannel);
        drivers[i].start(QStringLiteral(QUIRU_RELIABILITY_DRIVER),
                         {"entries", stations[i].path(), "1", "1", QString::number(kSaves)});
    }
    int saved = 0;
    for (QProcess& driver : drivers) {
        ASSERT_TRUE(driver.waitForFinished(600000));
        const QString said = QString::fromUtf8(driver.readAllStandardOutput());
        EXPECT_EQ(driver.exitCode(), 0) << said.toStdString();
        const QString last = said.trimmed().split('\n').last();
        ASSERT_TRUE(last.startsWith("saved ")) << said.toStdString();
        saved += last.section(' ', 1, 1).toInt();
    }
    EXPECT_EQ(entries(1), QStringLiteral("%1 %1").arg(saved)) << "every save told stored, once";
    EXPECT_DOUBLE_EQ(stock(1), 100 + saved) << "initial stock plus the entries";
    EXPECT_GT(saved, kSaves) << "both stations stored entries";
}

} // namespace

// The server goes away while the movements are still being read a slice at a time: the command
// that needs them all is told, and once the server is back they are read again, whole, at the
// row the window was on.
TEST_F(ServerMode, ATableCutShortWhileReadInSlicesIsReadAgainWholeOnceTheServerIsBack) {
    constexpr int kRows = 20000;
    exec(QStringLiteral("insert into TMOVIMENTACAO (CODIGO, TIPO) select first %1 row_number() "
                        "over (), 'ENTRADA' from RDB$FIELDS a cross join RDB$FIELDS b")
             .arg(kRows));
    data::ClientDataSet* movements = DM->TBMOVIMENTACAO;
    movements->close();
    movements->setReadInSlices(true, 100);
    movements->open();
    movements->moveTo(50);
    server->stop();
    try {
        movements->readAll();
        ADD_FAILURE() << "read " << movements->rowsRead() << " rows without the server";
    } catch (const data::DatabaseError& e) {
        EXPECT_TRUE(e.message().startsWith("A conexão com o banco de dados foi perdida"))
            << e.fullText().toStdString();
    }
    EXPECT_FALSE(movements->wholeRead());

    server->start();
    EXPECT_EQ(movements->recordCount(), kRows);
    EXPECT_TRUE(movements->wholeRead());
    EXPECT_EQ(movements->recNo(), 50);
}
