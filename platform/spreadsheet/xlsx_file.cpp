#include "platform/spreadsheet/xlsx_file.h"
#include <QDateTime>
#include <QFile>
#include <QHash>
#include <QXmlStreamReader>
#include <charconv>
#include <zip.h>

namespace spreadsheet {

namespace {

constexpr int kMaxRows = 1048576;
constexpr int kMaxColumns = 16384;
// A part that unpacks beyond this is no sheet a shop keeps, but a file built to fill the memory.
constexpr zip_uint64_t kLargestPart = zip_uint64_t(1) << 30;

[[noreturn]] void notAWorkbook(const QString& why) {
    throw FileError(QStringLiteral("O arquivo não é uma planilha .xlsx válida (%1).").arg(why));
}

class Package {
public:
    explicit Package(const QString& path) {
        int error = 0;
        zip_ = zip_open(QFile::encodeName(path).constData(), ZIP_RDONLY, &error);
        if (!zip_) {
            if (error == ZIP_ER_OPEN || error == ZIP_ER_NOENT || error == ZIP_ER_READ)
                throw FileError(QStringLiteral("Não foi possível abrir o arquivo %1.").arg(path));
            notAWorkbook(QStringLiteral("não é um pacote zip"));
        }
    }
    ~Package() { zip_discard(zip_); }
    Package(const Package&) = delete;
    Package& operator=(const Package&) = delete;

    bool has(const QString& name) const { return locate(name) >= 0; }

