#include "platform/report/bar_code.h"
#include <QHash>
#include <zint.h>

namespace report {

namespace {

constexpr double kLargestModule = 0.5; // mm: wider bars only waste the label
constexpr double kUnitsPerModule = 2;  // libzint's vector units
constexpr double kShortestBars = 5;    // modules; below that a reader cannot aim at them
constexpr int kKeptSymbols = 4096;

struct ZintDelete {
    void operator()(zint_symbol* symbol) const { ZBarcode_Delete(symbol); }
};
using Zint = std::unique_ptr<zint_symbol, ZintDelete>;

// The symbol with its vector shapes; barHeight in modules, 0 for libzint's own.
Zint encode(Symbology symbology, const QByteArray& data, double barHeight) {
    Zint symbol(ZBarcode_Create());
    if (!symbol)
        return nullptr;
    symbol->symbology = symbology == Symbology::Ean13 ? BARCODE_EANX : BARCODE_CODE128;
    symbol->input_mode = UNICODE_MODE;
    symbol->output_options |= BARCODE_QUIET_ZONES;
    if (barHeight > 0)
        symbol->height = float(barHeight);
    const auto* bytes = reinterpret_cast<const unsigned char*>(data.constData());
    if (ZBarcode_Encode(symbol.get(), bytes, int(data.size())) >= ZINT_ERROR ||
        ZBarcode_Buffer_Vector(symbol.get(), 0) >= ZINT_ERROR || !symbol->vector)
        return nullptr;
    return symbol;
}

Qt::Alignment alignmentOf(int halign) {
    switch (halign) {
    case 1:
        return Qt::AlignLeft;
    case 2:
        return Qt::AlignRight;
    default:
        return Qt::AlignHCenter;
    }
}

std::shared_ptr<const BarCodeSymbol> layOut(Symbology symbology, const QString& data,
                                            const QSizeF& box) {
    const QByteArray bytes = data.toUtf8();
    if (bytes.isEmpty() || box.width() <= 0 || box.height() <= 0)
        return nullptr;
    // A first encoding tells how wide the symbol is and how much room its digits take below the
    // bars; the second has the bars as tall as the box leaves.
    const Zint probe = encode(symbology, bytes, 0);
    if (!probe)
        return nullptr;
    const double width = probe->vector->width;
    const double digits = probe->vector->height - probe->height * kUnitsPerModule;
    const double unit = std::min(box.width() / width, kLargestModule / kUnitsPerModule);
    const double barHeight = (box.height() / unit - digits) / kUnitsPerModule;
    if (barHeight < kShortestBars)
        return nullptr;
    const Zint symbol = encode(symbology, bytes, barHeight);
    if (!symbol)
        return nullptr;
    const zint_vector& vector = *symbol->vector;
    const QPointF origin((box.width() - vector.width * unit) / 2,
                         (box.height() - vector.height * unit) / 2);
    auto result = std::make_shared<BarCodeSymbol>();
    for (const zint_vector_rect* r = vector.rectangles; r; r = r->next)
        result->bars.emplace_back(origin.x() + r->x * unit, origin.y() + r->y * unit,
                                  r->width * unit, r->height * unit);
    for (const zint_vector_string* s = vector.strings; s; s = s->next)
        result->texts.push_back({origin + QPointF(s->x * unit, s->y * unit), s->fsize * unit,
                                 alignmentOf(s->halign),
                                 QString::fromUtf8(reinterpret_cast<const char*>(s->text))});
    return result;
}

} // namespace

QString symbologyName(Symbology symbology) {
    return symbology == Symbology::Ean13 ? QStringLiteral("EAN13") : QStringLiteral("CODE128");
}

std::shared_ptr<const BarCodeSymbol> barCodeSymbol(Symbology symbology, const QString& data,
                                                   const QSizeF& box) {
    static QHash<QString, std::shared_ptr<const BarCodeSymbol>> kept;
    const QString key = QStringLiteral("%1 %2x%3 ")
                            .arg(int(symbology))
                            .arg(box.width(), 0, 'f', 3)
                            .arg(box.height(), 0, 'f', 3) +
                        data;
    if (const auto found = kept.constFind(key); found != kept.cend())
        return *found;
    if (kept.size() >= kKeptSymbols)
        kept.clear();
    auto symbol = layOut(symbology, data, box);
    kept.insert(key, symbol);
    return symbol;
}

} // namespace report
