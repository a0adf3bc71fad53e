#include "charts/movement_area.h"
#include "platform/data/client_dataset.h"
#include "platform/format/format.h"
#include <QAreaSeries>
#include <QChart>
#include <QDateTimeAxis>
#include <QLineSeries>
#include <QValueAxis>
#include <algorithm>

std::vector<MovementPoint> movementPoints(data::ClientDataSet& movements, const QString& dateField,
                                          const QString& valueField) {
    data::ClientDataSet& dataset = movements;
    std::vector<MovementPoint> points;
    if (!dataset.active())
        return points;
    const int dateIndex = dataset.field(dateField).index();
    const int valueIndex = dataset.field(valueField).index();
    points.reserve(std::size_t(dataset.recordCount()));
    for (int row = 0; row < dataset.recordCount(); ++row) {
        const QDate date = dataset.valueAt(row, dateIndex).toDate();
        if (date.isValid())
            points.push_back({date, dataset.valueAt(row, valueIndex).toDouble()});
    }
    const auto earlier = [](const MovementPoint& a, const MovementPoint& b) {
        return a.date < b.date;
    };
    // Usually read in date order already; without a period the rows come unordered.
    if (!std::is_sorted(points.begin(), points.end(), earlier))
        std::stable_sort(points.begin(), points.end(), earlier);
    return points;
}

std::vector<MovementPoint> drawnPoints(const std::vector<MovementPoint>& points) {
    std::vector<MovementPoint> drawn;
    for (const MovementPoint& p : points) {
        if (!drawn.empty() && drawn.back().date == p.date)
            drawn.back().quantity = std::max(drawn.back().quantity, p.quantity);
        else
            drawn.push_back(p);
    }
    return drawn;
}

namespace {

// Midnight of the date in the machine's time zone, as the date axis reads it. Consecutive
// points mostly share a date, so the conversion is done once per date.
class DateToAxis {
public:
    qreal operator()(const QDate& date) {
        if (date != last_) {
            last_ = date;
            value_ = qreal(date.startOfDay().toMSecsSinceEpoch());
        }
        return value_;
    }

private:
    QDate last_;
    qreal value_ = 0;
};

} // namespace

void fillArea(QChart* chart, QAreaSeries* series, const std::vector<MovementPoint>& points) {
    const bool labelled = !points.empty() && points.size() <= kMaxLabelledPoints;
    const std::vector<MovementPoint> drawn =
        points.size() <= kMaxExactPoints ? points : drawnPoints(points);
    QLineSeries* upper = series->upperSeries();
    QList<QPointF> line;
    line.reserve(qsizetype(drawn.size()));
    DateToAxis toAxis;
    double low = 0, high = 0;
    for (const MovementPoint& p : drawn) {
        line << QPointF(toAxis(p.date), p.quantity);
        low = std::min(low, p.quantity);
        high = std::max(high, p.quantity);
    }
    upper->replace(line);
    series->setPointLabelsVisible(labelled);

    const auto dateAxes = chart->axes(Qt::Horizontal, series);
    const auto valueAxes = chart->axes(Qt::Vertical, series);
    if (dateAxes.isEmpty() || valueAxes.isEmpty())
        return;
    auto* dateAxis = static_cast<QDateTimeAxis*>(dateAxes.first());
    auto* valueAxis = static_cast<QValueAxis*>(valueAxes.first());
    if (points.empty()) {
        const QDate today = QDate::currentDate();
        dateAxis->setRange(today.startOfDay(), today.addDays(1).startOfDay());
        valueAxis->setRange(0, 1);
        return;
    }
    // A single date still needs a span to be drawn on.
    const QDate first = points.front().date, last = points.back().date;
    dateAxis->setRange(first.startOfDay(), (last > first ? last : first.addDays(1)).startOfDay());
    valueAxis->setRange(low, high > low ? high : low + 1);
    valueAxis->applyNiceNumbers();
}
