#include "charts/stock_pie.h"
#include "platform/data/client_dataset.h"
#include "platform/format/format.h"
#include <QFontMetricsF>
#include <QPieSeries>
#include <QPieSlice>
#include <QRectF>
#include <algorithm>
#include <cmath>
#include <functional>
#include <numbers>

std::vector<PieSlice> stockSlices(data::ClientDataSet& products, const QString& labelField,
                                  const QString& valueField) {
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
    return pieSlices(std::move(slices));
}

std::vector<PieSlice> pieSlices(std::vector<PieSlice> products) {
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

    const auto thin = [](const PieSlice& s) { return s.percent < kThinSlicePercent; };
    if (std::count_if(slices.begin(), slices.end(), thin) <= kMaxThinSlices)
        return slices;
    // The smallest stock among the largest products, which keep their slices whatever their share.
    std::vector<double> values;
    values.reserve(slices.size());
    for (const PieSlice& slice : slices)
        values.push_back(slice.value);
    const std::size_t kept = std::min(values.size(), std::size_t(kKeptLargest));
    std::nth_element(values.begin(), values.begin() + std::ptrdiff_t(kept - 1), values.end(),
                     std::greater<>());
    const double keptFrom = values[kept - 1];
    // Those above it all keep theirs; the rest of the places go to equals, first come first.
    std::size_t equalPlaces =
        kept - std::size_t(std::count_if(values.begin(), values.end(),
                                         [keptFrom](double v) { return v > keptFrom; }));
    PieSlice others{QString(), 0, 0, 0};
    std::vector<PieSlice> shown;
    for (PieSlice& slice : slices) {
        bool largest = slice.value > keptFrom;
        if (slice.value == keptFrom && equalPlaces > 0) {
            largest = true;
            --equalPlaces;
        }
        if (thin(slice) && !largest) {
            others.value += slice.value;
            others.products += 1;
        } else {
            shown.push_back(std::move(slice));
        }
    }
    others.percent = others.value / total * 100;
    others.label = QStringLiteral("Outros (%1 produtos)")
                       .arg(format::formatFloat(QStringLiteral("#,##0"), others.products));
    shown.push_back(std::move(others));
    return shown;
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
        made << new QPieSlice(sliceText(s), s.value);
    }
    series->append(made);
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
    for (QPieSlice* slice : slices) {
        // A mark sits beyond the end of its arm, on the side of the pie its slice is on.
        const qreal middle =
            (slice->startAngle() + slice->angleSpan() / 2) * std::numbers::pi / 180;
        const qreal reach = radius * (1 + slice->labelArmLengthFactor());
        const QPointF end = centre + QPointF(std::sin(middle), -std::cos(middle)) * reach;
        const QFontMetricsF metrics(slice->labelFont());
        const QSizeF size(metrics.horizontalAdvance(slice->label()) + radius * 0.1,
                          metrics.height() * 1.2);
        const QRectF mark(std::sin(middle) >= 0 ? end.x() : end.x() - size.width(),
                          end.y() - size.height() / 2, size.width(), size.height());
        // Qt cuts a mark that leaves the plot short; the legend names it in full instead.
        const bool fits = plotArea.contains(mark) &&
                          std::none_of(taken.begin(), taken.end(),
                                       [&](const QRectF& other) { return other.intersects(mark); });
        slice->setLabelVisible(fits);
        if (fits)
            taken.push_back(mark);
    }
}
