#pragma once
// Brazilian ordering of text: accents and case do not separate letters (Á sorts with A, ç with
// c); only equal words fall back to the exact characters so the order is stable.
#include <QStringView>

namespace data {

char16_t foldForOrder(char16_t c);
int compareText(QStringView a, QStringView b);

// An SQL expression that folds a text column as compareText does for the letters Portuguese and
// its neighbours write (case, and the accents of Latin-1): a database index over it sends rows
// in nearly this order. Other letters keep their code there, never an error.
QString foldForOrderSql(const QString& column);

} // namespace data
