#pragma once
// The statements the entry window's commands cannot do without, run bare through the data layer
// on the window's own connection, each group committed in one transaction: the floor under each
// command. Every round leaves the database as it found it.
//   Novo     select max(codigo) from TMOVIMENTACAO, INSERT of the new movement
//   Salvar   UPDATE of the product's ESTOQUEATUAL, INSERT of a whole movement
//   Excluir  DELETE of that movement, UPDATE of the product's ESTOQUEATUAL
#include "bench/step_timings.h"

namespace data {
class ClientDataSet;
class SqlConnection;
} // namespace data

namespace bench {

struct StatementFloor {
    StepTimings novo, salvar, excluir;
    StepTimings maxCode; // the select max(codigo) inside Novo's group, alone
};

StatementFloor timeMovementStatements(data::SqlConnection& connection, int product, int repeat);

// Closing and opening the dataset again, the whole table read back: what a "Novo" that re-read
// the movements would pay. For reference only.
StepTimings timeReread(data::ClientDataSet& dataSet, int repeat);

} // namespace bench
