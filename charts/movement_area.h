#pragma once
// The points of the movement chart: one per movement, its quantity at its date, in ascending
// date order (movements of one date keep the order they were read in).
#include <QDate>
#include <vector>

class QAreaSeries;
class QChart;
namespace data {
class ClientDataSet;
}

struct MovementPoint {
    QDate date;
    double quantity = 0;
};

// Rows without a date cannot be placed on a date axis and are left out.
std::vector<MovementPoint> movementPoints(data::ClientDataSet& movements, const QString& dateField,
                                          const QString& valueField);

// Puts the points on the chart's area series and fits its date and value axes to them. Marks
// with the values are shown only while there are few enough points to read them. Every movement
// is its own point up to more points than a chart has pixels across; beyond that the series gets
// one point per date at its highest quantity: the area filled is the same to the eye (the
// movements of one date stand on one vertical line, under the highest), and Qt's area, which
// takes seconds over thousands of such vertical spikes, draws a large shop's quarter of a million
// entries in a moment.
inline constexpr int kMaxLabelledPoints = 40;
inline constexpr int kMaxExactPoints = 2000;

// One point per date, at the highest quantity of that date.
std::vector<MovementPoint> drawnPoints(const std::vector<MovementPoint>& points);
void fillArea(QChart* chart, QAreaSeries* series, const std::vector<MovementPoint>& points);
// Sets the date axis's number of labels for its range and the plot's width (again when the
// plot is resized).
void fitDateTicks(QChart* chart, QAreaSeries* series);
// How many dates the date axis labels over a plot of that width: no label repeats a date nor
// runs into the next.
int dateTickCount(const QDate& first, const QDate& last, double plotWidth, double labelWidth);
