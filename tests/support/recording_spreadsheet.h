#pragma once
// A spreadsheet for tests that records every operation the program asks of it, one line each
// ("add(1)", "caption=...", "cells(2,1)=...", "Autofit"), per application created. Installs
// itself as the spreadsheet factory while it exists.
#include "platform/spreadsheet/spreadsheet.h"
#include <QStringList>
#include <deque>

namespace testing_support {

class RecordingSpreadsheet {
public:
    RecordingSpreadsheet();
    ~RecordingSpreadsheet();
    RecordingSpreadsheet(const RecordingSpreadsheet&) = delete;
    RecordingSpreadsheet& operator=(const RecordingSpreadsheet&) = delete;

    // One list per application created, in order.
    const std::deque<QStringList>& applications() const { return applications_; }
    void clear() { applications_.clear(); }

private:
    std::deque<QStringList> applications_;
};

} // namespace testing_support
