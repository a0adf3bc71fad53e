#include "platform/spreadsheet/csv_file.h"
#include "platform/data/text_encoding.h"
#include <QSaveFile>
#include <QStringDecoder>
#include <csv.h>
#include <memory>

namespace spreadsheet {

namespace {

const QByteArray kUtf8Mark("\xEF\xBB\xBF");

bool startsWithUtf16Mark(const QByteArray& bytes) {
    return bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF");
}

// The bytes libcsv splits: UTF-16 turned into UTF-8 first (its separators are two bytes wide),
// without any byte-order mark.
QByteArray splittableBytes(const QByteArray& bytes, TextEncoding encoding) {
    if (encoding == TextEncoding::Utf16) {
        QStringDecoder decoder(bytes.startsWith("\xFE\xFF") ? QStringConverter::Utf16BE
                                                            : QStringConverter::Utf16LE);
        QString text = decoder.decode(bytes);
        if (text.startsWith(QChar(0xFEFF)))
            text.remove(0, 1);
        return text.toUtf8();
    }
    if (bytes.contains('\0'))
        throw FileError(QStringLiteral("O arquivo não é um texto (CSV ou TXT): ele contém "
                                       "caracteres binários."));
    return bytes.startsWith(kUtf8Mark) ? bytes.mid(kUtf8Mark.size()) : bytes;
}

int onlySpace(unsigned char c) {
    return c == CSV_SPACE ? 1 : 0; // never the tab, which may be the separator
}

// Runs libcsv over the bytes; fieldFn(bytes, length) per field, recordFn() at each record's end,
// a blank line being an empty record (a CR LF pair ends one record, not two).
template <typename FieldFn, typename RecordFn> class Splitter {
public:
    Splitter(char separator, FieldFn field, RecordFn record)
        : field_(std::move(field)), record_(std::move(record)) {
        if (csv_init(&parser_, CSV_REPALL_NL) != 0)
            throw std::bad_alloc();
        csv_set_delim(&parser_, static_cast<unsigned char>(separator));
        csv_set_space_func(&parser_, onlySpace);
    }
    ~Splitter() { csv_free(&parser_); }
    Splitter(const Splitter&) = delete;
    Splitter& operator=(const Splitter&) = delete;

    void parse(const char* bytes, std::size_t length) {
        if (csv_parse(&parser_, bytes, length, onField, onRecord, this) != length)
            throw FileError(QStringLiteral("O arquivo CSV não pôde ser lido: %1.")
                                .arg(QString::fromLatin1(csv_strerror(csv_error(&parser_)))));
    }
    void finish() { csv_fini(&parser_, onField, onRecord, this); }

private:
    static void onField(void* bytes, std::size_t length, void* self) {
        auto* s = static_cast<Splitter*>(self);
        s->fields_ = true;
        s->field_(static_cast<const char*>(bytes), length);
    }
    static void onRecord(int terminator, void* self) {
        auto* s = static_cast<Splitter*>(self);
        const bool pairEnd = terminator == CSV_LF && s->lastTerminator_ == CSV_CR && !s->fields_;
        s->lastTerminator_ = terminator;
        s->fields_ = false;
        if (!pairEnd)
            s->record_();
    }

    csv_parser parser_{};
    FieldFn field_;
    RecordFn record_;
    int lastTerminator_ = 0;
    bool fields_ = false;
};

// How many fields each of the first records holds when split at the separator.
std::vector<int> fieldCounts(const QByteArray& sample, char separator) {
    std::vector<int> counts;
    int fields = 0;
    Splitter splitter(
        separator, [&](const char*, std::size_t) { ++fields; },
        [&] {
            if (fields > 0)
                counts.push_back(fields);
            fields = 0;
        });
    splitter.parse(sample.constData(), std::size_t(sample.size()));
    // The sample's last record may be cut short: it is left out, as is a record not ended.
    if (counts.size() > 1)
        counts.pop_back();
    return counts;
}

} // namespace

CsvFormat detectCsvFormat(const QByteArray& bytes) {
    CsvFormat format;
    if (startsWithUtf16Mark(bytes)) {
        format.encoding = TextEncoding::Utf16;
    } else {
        QStringDecoder utf8(QStringConverter::Utf8);
        const QString decoded = utf8.decode(bytes); // decoding is lazy: taking the text runs it
        format.encoding = utf8.hasError() ? TextEncoding::Windows1252 : TextEncoding::Utf8;
    }
    QByteArray sample;
    try {
        sample = splittableBytes(bytes.left(64 * 1024), format.encoding);
    } catch (const FileError&) {
        return format; // readCsv says what is wrong
    }
    // The separator giving every record the first one's number of fields, the most of them; a
    // tie goes to the first of these, as Brazilian sheets write ';'.
    int best = 0;
    bool bestEven = false;
    for (const char separator : {';', '\t', ','}) {
        const std::vector<int> counts = fieldCounts(sample, separator);
        if (counts.empty())
            continue;
        const bool even =
            std::all_of(counts.begin(), counts.end(), [&](int n) { return n == counts.front(); });
        const int fields = counts.front();
        const bool better =
            even && fields > 1 ? !bestEven || fields > best : !bestEven && fields > best;
        if (better) {
            best = fields;
            bestEven = even && fields > 1;
            format.separator = separator;
        }
    }
    return format;
}

Sheet readCsv(const QByteArray& bytes, const CsvFormat& format, const ReadProgress& progress) {
    const QByteArray text = splittableBytes(bytes, format.encoding);
    Sheet sheet;
    std::vector<ReadCell> row;
    const bool latin = format.encoding == TextEncoding::Windows1252;
    Splitter splitter(
        format.separator,
        [&](const char* field, std::size_t length) {
            ReadCell cell;
            if (length > 0) {
                cell.kind = ReadCell::Kind::Text;
                cell.text = latin ? data::fromWindows1252(QByteArrayView(field, qsizetype(length)))
                                  : QString::fromUtf8(field, qsizetype(length));
            }
            row.push_back(std::move(cell));
        },
        [&] {
            while (!row.empty() && row.back().empty())
                row.pop_back();
            sheet.rows.push_back(std::move(row));
            row.clear();
        });
    constexpr qsizetype kChunk = 1 << 20;
    for (qsizetype done = 0; done < text.size(); done += kChunk) {
        if (progress && !progress(done, text.size()))
            throw ReadCancelled();
        splitter.parse(text.constData() + done, std::size_t(std::min(kChunk, text.size() - done)));
    }
    splitter.finish();
    return sheet;
}

void writeCsv(const QString& path, const std::vector<QStringList>& rows, char separator) {
    QByteArray out = kUtf8Mark;
    QByteArray quoted;
    for (const QStringList& row : rows) {
        for (qsizetype i = 0; i < row.size(); ++i) {
            if (i > 0)
                out += separator;
            const QByteArray field = row[i].toUtf8();
            quoted.resize(qsizetype(csv_write(nullptr, 0, field.constData(), field.size())));
            csv_write(quoted.data(), std::size_t(quoted.size()), field.constData(), field.size());
            out += quoted;
        }
        out += "\r\n";
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(out) != out.size() || !file.commit())
        throw FileError(QStringLiteral("Não foi possível gravar o arquivo %1: %2")
                            .arg(path, file.errorString()));
}

} // namespace spreadsheet
