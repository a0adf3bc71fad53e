#include "tests/support/xlsx_reader.h"
#include <QProcess>
#include <QXmlStreamReader>
#include <stdexcept>

namespace testing_support {

namespace {

QByteArray member(const QString& path, const QString& name, bool required = true) {
    QProcess unzip;
    unzip.start(QStringLiteral("unzip"), {QStringLiteral("-p"), path, name});
    if (!unzip.waitForFinished(30000))
        throw std::runtime_error("unzip did not finish");
    const QByteArray data = unzip.readAllStandardOutput();
    if (required && (unzip.exitCode() != 0 || data.isEmpty()))
        throw std::runtime_error(QStringLiteral("%1 has no %2").arg(path, name).toStdString());
    return unzip.exitCode() == 0 ? data : QByteArray();
}

// The text of an element, with the runs of a rich text joined.
QString elementText(QXmlStreamReader& xml) {
    return xml.readElementText(QXmlStreamReader::IncludeChildElements);
}

} // namespace

XlsxContents readXlsx(const QString& path) {
    XlsxContents contents;

    QStringList shared;
    QXmlStreamReader strings(member(path, "xl/sharedStrings.xml", false));
    while (!strings.atEnd()) {
        strings.readNext();
        if (strings.isStartElement() && strings.name() == u"si")
            shared << elementText(strings);
    }

    QXmlStreamReader sheet(member(path, "xl/worksheets/sheet1.xml"));
    QString ref;
    XlsxCell cell;
    while (!sheet.atEnd()) {
        sheet.readNext();
        if (!sheet.isStartElement())
            continue;
        const auto name = sheet.name();
        const QXmlStreamAttributes a = sheet.attributes();
        if (name == u"col") {
            const int min = a.value("min").toInt();
            const int max = a.value("max").toInt();
            for (int c = min; c <= max; ++c) {
                QString letters;
                for (int n = c; n > 0; n = (n - 1) / 26)
                    letters.prepend(QChar(u'A' + (n - 1) % 26));
                contents.widths[letters] = a.value("width").toDouble();
            }
        } else if (name == u"c") {
            ref = a.value("r").toString();
            cell = {a.hasAttribute("t") ? a.value("t").toString() : QStringLiteral("n"),
                    {},
                    a.value("s").toInt()};
            contents.cells[ref] = cell;
        } else if (name == u"v") {
            QString v = sheet.readElementText();
            if (contents.cells[ref].type == u"s")
                v = shared.value(v.toInt());
            contents.cells[ref].value = v;
        } else if (name == u"is") {
            contents.cells[ref].value = elementText(sheet);
        }
    }

    QXmlStreamReader core(member(path, "docProps/core.xml"));
    while (!core.atEnd()) {
        core.readNext();
        if (core.isStartElement() && core.name() == u"title")
            contents.title = core.readElementText();
    }

    QXmlStreamReader styles(member(path, "xl/styles.xml"));
    QMap<int, QString> formats{{0, QStringLiteral("General")}, {1, QStringLiteral("0")}};
    bool inCellXfs = false;
    while (!styles.atEnd()) {
        styles.readNext();
        if (styles.isEndElement() && styles.name() == u"cellXfs")
            inCellXfs = false;
        if (!styles.isStartElement())
            continue;
        const QXmlStreamAttributes a = styles.attributes();
        if (styles.name() == u"numFmt")
            formats[a.value("numFmtId").toInt()] = a.value("formatCode").toString();
        else if (styles.name() == u"cellXfs")
            inCellXfs = true;
        else if (inCellXfs && styles.name() == u"xf")
            contents.numberFormats << formats.value(a.value("numFmtId").toInt());
    }
    return contents;
}

} // namespace testing_support
