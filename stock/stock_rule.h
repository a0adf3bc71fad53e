#pragma once
// How a movement moves stock: which products change by how much when a movement is stored,
// changed or deleted, and when the limit question is due. The windows ask this and book it.
#include <QVariant>
#include <vector>

namespace stock {

enum class Kind { Entry, Exit };

struct Movement {
    QVariant product; // the product's code; null when none was given
    double quantity = 0;
};

struct StockMove {
    QVariant product;
    double change = 0; // added to the product's current stock
};

struct StockPlan {
    std::vector<StockMove> moves; // in booking order
    // Whether the last move's product must be checked against its limit before storing.
    bool checkLimit = false;
};

StockPlan planNew(Kind kind, const Movement& now);
StockPlan planChange(Kind kind, const Movement& before, const Movement& now);
StockPlan planDelete(Kind kind, const Movement& before);

// The product's stock after a change, kept to six decimals: a quantity booked and taken back
// gives the stock it started from exactly.
double bookedStock(double stock, double change);

// An entry may not take the stock above the maximum, an exit not below the minimum, without
// the user's consent.
bool limitQuestionDue(Kind kind, double newStock, double minimum, double maximum);

} // namespace stock
