#pragma once
// A temporary program folder around a copy of a generated shop: the shop as QUIRU.GDB, an empty
// settings database as CONFIG.GDB and an empty start-up file, so the data module opens them as
// the program would. The cached shop is never written to; the folder goes with the object.
#include <QString>
#include <QTemporaryDir>
#include <string>

namespace bench {

class ShopProgramFolder {
public:
    ShopProgramFolder(const std::string& shop, const std::string& settings);
    const QString& path() const { return path_; } // with a trailing '/'

private:
    QTemporaryDir dir_;
    QString path_;
};

} // namespace bench
