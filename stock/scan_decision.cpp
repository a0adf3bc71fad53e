#include "stock/scan_decision.h"

namespace stock {

ScanStep decideScan(const ScanSituation& window, const std::vector<int>& productsFound) {
    if (productsFound.empty())
        return ScanStep::UnknownCode;
    if (productsFound.size() > 1)
        return ScanStep::ChooseProduct;
    if (!window.editing)
        return ScanStep::StartMovement;
    bool named = false;
    const int product = window.product.toInt(&named);
    if (!named || product <= 0)
        return ScanStep::FillProduct;
    return product == productsFound.front() ? ScanStep::AddOne : ScanStep::AskToSaveFirst;
}

} // namespace stock
