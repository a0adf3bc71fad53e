#include "stock/stock_rule.h"
#include <cmath>

namespace stock {
namespace {
double sign(Kind kind) {
    return kind == Kind::Entry ? 1.0 : -1.0;
}
} // namespace

StockPlan planNew(Kind kind, const Movement& now) {
    return {{{now.product, sign(kind) * now.quantity}}, true};
}

StockPlan planChange(Kind kind, const Movement& before, const Movement& now) {
    if (now.product == before.product) {
        if (now.quantity == before.quantity)
            return {}; // only the movement's other columns changed
        return {{{now.product, sign(kind) * (now.quantity - before.quantity)}}, true};
    }
    // Booked on another product now: the former one gets its quantity back, the new one takes
    // the whole quantity and is the one the limit question is about.
    return {
        {{before.product, -sign(kind) * before.quantity}, {now.product, sign(kind) * now.quantity}},
        true};
}

StockPlan planDelete(Kind kind, const Movement& before) {
    return {{{before.product, -sign(kind) * before.quantity}}, false};
}

double bookedStock(double stock, double change) {
    return std::round((stock + change) * 1e6) / 1e6;
}

bool limitQuestionDue(Kind kind, double newStock, double minimum, double maximum) {
    return kind == Kind::Entry ? newStock > maximum : minimum > newStock;
}

} // namespace stock
