#include "imports/import_file.h"
#include "platform/spreadsheet/xlsx_file.h"
#include <QFile>
#include <QFileInfo>

namespace imports {

namespace {
// A text table beyond this is no shop's register but the wrong file.
constexpr qint64 kLargestText = qint64(512) << 20;
} // namespace

ImportFile readImportFile(const QString& path, std::optional<spreadsheet::CsvFormat> format,
                          const spreadsheet::ReadProgress& progress) {
    ImportFile file;
    file.path = path;
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("xls"))
        throw spreadsheet::FileError(
            QStringLiteral("Planilhas .xls (do Excel 97 a 2003) não são lidas. Abra-a no "
                           "programa de planilhas e salve-a como .xlsx ou .csv."));
    if (suffix == QLatin1String("xlsx")) {
        file.sheet = spreadsheet::readXlsx(path, progress);
    } else if (suffix == QLatin1String("csv") || suffix == QLatin1String("txt")) {
        QFile in(path);
        if (!in.open(QIODevice::ReadOnly))
            throw spreadsheet::FileError(QStringLiteral("Não foi possível abrir o arquivo %1: %2")
                                             .arg(path, in.errorString()));
        if (in.size() > kLargestText)
            throw spreadsheet::FileError(
                QStringLiteral("O arquivo %1 é grande demais para ser importado.").arg(path));
        const QByteArray bytes = in.readAll();
        file.text = true;
        file.format = format.value_or(spreadsheet::detectCsvFormat(bytes));
        file.sheet = spreadsheet::readCsv(bytes, file.format, progress);
    } else {
        throw spreadsheet::FileError(QStringLiteral("O arquivo deve ser uma planilha .xlsx ou um "
                                                    "texto .csv ou .txt."));
    }
    file.table = spreadsheet::findTable(file.sheet);
    return file;
}

} // namespace imports
