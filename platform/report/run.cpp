#include "platform/report/run.h"
#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace report {

namespace {
constexpr double kSlack = 1e-6; // mm: a band that fits exactly still fits
}

Run::Run(Report& report) : report_(report) {
    plan();
}

void Run::plan() {
    const QRectF body = report_.printableRect();
    const double bodyHeight = body.height() - report_.pageFooter.height;
    const double detailHeight = report_.detail.height;
    const int rows = report_.rowCount();
    int row = 0;
    for (int index = 0;; ++index) {
        PagePlan page;
        page.firstRow = row;
        double room = bodyHeight;
        if (index == 0) {
            page.title = true;
            room -= report_.title.height;
        }
        int fit = rows - row;
        if (detailHeight > 0) {
            fit = int(std::floor((std::max(room, 0.0) + kSlack) / detailHeight));
            // A page after the first always takes a row, however tall, so the run ends.
            if (index > 0)
                fit = std::max(fit, 1);
        }
        page.rowCount = std::min(fit, rows - row);
        row += page.rowCount;
        room -= page.rowCount * detailHeight;
        if (row == rows && (report_.summary.height <= room + kSlack || page.rowCount == 0)) {
            page.summary = true;
            pages_.push_back(page);
            break;
        }
        pages_.push_back(page);
        if (row == rows) { // the summary goes on a page of its own
            PagePlan last;
            last.firstRow = rows;
            last.summary = true;
            pages_.push_back(last);
            break;
        }
    }
}

void Run::restart() {
    started_ = true;
    nextPage_ = 0;
    if (report_.beforePrint)
        report_.beforePrint();
}

Page Run::page(int index) {
    if (index < 0 || index >= pageCount())
        throw std::out_of_range("report page out of range");
    if (!started_ || index == 0 || index < nextPage_)
        restart();
    while (nextPage_ < index)
        process(nextPage_++, nullptr);
    Page page;
    page.number = index + 1;
    process(index, &page);
    nextPage_ = index + 1;
    return page;
}

void Run::process(int index, Page* page) {
    const PagePlan& plan = pages_[std::size_t(index)];
    const QRectF body = report_.printableRect();
    double top = body.top();
    if (plan.title) {
        layBand(report_.title, top, page);
        top += report_.title.height;
    }
    RowSource* rows = report_.rows();
    for (int r = plan.firstRow; r < plan.firstRow + plan.rowCount; ++r) {
        rows->moveTo(r);
        layBand(report_.detail, top, page);
        top += report_.detail.height;
    }
    if (plan.summary)
        layBand(report_.summary, top, page);
    layBand(report_.pageFooter, body.bottom() - report_.pageFooter.height, page);
}

void Run::layBand(Band& band, double top, Page* page) {
    if (band.beforePrint)
        band.beforePrint();
    if (!page || band.height <= 0)
        return;
    const double left = report_.printableRect().left();
    DrawnBand drawn{band.kind(),
                    QRectF(left, top, report_.printableRect().width(), band.height),
                    band.background,
                    {}};
    drawn.items.reserve(band.items().size());
    for (const auto& item : band.items()) {
        if (!item->visible)
            continue;
        DrawnItem d;
        d.kind = item->kind;
        d.name = item->name;
        d.rect = item->rect.translated(left, top);
        if (item->kind == ItemKind::Text || item->kind == ItemKind::BarCode)
            d.text = item->text();
        d.font = item->font;
        d.colour = item->colour;
        d.background = item->background;
        d.alignment = item->alignment;
        d.image = item->image;
        d.keepAspect = item->keepAspect;
        d.penWidth = item->penWidth;
        d.symbology = item->symbology;
        drawn.items.push_back(std::move(d));
    }
    page->bands.push_back(std::move(drawn));
}

} // namespace report