    // Walks the part's XML, unpacked a piece at a time; fn(reader) at every token. done(bytes)
    // after each piece, with the part's whole size.
    template <typename Fn>
    void walk(const QString& name, Fn&& fn,
              const std::function<void(std::int64_t, std::int64_t)>& done = {}) const {
        const zip_int64_t index = locate(name);
        if (index < 0)
            notAWorkbook(QStringLiteral("falta a parte %1").arg(name));
        zip_stat_t stat;
        zip_stat_init(&stat);
        if (zip_stat_index(zip_, zip_uint64_t(index), 0, &stat) != 0 ||
            !(stat.valid & ZIP_STAT_SIZE) || stat.size > kLargestPart)
            notAWorkbook(QStringLiteral("a parte %1 é grande demais").arg(name));
        zip_file_t* file = zip_fopen_index(zip_, zip_uint64_t(index), 0);
        if (!file)
            notAWorkbook(QStringLiteral("a parte %1 não pôde ser lida").arg(name));
        const std::unique_ptr<zip_file_t, int (*)(zip_file_t*)> closer(file, zip_fclose);
        QXmlStreamReader xml;
        QByteArray chunk(256 * 1024, Qt::Uninitialized);
        std::int64_t unpacked = 0;
        auto feed = [&] {
            const zip_int64_t n = zip_fread(file, chunk.data(), zip_uint64_t(chunk.size()));
            if (n < 0)
                notAWorkbook(QStringLiteral("a parte %1 está danificada").arg(name));
            if (n == 0)
                return false;
            unpacked += n;
            xml.addData(QByteArray(chunk.constData(), qsizetype(n)));
            if (done)
                done(unpacked, std::int64_t(stat.size));
            return true;
        };
        feed();
        for (;;) {
            xml.readNext();
            if (xml.hasError()) {
                if (xml.error() == QXmlStreamReader::PrematureEndOfDocumentError && feed())
                    continue;
                notAWorkbook(QStringLiteral("XML inválido em %1: %2").arg(name, xml.errorString()));
            }
            if (xml.tokenType() == QXmlStreamReader::EndDocument)
                return;
            fn(xml);
        }
    }

private:
    zip_int64_t locate(const QString& name) const {
        return zip_name_locate(zip_, name.toUtf8().constData(), ZIP_FL_ENC_GUESS);
    }
    zip_t* zip_ = nullptr;
};

bool isStart(const QXmlStreamReader& xml, QLatin1StringView local) {
    return xml.isStartElement() && xml.name() == local;
}
bool isEnd(const QXmlStreamReader& xml, QLatin1StringView local) {
    return xml.isEndElement() && xml.name() == local;
}

// A part's name from a relationship's target, relative to the folder of the part that points.
QString resolve(const QString& folder, const QString& target) {
    if (target.startsWith('/'))
        return target.mid(1);
    QStringList parts = folder.isEmpty() ? QStringList() : folder.split('/');
    for (const QString& piece : target.split('/')) {
        if (piece == QLatin1String(".."))
            parts.removeLast();
        else if (piece != QLatin1String("."))
            parts << piece;
    }
    return parts.join('/');
}

QString folderOf(const QString& part) {
    const qsizetype slash = part.lastIndexOf('/');
    return slash < 0 ? QString() : part.left(slash);
}

// Relationship ids to part names, and the part of each type (the last word of the type's URI).
struct Relations {
    QHash<QString, QString> byId;
    QHash<QString, QString> byType;
};

Relations relations(const Package& package, const QString& part) {
    const QString folder = folderOf(part);
    const QString name = (folder.isEmpty() ? QString() : folder + '/') + QStringLiteral("_rels/") +
                         part.mid(folder.isEmpty() ? 0 : folder.size() + 1) +
                         QStringLiteral(".rels");
    Relations found;
    if (!package.has(name))
        return found;
    package.walk(name, [&](QXmlStreamReader& xml) {
        if (!isStart(xml, QLatin1StringView("Relationship")))
            return;
        const auto a = xml.attributes();
        if (a.value(QLatin1StringView("TargetMode")) == QLatin1StringView("External"))
            return;
        const QString target = resolve(folder, a.value(QLatin1StringView("Target")).toString());
        found.byId.insert(a.value(QLatin1StringView("Id")).toString(), target);
        const QStringView type = a.value(QLatin1StringView("Type"));
        found.byType.insert(type.mid(type.lastIndexOf('/') + 1).toString(), target);
    });
    return found;
}

// Gathers the texts of the <t> elements it is shown, leaving out phonetic runs.
class TextGatherer {
public:
    void take(const QXmlStreamReader& xml, QString& text) {
        if (xml.isStartElement()) {
            if (xml.name() == QLatin1StringView("rPh"))
                phonetic_ = true;
            else if (xml.name() == QLatin1StringView("t"))
                inText_ = !phonetic_;
        } else if (xml.isEndElement()) {
            if (xml.name() == QLatin1StringView("rPh"))
                phonetic_ = false;
            else if (xml.name() == QLatin1StringView("t"))
                inText_ = false;
        } else if (xml.isCharacters() && inText_) {
            text += xml.text();
        }
    }

private:
    bool inText_ = false;
    bool phonetic_ = false;
};

std::vector<QString> sharedStrings(const Package& package, const QString& part) {
    std::vector<QString> strings;
    if (part.isEmpty() || !package.has(part))
        return strings;
    QString current;
    TextGatherer gather;
    bool inItem = false;
    package.walk(part, [&](QXmlStreamReader& xml) {
        if (isStart(xml, QLatin1StringView("si"))) {
            inItem = true;
            current.clear();
        } else if (isEnd(xml, QLatin1StringView("si"))) {
            inItem = false;
            strings.push_back(current);
        } else if (inItem) {
            gather.take(xml, current);
        }
    });
    return strings;
}

// Whether a number format shows a date or a time: the built-in ones that do, or a format code
// holding a date or time letter outside quoted text, escapes and [colour] sections.
bool isDateFormat(int id, const QString& code) {
    if ((id >= 14 && id <= 22) || (id >= 27 && id <= 36) || (id >= 45 && id <= 47) ||
        (id >= 50 && id <= 58))
        return true;
    bool quoted = false;
    int bracket = 0;
    for (qsizetype i = 0; i < code.size(); ++i) {
        const QChar c = code[i];
        if (c == '"')
            quoted = !quoted;
        else if (quoted)
            continue;
        else if (c == '\\' || c == '_' || c == '*')
            ++i; // the next character is shown as it is
        else if (c == '[')
            ++bracket;
        else if (c == ']')
            bracket = std::max(0, bracket - 1);
        else if (bracket == 0 && QStringLiteral("dDmMyYhHsS").contains(c))
            return true;
    }
    return false;
}

// Per cell style index: whether its number format is a date or time.
std::vector<bool> dateStyles(const Package& package, const QString& part) {
    std::vector<bool> dates;
    if (part.isEmpty() || !package.has(part))
        return dates;
    QHash<int, QString> codes;
    bool inCellFormats = false;
    package.walk(part, [&](QXmlStreamReader& xml) {
        if (isStart(xml, QLatin1StringView("numFmt"))) {
            const auto a = xml.attributes();
            codes.insert(a.value(QLatin1StringView("numFmtId")).toInt(),
                         a.value(QLatin1StringView("formatCode")).toString());
        } else if (isStart(xml, QLatin1StringView("cellXfs"))) {
            inCellFormats = true;
        } else if (isEnd(xml, QLatin1StringView("cellXfs"))) {
            inCellFormats = false;
        } else if (inCellFormats && isStart(xml, QLatin1StringView("xf"))) {
            const int id = xml.attributes().value(QLatin1StringView("numFmtId")).toInt();
            dates.push_back(isDateFormat(id, codes.value(id)));
        }
    });
    return dates;
}

// "BC12" as a zero-based row and column; false when it is not a cell reference.
bool parseReference(QStringView ref, int& row, int& column) {
    qsizetype i = 0;
    int col = 0;
    for (; i < ref.size() && ref[i] >= u'A' && ref[i] <= u'Z'; ++i)
        col = col * 26 + (ref[i].unicode() - u'A' + 1);
    if (i == 0 || i == ref.size() || col > kMaxColumns)
        return false;
    bool ok = false;
    const int r = ref.mid(i).toInt(&ok);
    if (!ok || r < 1 || r > kMaxRows)
        return false;
    row = r - 1;
    column = col - 1;
    return true;
}

bool parseRange(QStringView ref, CellRange& range) {
    const qsizetype colon = ref.indexOf(u':');
    if (colon < 0)
        return parseReference(ref, range.firstRow, range.firstColumn) &&
               parseReference(ref, range.lastRow, range.lastColumn);
    return parseReference(ref.left(colon), range.firstRow, range.firstColumn) &&
           parseReference(ref.mid(colon + 1), range.lastRow, range.lastColumn);
}

double toNumber(const QString& text, bool& ok) {
    const QByteArray ascii = text.trimmed().toLatin1();
    double value = 0;
    const auto [end, error] =
        std::from_chars(ascii.constData(), ascii.constData() + ascii.size(), value);
    ok = error == std::errc() && end == ascii.constData() + ascii.size();
    return value;
}

// One <c> element as it is read: its attributes, then its <f>, <v> and <is> texts.
struct PendingCell {
    int row = 0, column = 0;
    QString type;
    int style = 0;
    bool formula = false;
    bool hasValue = false;
    QString formulaText, value, inlineText;
};

ReadCell finish(const PendingCell& c, const std::vector<QString>& strings,
                const std::vector<bool>& dates) {
    using Kind = ReadCell::Kind;
    ReadCell cell;
    if (c.type == QLatin1String("inlineStr")) {
        cell.kind = c.inlineText.isEmpty() ? Kind::Empty : Kind::Text;
        cell.text = c.inlineText;
        return cell;
    }
    // A formula left without its value (some writers store an empty one) cannot be worked out here.
    if (!c.hasValue || c.value.isEmpty()) {
        if (c.formula) {
            cell.kind = Kind::Formula;
            cell.text = '=' + c.formulaText;
        }
        return cell;
    }
    bool ok = true;
    if (c.type == QLatin1String("s")) {
        const double index = toNumber(c.value, ok);
        if (!ok || index < 0 || index >= double(strings.size()))
            notAWorkbook(QStringLiteral("texto compartilhado inexistente"));
        cell.text = strings[std::size_t(index)];
        cell.kind = cell.text.isEmpty() ? Kind::Empty : Kind::Text;
    } else if (c.type == QLatin1String("str")) {
        cell.text = c.value;
        cell.kind = cell.text.isEmpty() ? Kind::Empty : Kind::Text;
    } else if (c.type == QLatin1String("e")) {
        cell.kind = Kind::Error;
        cell.text = c.value;
    } else if (c.type == QLatin1String("b")) {
        cell.kind = Kind::Boolean;
        cell.number = c.value.trimmed() == QLatin1String("1") ? 1 : 0;
    } else if (c.type == QLatin1String("d")) {
        // An ISO 8601 date or date and time, which some writers store instead of a serial day.
        const QDateTime when = QDateTime::fromString(c.value, Qt::ISODate);
        const QDate day = when.isValid() ? when.date() : QDate::fromString(c.value, Qt::ISODate);
        if (!day.isValid())
            notAWorkbook(QStringLiteral("data inválida %1").arg(c.value));
        cell.kind = Kind::Date;
        cell.number = double(day.toJulianDay() - QDate(1899, 12, 30).toJulianDay()) +
                      (when.isValid() ? when.time().msecsSinceStartOfDay() / 86400000.0 : 0);
    } else {
        cell.number = toNumber(c.value, ok);
        if (!ok)
            notAWorkbook(QStringLiteral("número inválido %1").arg(c.value));
        const bool date = c.style >= 0 && c.style < int(dates.size()) && dates[c.style];
        cell.kind = date ? Kind::Date : Kind::Number;
    }
    return cell;
}

} // namespace

Sheet readXlsx(const QString& path, const ReadProgress& progress) {
    Package package(path);
    const Relations root = relations(package, QString());
    const QString workbook =
        root.byType.value(QStringLiteral("officeDocument"), QStringLiteral("xl/workbook.xml"));
    if (!package.has(workbook))
        notAWorkbook(QStringLiteral("falta a pasta de trabalho"));

    QString firstSheetId;
    package.walk(workbook, [&](QXmlStreamReader& xml) {
        if (firstSheetId.isEmpty() && isStart(xml, QLatin1StringView("sheet")))
            for (const auto& a : xml.attributes())
                if (a.name() == QLatin1StringView("id")) // r:id, whatever the prefix
                    firstSheetId = a.value().toString();
    });
    const Relations parts = relations(package, workbook);
    const QString sheetPart = parts.byId.value(firstSheetId);
    if (sheetPart.isEmpty())
        notAWorkbook(QStringLiteral("a pasta de trabalho não tem planilhas"));
    const std::vector<QString> strings =
        sharedStrings(package, parts.byType.value(QStringLiteral("sharedStrings")));
    const std::vector<bool> dates =
        dateStyles(package, parts.byType.value(QStringLiteral("styles")));

    Sheet sheet;
    PendingCell cell;
    QString* gathering = nullptr; // the text being read: formula, value or an inline text's run
    TextGatherer inlineGather;
    bool inCell = false, inInline = false;
    int row = -1, column = -1;
    auto done = [&](std::int64_t bytes, std::int64_t total) {
        if (progress && !progress(bytes, total))
            throw ReadCancelled();
    };
    package.walk(
        sheetPart,
        [&](QXmlStreamReader& xml) {
            if (xml.isStartElement()) {
                const QStringView name = xml.name();
                if (name == QLatin1StringView("row")) {
                    const QStringView r = xml.attributes().value(QLatin1StringView("r"));
                    row = r.isEmpty() ? row + 1 : r.toInt() - 1;
                    if (row < 0 || row >= kMaxRows)
                        notAWorkbook(QStringLiteral("linha inválida"));
                    column = -1;
                } else if (name == QLatin1StringView("c")) {
                    const auto a = xml.attributes();
                    cell = PendingCell();
                    const QStringView ref = a.value(QLatin1StringView("r"));
                    if (ref.isEmpty()) {
                        cell.row = std::max(row, 0);
                        cell.column = column + 1;
                    } else if (!parseReference(ref, cell.row, cell.column)) {
                        notAWorkbook(QStringLiteral("referência de célula inválida"));
                    }
                    if (cell.column >= kMaxColumns)
                        notAWorkbook(QStringLiteral("coluna inválida"));
                    column = cell.column;
                    cell.type = a.value(QLatin1StringView("t")).toString();
                    cell.style = a.value(QLatin1StringView("s")).toInt();
                    inCell = true;
                } else if (inCell && name == QLatin1StringView("f")) {
                    cell.formula = true;
                    gathering = &cell.formulaText;
                } else if (inCell && name == QLatin1StringView("v")) {
                    cell.hasValue = true;
                    gathering = &cell.value;
                } else if (inCell && name == QLatin1StringView("is")) {
                    inInline = true;
                } else if (name == QLatin1StringView("mergeCell")) {
                    CellRange range;
                    if (parseRange(xml.attributes().value(QLatin1StringView("ref")), range))
                        sheet.merges.push_back(range);
                }
            }
            if (inInline)
                inlineGather.take(xml, cell.inlineText);
            else if (xml.isCharacters() && gathering)
                *gathering += xml.text();
            if (xml.isEndElement()) {
                const QStringView name = xml.name();
                if (name == QLatin1StringView("f") || name == QLatin1StringView("v")) {
                    gathering = nullptr;
                } else if (name == QLatin1StringView("is")) {
                    inInline = false;
                } else if (name == QLatin1StringView("c")) {
                    inCell = false;
                    ReadCell value = finish(cell, strings, dates);
                    if (value.empty())
                        return;
                    if (int(sheet.rows.size()) <= cell.row)
                        sheet.rows.resize(std::size_t(cell.row) + 1);
                    auto& cells = sheet.rows[cell.row];
                    if (int(cells.size()) <= cell.column)
                        cells.resize(std::size_t(cell.column) + 1);
                    cells[cell.column] = std::move(value);
                }
            }
        },
        done);
    fillMerges(sheet);
    return sheet;
}

} // namespace spreadsheet
