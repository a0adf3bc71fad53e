#include "tests/support/recording_spreadsheet.h"

namespace testing_support {

namespace {

class Recorder : public spreadsheet::Application,
                 private spreadsheet::Workbooks,
                 private spreadsheet::Columns {
public:
    explicit Recorder(QStringList& calls) : calls_(calls) {}
    spreadsheet::Workbooks& workBooks() override {
        calls_ << QStringLiteral("WorkBooks");
        return *this;
    }
    void setCaption(const QString& caption) override { calls_ << "caption=" + caption; }
    void setVisible(bool visible) override {
        calls_ << QStringLiteral("visible=%1").arg(visible ? "true" : "false");
    }
    void setCell(int row, int column, const QString& value) override {
        calls_ << QStringLiteral("cells(%1,%2)=%3").arg(row).arg(column).arg(value);
    }
    spreadsheet::Columns& columns() override {
        calls_ << QStringLiteral("columns");
        return *this;
    }

private:
    void add(int count) override { calls_ << QStringLiteral("add(%1)").arg(count); }
    void autoFit() override { calls_ << QStringLiteral("Autofit"); }

    QStringList& calls_;
};

} // namespace

RecordingSpreadsheet::RecordingSpreadsheet() {
    spreadsheet::setFactory([this]() -> std::unique_ptr<spreadsheet::Application> {
        applications_.emplace_back();
        return std::make_unique<Recorder>(applications_.back());
    });
}

RecordingSpreadsheet::~RecordingSpreadsheet() {
    spreadsheet::setFactory({});
}

} // namespace testing_support
