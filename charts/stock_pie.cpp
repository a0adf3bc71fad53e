#include "charts/stock_pie.h"
#include "platform/data/client_dataset.h"
#include "platform/format/format.h"
#include <QChart>
#include <QFontMetricsF>
#include <QLegend>
#include <QPieLegendMarker>
#include <QPieSeries>
#include <QPieSlice>
#include <QRectF>
#include <algorithm>
#include <cmath>
#include <functional>
#include <numbers>

std::vector<PieSlice> stockSlices(data::ClientDataSet& products, const QString& labelField,
                                  const QString& valueField, std::size_t maxSlices) {
    data::ClientDataSet& dataset = products;
    std::vector<PieSlice> slices;
    if (!dataset.active())
        return slices;
    const int labelIndex = dataset.field(labelField).index();
    const int valueIndex = dataset.field(valueField).index();
    slices.reserve(std::size_t(dataset.recordCount()));
    for (int row = 0; row < dataset.recordCount(); ++row)
        slices.push_back({dataset.valueAt(row, labelIndex).toString(),
                          dataset.valueAt(row, valueIndex).toDouble(), 0, 1}); // null reads as 0
    return pieSlices(std::move(slices), maxSlices);
}

namespace {

// The slice's label as made, before its mark was shortened.
constexpr const char* kWholeLabel = "wholeLabel";
// Its share, the end of that label, which a shortened mark keeps.
constexpr const char* kShare = "share";

// Folds every slice that `keep` refuses into one "Outros" slice, last; percents of `total`.
std::vector<PieSlice> fold(std::vector<PieSlice> slices, double total,
                           const std::function<bool(const PieSlice&)>& keep) {
    PieSlice others{QString(), 0, 0, 0};
    std::vector<PieSlice> shown;
    for (PieSlice& slice : slices) {
        if (keep(slice)) {
            shown.push_back(std::move(slice));
        } else {
            others.value += slice.value;
            others.products += slice.products;
        }
    }
    if (others.products == 0)
        return shown;
    others.percent = others.value / total * 100;
    others.label = QStringLiteral("Outros (%1 produtos)")
                       .arg(format::formatFloat(QStringLiteral("#,##0"), others.products));
    shown.push_back(std::move(others));
    return shown;
}

// The smallest value among the `count` largest, and how many places of that value are left to
// equals (first come, first kept).
std::pair<double, std::size_t> keptFrom(const std::vector<PieSlice>& slices, std::size_t count) {
    std::vector<double> values;
    values.reserve(slices.size());
    for (const PieSlice& slice : slices)
        values.push_back(slice.value);
    const std::size_t kept = std::min(values.size(), count);
    if (kept == 0)
        return {std::numeric_limits<double>::infinity(), 0};
    std::nth_element(values.begin(), values.begin() + std::ptrdiff_t(kept - 1), values.end(),
                     std::greater<>());
    const double from = values[kept - 1];
    return {from, kept - std::size_t(std::count_if(values.begin(), values.end(),
                                                   [from](double v) { return v > from; }))};
}

// Keeps the `count` largest slices in their order; folds the rest.
std::vector<PieSlice> keepLargest(std::vector<PieSlice> slices, double total, std::size_t count) {
    auto [from, equalPlaces] = keptFrom(slices, count);
    return fold(std::move(slices), total, [&, from = from](const PieSlice& slice) {
        if (slice.value > from)
            return true;
        if (slice.value == from && equalPlaces > 0) {
            --equalPlaces;
            return true;
        }
        return false;
    });
}

} // namespace

std::vector<PieSlice> pieSlices(std::vector<PieSlice> products, std::size_t maxSlices) {
    std::vector<PieSlice> slices;
    double total = 0;
    for (PieSlice& product : products) {
        if (!(product.value > 0))
            continue;
        total += product.value;
        slices.push_back(std::move(product));
    }
    for (PieSlice& slice : slices)
        slice.percent = slice.value / total * 100;

    // The largest products keep their slices; how many: all of them, unless too many are too
    // thin to see (then those of a visible share, and at least kKeptLargest), and never more
    // than the legend can name beside the folded slice.
    std::size_t kept = slices.size();
    const auto thin = [](const PieSlice& s) { return s.percent < kThinSlicePercent; };
    if (std::count_if(slices.begin(), slices.end(), thin) > kMaxThinSlices)
        kept = std::max(std::size_t(kKeptLargest),
                        std::size_t(std::count_if(slices.begin(), slices.end(),
                                                  [&](const PieSlice& s) { return !thin(s); })));
    if (kept < slices.size() || slices.size() > maxSlices)
        kept = std::min(kept, std::max<std::size_t>(maxSlices, 2) - 1);
    if (kept >= slices.size())
        return slices;
    return keepLargest(std::move(slices), total, kept);
}

