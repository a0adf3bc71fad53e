#pragma once
// Which field a sheet's column fills, from its header: names compared without accents, case,
// spaces, punctuation and the little words "de", "do", "da" ("Preço de venda", "PRECO_VENDA" and
// "preço venda" are one name). A header naming nothing is tried again without its first words,
// so "Contato E-mail" fills the e-mail.
#include "imports/import_target.h"

namespace imports {

// The form names are compared in: "PRECOVENDA".
QString headerKey(const QString& header);

// The column each header fills ("" where none), each field taken by its first header only.
QStringList automaticMapping(const Target& target, const QStringList& headers);

} // namespace imports
