#include "imports/header_names.h"
#include "platform/data/text_order.h"
#include <QHash>
#include <QSet>

namespace imports {

namespace {

QStringList keyWords(const QString& header) {
    static const QSet<QString> little = {QStringLiteral("DE"),  QStringLiteral("DO"),
                                         QStringLiteral("DA"),  QStringLiteral("DOS"),
                                         QStringLiteral("DAS"), QStringLiteral("E")};
    QStringList words;
    QString word;
    auto endWord = [&] {
        if (!word.isEmpty() && !little.contains(word))
            words << word;
        word.clear();
    };
    for (const QChar c : header) {
        const QChar folded(data::foldForOrder(c.unicode()));
        if (folded.isLetterOrNumber())
            word += folded;
        else
            endWord();
    }
    endWord();
    return words;
}

} // namespace

QString headerKey(const QString& header) {
    return keyWords(header).join(QString());
}

QStringList automaticMapping(const Target& target, const QStringList& headers) {
    QHash<QString, QString> columnOfName;
    for (const TargetField& f : target.fields)
        for (const QString& name : f.names)
            columnOfName.insert(headerKey(name), f.column);
    QStringList mapping;
    QSet<QString> taken;
    for (const QString& header : headers) {
        QString column;
        QStringList words = keyWords(header);
        for (; column.isEmpty() && !words.isEmpty(); words.removeFirst())
            column = columnOfName.value(words.join(QString()));
        if (taken.contains(column))
            column.clear();
        taken.insert(column);
        mapping << column;
    }
    return mapping;
}

} // namespace imports
