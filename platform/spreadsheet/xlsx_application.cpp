#include "platform/spreadsheet/xlsx_application.h"
#include "platform/os/os.h"
#include "platform/spreadsheet/cell_spool.h"
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QScopeGuard>
#include <QStandardPaths>
#include <QTemporaryFile>
#include <stdexcept>
#include <xlsxwriter.h>

namespace spreadsheet {

namespace {

const QString kXlsxType =
    QStringLiteral("application/vnd.openxmlformats-officedocument.spreadsheetml.sheet");
constexpr int kMaxWidth = 255; // the widest a column can be

[[noreturn]] void fail(const QString& text) {
    throw std::runtime_error(text.toStdString());
}

// Roughly how many digit widths a text takes in the sheet's font: capitals are wider.
double textWidth(const QString& text) {
    double width = 0;
    for (QChar c : text)
        width += c.isUpper() ? 1.2 : 1.0;
    return width;
}

QString fileSafe(QString name) {
    for (QChar& c : name)
        if (QStringView(u"/\\:*?\"<>|").contains(c) || c.unicode() < 32)
            c = u'-';
    name = name.trimmed();
    return name.isEmpty() ? QStringLiteral("Planilha") : name;
}

// The application that hands .xlsx files to the desktop: its registered program, if any.
bool desktopHasXlsxProgram() {
    const QString xdgMime = QStandardPaths::findExecutable(QStringLiteral("xdg-mime"));
    if (xdgMime.isEmpty() || QStandardPaths::findExecutable(QStringLiteral("xdg-open")).isEmpty())
        return false;
    QProcess query;
    query.start(xdgMime, {QStringLiteral("query"), QStringLiteral("default"), kXlsxType});
    if (!query.waitForFinished(5000)) {
        query.kill();
        query.waitForFinished(1000);
        return false;
    }
    return query.exitCode() == 0 && !query.readAllStandardOutput().trimmed().isEmpty();
}

} // namespace

bool openWithDesktop(const QString& path) {
    // Watched: an opener that finds no program for the file ends at once with a failure.
    if (desktopHasXlsxProgram() &&
        os::startWatched(QStandardPaths::findExecutable(QStringLiteral("xdg-open")), {path}))
        return true;
    for (const char* calc : {"localc", "libreoffice", "soffice"}) {
        const QString program = QStandardPaths::findExecutable(QString::fromLatin1(calc));
        if (program.isEmpty())
            continue;
        const QStringList arguments = calc == std::string_view("localc")
                                          ? QStringList{path}
                                          : QStringList{QStringLiteral("--calc"), path};
        if (os::startWatched(program, arguments))
            return true;
    }
    return false;
}

XlsxApplication::XlsxApplication() : XlsxApplication(Options{}) {}

XlsxApplication::XlsxApplication(Options options) : options_(std::move(options)) {
    if (options_.folder.isEmpty())
        options_.folder = QDir::tempPath();
    if (!options_.opener)
        options_.opener = openWithDesktop;
    if (!options_.now)
        options_.now = [] { return QDateTime::currentDateTime(); };
}

XlsxApplication::~XlsxApplication() = default;

void XlsxApplication::add(int /*count*/) {
    // A new workbook replaces one never finished: its cells are dropped, nothing is written.
    spool_ = std::make_unique<CellSpool>(options_.folder);
    widths_.clear();
    rows_ = 0;
}

void XlsxApplication::setCell(int row, int column, const QString& value) {
    if (!spool_)
        fail(QStringLiteral("Não há pasta de trabalho aberta na planilha."));
    if (row < 1 || row > kMaxRows || column < 1 || column > kMaxColumns)
        fail(QStringLiteral("A planilha comporta até %1 linhas e %2 colunas; a célula da linha %3, "
                            "coluna %4 não cabe nela.")
                 .arg(kMaxRows)
                 .arg(kMaxColumns)
                 .arg(row)
                 .arg(column));
    rows_ = std::max(rows_, row);
    if (std::size_t(column) > widths_.size())
        widths_.resize(std::size_t(column), 0);
    int& width = widths_[std::size_t(column - 1)];
    if (value.size() * 1.2 > width)
        width = std::max(width, int(textWidth(value) + 0.999));
    spool_->add(std::uint32_t(row - 1), std::uint32_t(column - 1), cellValue(value));
}

QString XlsxApplication::finalName() const {
    return fileSafe(caption_) + u' ' +
           options_.now().toString(QStringLiteral("dd-MM-yyyy HH'h'mm'm'ss's'"));
}

void XlsxApplication::autoFit() {
    if (!spool_)
        fail(QStringLiteral("Não há pasta de trabalho aberta na planilha."));
    const QDir folder(options_.folder);
    QString part;
    {
        QTemporaryFile file(folder.filePath(QStringLiteral(".planilha-XXXXXX.xlsx.part")));
        if (!file.open())
            fail(QStringLiteral("Não foi possível gravar a planilha em \"%1\": %2")
                     .arg(QDir::toNativeSeparators(options_.folder), file.errorString()));
        file.setAutoRemove(false);
        part = file.fileName();
    }
    try {
        write(part);
    } catch (...) {
        QFile::remove(part);
        throw;
    }
    spool_.reset(); // the workbook is finished
    const QString name = finalName();
    QString target;
    for (int copy = 1;; ++copy) {
        target = folder.filePath(copy == 1 ? name + QStringLiteral(".xlsx")
                                           : QStringLiteral("%1 (%2).xlsx").arg(name).arg(copy));
        if (!QFile::exists(target) && QFile::rename(part, target))
            break;
        if (copy == 1000) {
            QFile::remove(part);
            fail(QStringLiteral("Não foi possível dar nome à planilha em \"%1\".")
                     .arg(QDir::toNativeSeparators(options_.folder)));
        }
    }
    files_ << target;
    if (visible_ && !options_.opener(target))
        fail(QStringLiteral("A planilha foi gravada em \"%1\", mas nenhum programa de planilhas "
                            "foi encontrado para abri-la. Abra o arquivo com o programa de sua "
                            "preferência.")
                 .arg(QDir::toNativeSeparators(target)));
}

void XlsxApplication::write(const QString& path) {
    auto failed = [&](lxw_error error) {
        fail(QStringLiteral("Não foi possível gravar a planilha em \"%1\". Verifique se há "
                            "espaço livre no disco e permissão de escrita na pasta. (%2)")
                 .arg(QDir::toNativeSeparators(options_.folder),
                      QString::fromUtf8(lxw_strerror(error))));
    };
    QByteArray tmpdir = QFile::encodeName(options_.folder);
    lxw_workbook_options workbookOptions{};
    workbookOptions.constant_memory = LXW_TRUE;
    workbookOptions.tmpdir = tmpdir.data();
    lxw_workbook* workbook =
        workbook_new_opt(QFile::encodeName(path).constData(), &workbookOptions);
    if (!workbook)
        failed(LXW_ERROR_CREATING_TMPFILE);
    bool closed = false;
    const auto closeOnError = qScopeGuard([&] {
        if (!closed)
            workbook_close(workbook);
    });

    QByteArray title = caption_.toUtf8();
    lxw_doc_properties properties{};
    properties.title = title.data();
    workbook_set_properties(workbook, &properties);
    lxw_worksheet* sheet = workbook_add_worksheet(workbook, "Planilha1");
    if (!sheet)
        failed(LXW_ERROR_MEMORY_MALLOC_FAILED);
    auto numberFormat = [&](const char* picture) {
        lxw_format* format = workbook_add_format(workbook);
        format_set_num_format(format, picture);
        return format;
    };
    lxw_format* const date = numberFormat("dd/mm/yyyy");
    lxw_format* const time = numberFormat("hh:mm:ss");
    lxw_format* const shortTime = numberFormat("hh:mm");
    lxw_format* const wholeCode = numberFormat("0");
    for (std::size_t c = 0; c < widths_.size(); ++c)
        if (widths_[c] > 0)
            worksheet_set_column(sheet, lxw_col_t(c), lxw_col_t(c),
                                 std::min(widths_[c] + 1, kMaxWidth), nullptr);

    std::uint32_t rowsWritten = 0;
    spool_->replay([&](std::uint32_t row, std::span<const SpooledCell> cells) {
        // A large sheet takes seconds to write: the progress is told (it keeps the windows
        // painted and may stop the writing); without one, windows stay painted all the same.
        if (++rowsWritten % 2048 == 0) {
            if (writeProgress_) {
                if (!writeProgress_(int(rowsWritten), rows_))
                    throw Cancelled{};
            } else if (QCoreApplication::instance()) {
                QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
            }
        }
        for (const SpooledCell& cell : cells) {
            const CellValue& v = cell.value;
            lxw_error error = LXW_NO_ERROR;
            using Kind = CellValue::Kind;
            switch (v.kind) {
            case Kind::Empty:
                break;
            case Kind::Number:
                error =
                    worksheet_write_number(sheet, row, lxw_col_t(cell.column), v.number, nullptr);
                break;
            case Kind::WholeCode:
            case Kind::Date:
            case Kind::Time:
            case Kind::ShortTime: {
                lxw_format* format = v.kind == Kind::WholeCode ? wholeCode
                                     : v.kind == Kind::Date    ? date
                                     : v.kind == Kind::Time    ? time
                                                               : shortTime;
                error =
                    worksheet_write_number(sheet, row, lxw_col_t(cell.column), v.number, format);
                break;
            }
            case Kind::Text:
                error = worksheet_write_string(sheet, row, lxw_col_t(cell.column), v.text.c_str(),
                                               nullptr);
                break;
            }
            if (error != LXW_NO_ERROR)
                failed(error);
        }
    });
    closed = true;
    if (const lxw_error error = workbook_close(workbook); error != LXW_NO_ERROR)
        failed(error);
}

} // namespace spreadsheet
