#include "reports/label_sheet.h"
#include "platform/data/errors.h"
#include "platform/data/sql_connection.h"
#include "platform/data/sql_query.h"

namespace {
constexpr double kSlack = 1e-6; // mm
}

bool LabelSheet::fits() const {
    const double width = left + columns * label.width() + (columns - 1) * across;
    const double height = top + rows * label.height() + (rows - 1) * down;
    return top >= 0 && left >= 0 && across >= 0 && down >= 0 && width <= kPage.width() + kSlack &&
           height <= kPage.height() + kSlack;
}

const std::vector<LabelSheet>& labelSheets() {
    static const std::vector<LabelSheet> sheets = {
        {QStringLiteral("3X10"),
         QStringLiteral("A4, 3 × 10 etiquetas de 63,5 × 25,4 mm"),
         3,
         10,
         {63.5, 25.4},
         21.5,
         7.2,
         2.5,
         0},
        {QStringLiteral("4X16"),
         QStringLiteral("A4, 4 × 16 etiquetas de 48,5 × 16,9 mm"),
         4,
         16,
         {48.5, 16.9},
         13.3,
         8,
         0,
         0},
        {QStringLiteral("2X7"),
         QStringLiteral("A4, 2 × 7 etiquetas de 99,1 × 38,1 mm"),
         2,
         7,
         {99.1, 38.1},
         15.1,
         4.7,
         2.5,
         0},
    };
    return sheets;
}

RememberedSheets rememberedSheets(data::SqlConnection& settings) {
    RememberedSheets remembered{labelSheets(), 0};
    try {
        data::SqlQuery read(&settings);
        read.sql() << QStringLiteral("SELECT MODELO, MARGEM_SUPERIOR, MARGEM_ESQUERDA, "
                                     "ESPACO_HORIZONTAL, ESPACO_VERTICAL, EM_USO FROM TETIQUETA");
        for (read.open(); !read.eof(); read.next()) {
            for (std::size_t i = 0; i < remembered.sheets.size(); ++i) {
                LabelSheet& sheet = remembered.sheets[i];
                if (sheet.model != read.value(0).toString().trimmed())
                    continue;
                // A value never stored keeps the usual one.
                auto take = [&](int column, double& value) {
                    if (!read.value(column).isNull())
                        value = read.value(column).toDouble();
                };
                take(1, sheet.top);
                take(2, sheet.left);
                take(3, sheet.across);
                take(4, sheet.down);
                if (read.value(5).toString() == QLatin1String("SIM"))
                    remembered.inUse = int(i);
            }
        }
    } catch (const data::DataError&) {
        return {labelSheets(), 0}; // the labels still print, with the usual margins
    }
    return remembered;
}

void rememberSheet(data::SqlConnection& settings, const LabelSheet& sheet) {
    data::SqlConnection::Transaction transaction(settings);
    data::SqlQuery store(&settings);
    store.sql() << QStringLiteral("UPDATE OR INSERT INTO TETIQUETA (MODELO, MARGEM_SUPERIOR, "
                                  "MARGEM_ESQUERDA, ESPACO_HORIZONTAL, ESPACO_VERTICAL, EM_USO)")
                << QStringLiteral("VALUES (:modelo, :superior, :esquerda, :horizontal, "
                                  ":vertical, 'SIM') MATCHING (MODELO)");
    store.setText(QStringLiteral("modelo"), sheet.model);
    store.setFloat(QStringLiteral("superior"), sheet.top);
    store.setFloat(QStringLiteral("esquerda"), sheet.left);
    store.setFloat(QStringLiteral("horizontal"), sheet.across);
    store.setFloat(QStringLiteral("vertical"), sheet.down);
    store.exec();
    data::SqlQuery others(&settings);
    others.sql() << QStringLiteral("UPDATE TETIQUETA SET EM_USO = 'NAO' WHERE MODELO <> :modelo");
    others.setText(QStringLiteral("modelo"), sheet.model);
    others.exec();
    transaction.commit();
}
