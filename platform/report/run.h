#pragma once
// Lays a report out page by page. The pages are counted from the band heights and the number of
// rows before any callback runs; page(n) replays the callbacks of every row before page n (without
// drawing them), so a run is the same whether its pages are taken in order or not. Taking pages in
// order costs nothing extra; going back starts the run again.
#include "platform/report/page.h"
#include <vector>

namespace report {

class Run {
public:
    explicit Run(Report& report);

    int pageCount() const { return int(pages_.size()); }
    Page page(int index); // from 0

private:
    struct PagePlan {
        int firstRow = 0;
        int rowCount = 0;
        bool title = false;
        bool summary = false;
    };
    void plan();
    void restart();
    // Runs the callbacks of a planned page; lays the bands out into page when one is given.
    void process(int index, Page* page);
    void layBand(Band& band, double top, Page* page);

    Report& report_;
    std::vector<PagePlan> pages_;
    bool started_ = false;
    int nextPage_ = 0; // the page the callbacks have reached
};

} // namespace report
