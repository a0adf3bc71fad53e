#pragma once
// Fresh databases with the data module open, and the steps of an import as the window takes
// them: read a file, map its columns by their headers, plan, store.
#include "imports/header_names.h"
#include "imports/import_file.h"
#include "imports/import_plan.h"
#include "imports/import_store.h"
#include "platform/data/sql_query.h"
#include "tests/support/program_folder.h"
#include <QFile>
#include <QTemporaryDir>

class ImportFixture : public testing_support::DataModuleTest {
protected:
    static QString sheetFile(const char* name) {
        return QStringLiteral(QUIRU_TEST_DATA_DIR "/platform/spreadsheet/files/") +
               QString::fromLatin1(name);
    }

    // A CSV of the test's own, UTF-8, ';' between fields.
    QString csv(const QString& text) {
        const QString path = dir.filePath(QStringLiteral("planilha%1.csv").arg(++files_));
        QFile out(path);
        out.open(QIODevice::WriteOnly);
        out.write(text.toUtf8());
        return path;
    }

    imports::ImportPlan plan(const QString& path, imports::Register what,
                             QStringList keys = {
                                 QStringLiteral("CODIGO"), QStringLiteral("CODIGOBARRAS"),
                                 QStringLiteral("CNPJ"), QStringLiteral("CPF"),
                                 QStringLiteral("DESCRICAO"), QStringLiteral("NOME")}) {
        file = imports::readImportFile(path);
        const QStringList mapping =
            imports::automaticMapping(imports::targetOf(what), file.table.headers);
        return imports::planImport(file.sheet, file.table, {what, mapping, keys},
                                   *dm->SQLConnection1);
    }

    // The rows a query gives, one per line, values between '|'.
    std::string rows(const QString& sql) {
        data::SqlQuery q(dm->SQLConnection1);
        q.sql() << sql;
        QString text;
        for (q.open(); !q.eof(); q.next()) {
            QStringList values;
            for (int c = 0; c < q.columnCount(); ++c)
                values << q.value(c).toString();
            text += values.join('|') + '\n';
        }
        return text.toStdString();
    }

    // What the preview says of each row: status, code, and the reason when refused.
    static std::string outcome(const imports::ImportPlan& plan) {
        QString text;
        for (const auto& row : plan.rows)
            text += QStringLiteral("%1 %2 %3%4\n")
                        .arg(row.sheetRow + 1)
                        .arg(imports::statusText(row.status))
                        .arg(row.code)
                        .arg(row.reason.isEmpty() ? QString() : ": " + row.reason);
        return text.toStdString();
    }

    QTemporaryDir dir;
    imports::ImportFile file;

private:
    int files_ = 0;
};
