#pragma once
// The slices of the stock pie: one per product with stock above zero, each with its share of the
// stock shown. A pie cannot show a negative or empty share, so those products get no slice.
// When a great many slices would be too thin to see, they are drawn together as one "Outros"
// slice carrying their true total, so the legend and every percentage still add up.
#include <QString>
#include <vector>

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

// The slices of these products' stocks, in their order; the folded slice, if any, comes last.
std::vector<PieSlice> pieSlices(std::vector<PieSlice> products);
// The same, from a dataset's rows: labelField names the product, valueField holds its stock.
std::vector<PieSlice> stockSlices(data::ClientDataSet& products, const QString& labelField,
                                  const QString& valueField);

// "10 %", "33,33 %": up to two decimals, as the marks and the legend show a share.
QString percentText(double percent);
// What a slice's mark and legend entry say: its label and its share.
QString sliceText(const PieSlice& slice);

// Replaces the series' slices with these.
void fillPie(QPieSeries* series, const std::vector<PieSlice>& slices);

// Shows the marks of the largest slices whose marks do not run into one another, as the pie is
// laid out in the plot area; the legend names every slice, so a hidden mark loses nothing.
void showMarksThatFit(QPieSeries* series, const QRectF& plotArea);
