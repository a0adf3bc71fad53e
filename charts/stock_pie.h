#pragma once
// The slices of the stock pie: one per product with stock above zero, each with its share of the
// stock shown. A pie cannot show a negative or empty share, so those products get no slice.
// When a great many slices would be too thin to see, they are drawn together as one "Outros"
// slice carrying their true total, so the legend and every percentage still add up.
#include <QString>
#include <vector>

class QChart;
class QPieSeries;
class QRectF;
namespace data {
class ClientDataSet;
}

struct PieSlice {
    QString label;      // the product's description, or "Outros"
    double value = 0;   // stock (the sum of the folded products for "Outros")
    double percent = 0; // of the stock shown, 0..100
    int products = 1;   // how many products the slice stands for
};

// Slices thinner than this share of the whole (in percent) are folded into "Outros", but only
// when there are more of them than kMaxThinSlices: a small shop sees every product. The
// kKeptLargest largest products always keep their own slice, so that a shop of many small
// stocks still sees which products hold the most.
inline constexpr double kThinSlicePercent = 0.5;
inline constexpr int kMaxThinSlices = 10;
inline constexpr int kKeptLargest = 10;
// How many of the largest slices always carry a mark.
inline constexpr int kAlwaysMarked = 5;

// The slices of these products' stocks, in their order; the folded slice, if any, comes last.
// No more than maxSlices come out (the legend names no more): beyond that the smallest are
// folded too.
std::vector<PieSlice> pieSlices(std::vector<PieSlice> products,
                                std::size_t maxSlices = std::size_t(-1));
// The same, from a dataset's rows: labelField names the product, valueField holds its stock.
std::vector<PieSlice> stockSlices(data::ClientDataSet& products, const QString& labelField,
                                  const QString& valueField,
                                  std::size_t maxSlices = std::size_t(-1));

// How many entries the chart's legend, down its side, shows whole at the chart's present size.
std::size_t legendCapacity(const QChart* chart);

// "10 %", "33,33 %": up to two decimals, as the marks and the legend show a share.
QString percentText(double percent);
// What a slice's mark and legend entry say: its label and its share.
QString sliceText(const PieSlice& slice);

// Replaces the series' slices with these.
void fillPie(QPieSeries* series, const std::vector<PieSlice>& slices);

// Shows the marks of the largest slices whose marks do not run into one another, as the pie is
// laid out in the plot area; the legend names every slice, so a hidden mark loses nothing. The
// few largest slices always carry a mark: a name too long for the room is shortened there
// (the legend keeps it whole).
void showMarksThatFit(QPieSeries* series, const QRectF& plotArea);
