#include "charts/stock_pie.h"
#include "platform/data/client_dataset.h"
#include "platform/format/format.h"
#include <QPieSeries>
#include <QPieSlice>

std::vector<PieSlice> stockSlices(data::ClientDataSet& products, const QString& labelField,
                                  const QString& valueField) {
    data::ClientDataSet& dataset = products;
    std::vector<PieSlice> slices;
    if (!dataset.active())
        return slices;
    const int labelIndex = dataset.field(labelField).index();
    const int valueIndex = dataset.field(valueField).index();
    double total = 0;
    for (int row = 0; row < dataset.recordCount(); ++row) {
        const double value = dataset.valueAt(row, valueIndex).toDouble(); // null reads as 0
        if (!(value > 0))
            continue;
        slices.push_back({dataset.valueAt(row, labelIndex).toString(), value, 0, 1});
        total += value;
    }
    for (PieSlice& slice : slices)
        slice.percent = slice.value / total * 100;

    const auto thin = [](const PieSlice& s) { return s.percent < kThinSlicePercent; };
    if (std::count_if(slices.begin(), slices.end(), thin) <= kMaxThinSlices)
        return slices;
    PieSlice others{QString(), 0, 0, 0};
    std::vector<PieSlice> shown;
    for (PieSlice& slice : slices) {
        if (thin(slice)) {
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
        auto* slice = new QPieSlice(sliceText(s), s.value);
        // A mark on a sliver would only cover its neighbours' marks; the legend still names it.
        slice->setLabelVisible(s.percent >= 2.0);
        made << slice;
    }
    series->append(made);
}
