#include "bench/shop_program_folder.h"
#include <QFile>
#include <stdexcept>

namespace bench {

namespace {
void copyWritable(const QString& from, const QString& to) {
    if (!QFile::copy(from, to))
        throw std::runtime_error("cannot copy " + from.toStdString() + " to " + to.toStdString());
    QFile(to).setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
}
} // namespace

ShopProgramFolder::ShopProgramFolder(const std::string& shop, const std::string& settings) {
    if (!dir_.isValid())
        throw std::runtime_error("no temporary folder");
    path_ = dir_.path() + '/';
    copyWritable(QString::fromStdString(shop), path_ + "QUIRU.GDB");
    copyWritable(QString::fromStdString(settings), path_ + "CONFIG.GDB");
    QFile startup(path_ + "ConfiguracoesQUIRU.txt");
    if (!startup.open(QIODevice::WriteOnly | QIODevice::Truncate))
        throw std::runtime_error("cannot write the start-up file");
}

} // namespace bench
