#include "charts/movement_area.h"
#include "platform/data/client_dataset.h"
#include "platform/format/format.h"
#include <QAreaSeries>
#include <QChart>
#include <QDateTimeAxis>
#include <QFontMetricsF>
#include <QLegend>
#include <QLegendMarker>
#include <QLineSeries>
#include <QScatterSeries>
#include <QValueAxis>
#include <algorithm>
#include <cmath>

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

// The points series that marks the movements of a single date, made the first time; none when the
// area has no axes to share.
QScatterSeries* oneDateMarks(QChart* chart, QAreaSeries* series) {
    for (QAbstractSeries* other : chart->series())
        if (auto* marks = qobject_cast<QScatterSeries*>(other))
            return marks;
    const auto axes = chart->axes(Qt::Horizontal | Qt::Vertical, series);
    if (axes.size() < 2)
        return nullptr;
    auto* marks = new QScatterSeries;
    marks->setObjectName(QStringLiteral("marcas"));
    marks->setMarkerSize(9);
    marks->setPointLabelsFormat(series->pointLabelsFormat());
    marks->setColor(series->color());
    marks->setBorderColor(series->borderColor());
    chart->addSeries(marks);
    for (QAbstractAxis* axis : axes)
        marks->attachAxis(axis);
    for (QLegendMarker* legend : chart->legend()->markers(marks))
        legend->setVisible(false);
    return marks;
}

} // namespace

int dateTickCount(const QDate& first, const QDate& last, double plotWidth, double labelWidth) {
    // Never more ticks than days (a short period would repeat its dates), nor more than fit
    // side by side with room between them.
    const qint64 days = std::max<qint64>(first.daysTo(last), 1);
    const int fitting = labelWidth > 0 ? int(plotWidth / (labelWidth * 1.4)) + 1 : 2;
    return int(std::clamp<qint64>(std::min<qint64>(days + 1, fitting), 2, 12));
}

void fitDateTicks(QChart* chart, QAreaSeries* series) {
    const auto dateAxes = chart->axes(Qt::Horizontal, series);
    if (dateAxes.isEmpty())
        return;
    auto* dateAxis = static_cast<QDateTimeAxis*>(dateAxes.first());
    const QFontMetricsF metrics(dateAxis->labelsFont());
    dateAxis->setTickCount(
        dateTickCount(dateAxis->min().date(), dateAxis->max().date(), chart->plotArea().width(),
                      metrics.horizontalAdvance(dateAxis->min().toString(dateAxis->format()))));
}

void fillArea(QChart* chart, QAreaSeries* series, const std::vector<MovementPoint>& points) {
    const std::vector<MovementPoint> drawn =
        points.size() <= kMaxExactPoints ? points : drawnPoints(points);
    const bool labelled = !points.empty() && points.size() <= kMaxLabelledPoints;
    // The movements of a single date stand on one vertical line, an area of no width, which Qt
    // does not draw: they are marked as points beside it instead.
    const bool oneDate = !drawn.empty() && drawn.front().date == drawn.back().date;
    QScatterSeries* marks = oneDateMarks(chart, series);
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
    // The marks of the values go above the points, where there are points.
    series->setPointLabelsVisible(labelled && !(oneDate && marks));
    if (marks) {
        marks->replace(oneDate ? line : QList<QPointF>());
        marks->setPointLabelsVisible(labelled && oneDate);
    }

    const auto dateAxes = chart->axes(Qt::Horizontal, series);
    const auto valueAxes = chart->axes(Qt::Vertical, series);
    if (dateAxes.isEmpty() || valueAxes.isEmpty())
        return;
    auto* dateAxis = static_cast<QDateTimeAxis*>(dateAxes.first());
    auto* valueAxis = static_cast<QValueAxis*>(valueAxes.first());
    const QDate first = points.empty() ? QDate::currentDate() : points.front().date;
    const QDate last = points.empty() ? first : points.back().date;
    QDateTime start = first.startOfDay(), end = last.startOfDay();
    if (last <= first) { // a single date stands in the middle of the days around it
        start = first.addDays(-1).startOfDay();
        end = first.addDays(1).startOfDay();
    } else if (labelled) { // the marks of the first and last points stay off the axes
        const qint64 margin = start.msecsTo(end) / 30;
        start = start.addMSecs(-margin);
        end = end.addMSecs(margin);
    }
    dateAxis->setRange(start, end);
    fitDateTicks(chart, series);
    // Room above the highest point for the mark carrying its value.
    const double top = high > low ? high : low + 1;
    valueAxis->setRange(low, labelled ? top + (top - low) * 0.08 : top);
    valueAxis->applyNiceNumbers();
    // As many decimals as the steps between the value labels need: never "0, 0, 1, 1".
    const double step =
        (valueAxis->max() - valueAxis->min()) / std::max(valueAxis->tickCount() - 1, 1);
    const int decimals = step >= 1 ? 0 : std::min(3, int(std::ceil(-std::log10(step) - 1e-9)));
    valueAxis->setLabelFormat(QStringLiteral("%.%1f").arg(decimals));
}
