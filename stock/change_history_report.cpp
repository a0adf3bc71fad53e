#include "stock/change_history_report.h"
#include "platform/report/preview_window.h"

namespace {
const report::Font kData{QStringLiteral("Arial"), 7, false};
const report::Font kBold{QStringLiteral("Arial"), 7, true};
const report::Font kTitle{QStringLiteral("Arial"), 10, true};
} // namespace

ChangeHistoryReport::ChangeHistoryReport(const std::vector<ChangeHistoryRow>& rows,
                                         const ChangeHistoryFilter& filter)
    : rows_(rows) {
    report::Report& r = report_;
    r.documentName = QStringLiteral("Histórico de Alterações");
    r.pageSize = QSizeF(297, 210); // landscape: the values side by side need the width
    r.margins = QMarginsF(8, 8, 8, 8);
    r.setRows(this);
    const double width = r.printableRect().width();

    r.title.height = 16;
    r.title
        .addLabel(QStringLiteral("Titulo"), QStringLiteral("Histórico de Alterações"), 0, 0, width,
                  kTitle)
        ->alignment = Qt::AlignHCenter;
    QString scope = QStringLiteral("Período: %1 a %2")
                        .arg(filter.from.toString(QStringLiteral("dd/MM/yyyy")),
                             filter.to.toString(QStringLiteral("dd/MM/yyyy")));
    if (filter.product)
        scope += QStringLiteral("   Produto: %1").arg(*filter.product);
    if (!filter.user.trimmed().isEmpty())
        scope += QStringLiteral("   Usuário: %1").arg(filter.user.trimmed());
    r.title.addLabel(QStringLiteral("Filtro"), scope, 0, 7, width, kBold);
    r.title.addLine(0, 15.5, width, 15.5, 0.1);

    r.detail.height = 13;
    r.detail.addField(
        QStringLiteral("Cabecalho"),
        [this] {
            const ChangeHistoryRow& c = row();
            QStringList parts = {c.when, c.operation, c.record};
            if (!c.product.isEmpty())
                parts << c.product;
            parts << QStringLiteral("Usuário: %1").arg(c.user);
            if (!c.window.isEmpty())
                parts << QStringLiteral("Janela: %1").arg(c.window);
            if (!c.reason.isEmpty())
                parts << QStringLiteral("Motivo: %1").arg(c.reason);
            return parts.join(QStringLiteral("   "));
        },
        0, 0.5, width, kBold);
    r.detail.addLabel({}, QStringLiteral("Antes:"), 4, 4.5, 14, kBold);
    r.detail.addField(
        QStringLiteral("Antes"), [this] { return comparedText(row(), false); }, 18, 4.5, width - 18,
        kData);
    r.detail.addLabel({}, QStringLiteral("Depois:"), 4, 8, 14, kBold);
    r.detail.addField(
        QStringLiteral("Depois"), [this] { return comparedText(row(), true); }, 18, 8, width - 18,
        kData);
    r.detail.addLine(0, 12.5, width, 12.5, 0.05);
}

QString ChangeHistoryReport::comparedText(const ChangeHistoryRow& row, bool after) {
    if (row.deleted && after)
        return QStringLiteral("(excluído)");
    const QStringList& names = changeHistoryValueNames();
    const QStringList& values = after ? row.after : row.before;
    QStringList parts;
    for (int i = 0; i < int(names.size()); ++i) {
        if (row.deleted ? values[i].isEmpty() : row.before[i] == row.after[i])
            continue;
        parts << QStringLiteral("%1: %2").arg(names[i], values[i].isEmpty() ? QStringLiteral("—")
                                                                            : values[i]);
    }
    return parts.join(QStringLiteral("   |   "));
}

void ChangeHistoryReport::preview(QWidget* parent) {
    report::preview(report_, parent);
}