QString percentText(double percent) {
    return format::formatFloat(QStringLiteral("##0.## %"), percent);
}

QString sliceText(const PieSlice& slice) {
    return slice.label + QLatin1Char(' ') + percentText(slice.percent);
}

void fillPie(QPieSeries* series, const std::vector<PieSlice>& slices) {
    series->clear();
    QList<QPieSlice*> made;
    made.reserve(qsizetype(slices.size()));
    for (const PieSlice& s : slices) {
        auto* slice = new QPieSlice(sliceText(s), s.value);
        slice->setProperty(kWholeLabel, slice->label());
        slice->setProperty(kShare, percentText(s.percent));
        made << slice;
    }
    series->append(made);
}

std::size_t legendCapacity(const QChart* chart) {
    // An entry is a line of the legend's font and the room Qt leaves around its marker.
    const QFontMetricsF metrics(chart->legend()->font());
    const qreal entry = metrics.height() + 8;
    return std::max<std::size_t>(3, std::size_t(chart->plotArea().height() / entry));
}

void showMarksThatFit(QPieSeries* series, const QRectF& plotArea) {
    QList<QPieSlice*> slices = series->slices();
    std::stable_sort(slices.begin(), slices.end(), [](const QPieSlice* a, const QPieSlice* b) {
        return a->value() > b->value();
    });
    const qreal radius = std::min(plotArea.width(), plotArea.height()) * series->pieSize() / 2;
    const QPointF centre(plotArea.left() + plotArea.width() * series->horizontalPosition(),
                         plotArea.top() + plotArea.height() * series->verticalPosition());
    std::vector<QRectF> taken;
    int rank = 0;
    for (QPieSlice* slice : slices) {
        const QString full = slice->property(kWholeLabel).toString();
        // A mark sits beyond the end of its arm, on the side of the pie its slice is on.
        const qreal middle =
            (slice->startAngle() + slice->angleSpan() / 2) * std::numbers::pi / 180;
        const qreal reach = radius * (1 + slice->labelArmLengthFactor());
        const QPointF end = centre + QPointF(std::sin(middle), -std::cos(middle)) * reach;
        const bool right = std::sin(middle) >= 0;
        const QFontMetricsF metrics(slice->labelFont());
        // The largest slices shorten a name too long for the room on their side.
        QString text = full;
        const qreal room =
            (right ? plotArea.right() - end.x() : end.x() - plotArea.left()) - radius * 0.1;
        if (rank++ < kAlwaysMarked && metrics.horizontalAdvance(text) > room) {
            const QString share = QLatin1Char(' ') + slice->property(kShare).toString();
            const QString name = full.chopped(share.size());
            text =
                metrics.elidedText(name, Qt::ElideRight, room - metrics.horizontalAdvance(share)) +
                share;
        }
        if (slice->label() != text)
            slice->setLabel(text);
        const QSizeF size(metrics.horizontalAdvance(text) + radius * 0.1, metrics.height() * 1.2);
        const QRectF mark(right ? end.x() : end.x() - size.width(), end.y() - size.height() / 2,
                          size.width(), size.height());
        // Qt cuts a mark that leaves the plot short; the legend names it in full instead.
        const bool fits = plotArea.contains(mark) &&
                          std::none_of(taken.begin(), taken.end(),
                                       [&](const QRectF& other) { return other.intersects(mark); });
        slice->setLabelVisible(fits);
        if (fits)
            taken.push_back(mark);
    }
    // The legend follows the slices' labels: it names each slice whole again.
    if (QChart* chart = series->chart())
        for (QLegendMarker* marker : chart->legend()->markers(series))
            if (auto* pie = qobject_cast<QPieLegendMarker*>(marker))
                pie->setLabel(pie->slice()->property(kWholeLabel).toString());
}
