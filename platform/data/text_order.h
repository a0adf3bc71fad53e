#pragma once
// Brazilian ordering of text: accents and case do not separate letters (Á sorts with A, ç with
// c); only equal words fall back to the exact characters so the order is stable.
#include <QStringView>

namespace data {

char16_t foldForOrder(char16_t c);
int compareText(QStringView a, QStringView b);

} // namespace data
