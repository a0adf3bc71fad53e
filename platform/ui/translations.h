#pragma once
#include <QCoreApplication>

namespace ui {

// Loads Qt's own Brazilian Portuguese texts (qtbase_pt_BR.qm), so that standard buttons read
// "Sim" and "Não". Returns false when the translation is not installed.
bool installPortugueseTranslations(QCoreApplication& app);

} // namespace ui
