#include "platform/data/data_source.h"
#include <algorithm>
#include <exception>

namespace data {

void runAll(const std::vector<std::function<void()>>& steps) {
    std::exception_ptr first;
    for (const auto& step : steps) {
        try {
            step();
        } catch (...) {
            if (!first)
                first = std::current_exception();
        }
    }
    if (first)
        std::rethrow_exception(first);
}

DataSource::DataSource(ClientDataSet* dataSet, QObject* parent) : QObject(parent) {
    setDataSet(dataSet);
}

DataSource::~DataSource() {
    if (dataSet_)
        dataSet_->removeDataSource(this);
}

void DataSource::setDataSet(ClientDataSet* dataSet) {
    for (const auto& link : links_)
        disconnect(link);
    links_.clear();
    if (dataSet_)
        dataSet_->removeDataSource(this);
    dataSet_ = dataSet;
    if (dataSet) {
        dataSet->addDataSource(this);
        auto forward = [this](auto signal, auto emitter) {
            links_ << connect(dataSet_, signal, this, [this, emitter](auto... args) {
                if (enabled_)
                    (this->*emitter)(args...);
            });
        };
        forward(&ClientDataSet::dataSetChanged, &DataSource::dataSetChanged);
        forward(&ClientDataSet::scrolled, &DataSource::scrolled);
        forward(&ClientDataSet::recordChanged, &DataSource::recordChanged);
        forward(&ClientDataSet::stateChanged, &DataSource::stateChanged);
        forward(&ClientDataSet::rowsAboutToArrive, &DataSource::rowsAboutToArrive);
        forward(&ClientDataSet::rowsArrived, &DataSource::rowsArrived);
    }
    emit dataSetReplaced();
    emit dataSetChanged();
}

void DataSource::setEnabled(bool on) {
    if (enabled_ == on)
        return;
    enabled_ = on;
    if (on)
        emit dataSetChanged();
}

void DataSource::addInputWriter(QObject* control, std::function<void()> write) {
    removeInputWriter(control);
    writers_.push_back({control, std::move(write)});
}

void DataSource::removeInputWriter(QObject* control) {
    std::erase_if(writers_,
                  [control](const InputWriter& w) { return !w.control || w.control == control; });
}

void DataSource::writePendingInput() {
    // A writer may rebind its control meanwhile: run over a copy, skipping controls gone since.
    std::vector<std::function<void()>> steps;
    for (const InputWriter& w : writers_)
        steps.push_back([control = w.control, write = w.write] {
            if (control)
                write();
        });
    runAll(steps);
}

} // namespace data
