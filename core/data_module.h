#pragma once
// The data module: both connections and, for every table, the shared cached dataset and its data
// source. Every window works with these; a row one window positions is the row the next sees.
#include "platform/data/client_dataset.h"
#include "platform/data/data_source.h"
#include "platform/data/sql_connection.h"
#include "platform/data/sql_query.h"
#include <QObject>

class TDM : public QObject {
    Q_OBJECT
public:
    // Opens the main database (path from the start-up file) and then the settings database.
    // Throws data::DatabaseError naming the file when one cannot be opened.
    explicit TDM(QObject* owner = nullptr);
    ~TDM() override;

    // Leaves both databases at once, as when the program is told to end: an edit not yet
    // stored is dropped, every dataset and both connections are closed.
    void closeDatabases() noexcept;

    data::SqlConnection* SQLConnection1; // "QUIRU": the main database
    data::SqlConnection* SQLConnection2; // "CONFIGESTOQUE": the settings database

    data::ClientDataSet* TBFORNECEDOR;
    data::ClientDataSet* TBPRODUTOS;
    data::ClientDataSet* TBGRUPO;
    data::ClientDataSet* TBSUBGRUPO;
    data::ClientDataSet* TBMOVIMENTACAO;
    data::ClientDataSet* TBUSUARIO;
    data::ClientDataSet* TBVERSAO;
    data::ClientDataSet* TBCLIENTE;
    data::ClientDataSet* TBEMPRESA;
    data::ClientDataSet* TBCENTRO;
    data::ClientDataSet* TBCONFIG;

    data::DataSource* DSFORNECEDOR;
    data::DataSource* DSPRODUTOS;
    data::DataSource* DSGRUPO;
    data::DataSource* DSSUBGRUPO;
    data::DataSource* DSMOVIMENTACAO;
    data::DataSource* DSUSUARIO;
    data::DataSource* DSVERSAO;
    data::DataSource* DSCLIENTE;
    data::DataSource* DSEMPRESA;
    data::DataSource* DSCENTRO;
    data::DataSource* DSCONFIG;

    // Makes the index on exactly these fields and options current, adding "IndexN" when the
    // dataset has none yet.
    void OrdenarDataSet(data::ClientDataSet* dataset, const QString& fields,
                        data::IndexOptions options = 0);

private:
    void DataModuleCreate();
    data::ClientDataSet* makeDataSet(const QString& stem, data::SqlConnection* connection,
                                     const QString& table, data::DataSource*& source);
};

// The largest quantity, price or stock the program takes: with at most six decimals, any such
// value added to a stock and taken away again gives the stock back exactly.
inline constexpr double kLargestAmount = 999999999.0;

// The two ways a new row's code is chosen: a "select max(codigo)" query's result + 1, or a walk
// of the cached rows keeping one more than the largest code. Both give 1 for an empty table.
int nextCodeByQuery(data::SqlQuery& query);
int nextCodeByScan(data::ClientDataSet& dataset);
