#pragma once
// What a scanned bar code does in a movement window, decided from the window's state and the
// products found with that code. The window asks this and carries the step out.
#include <QVariant>
#include <vector>

namespace stock {

enum class ScanStep {
    StartMovement,  // browsing: "Novo", then the product, its price and quantity 1
    FillProduct,    // editing a movement that names no product yet: the product, price, 1
    AddOne,         // editing a movement of this very product: one more
    AskToSaveFirst, // editing a movement of another product: save it and start the next?
    UnknownCode,    // no product has the code: nothing changes
    ChooseProduct,  // several products have it: the user picks one, then decide again
};

struct ScanSituation {
    bool editing = false;
    QVariant product; // the movement's product while editing; null when none yet
};

ScanStep decideScan(const ScanSituation& window, const std::vector<int>& productsFound);

} // namespace stock
