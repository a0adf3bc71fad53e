#pragma once
// Drives the stock entry window as a person does, over the data module DM, and times its
// commands: Novo, then the product and the quantity typed, Salvar, then Excluir on that same
// movement, so each round leaves the database as it found it.
#include "bench/step_timings.h"

namespace data {
class SqlConnection;
}

namespace bench {

struct EntryWindowTimings {
    double show = 0;     // show() with FormShow inside, and the first paint
    double restRead = 0; // the event loop turned until every movement and product is read
    StepTimings novo, salvar, excluir;
    StepTimings repaint; // the events each command left behind (paint, focus), all commands
};

// `product` must take one more unit without going over its maximum stock: the limit question
// is not scripted. Throws when a command shows an error, a message or an unexpected question.
EntryWindowTimings timeEntryWindow(int product, int repeat);

// The product with the highest code (the last a scan of the cached products reaches) that takes
// one more unit without passing its maximum stock, so that no limit question comes up.
int quietProduct(data::SqlConnection& connection);

} // namespace bench
