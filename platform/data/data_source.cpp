#include "platform/data/data_source.h"

namespace data {

DataSource::DataSource(ClientDataSet* dataSet, QObject* parent) : QObject(parent) {
    setDataSet(dataSet);
}

void DataSource::setDataSet(ClientDataSet* dataSet) {
    for (const auto& link : links_)
        disconnect(link);
    links_.clear();
    dataSet_ = dataSet;
    if (dataSet) {
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
        // Flushing pending text must happen even while the source is disabled.
        links_ << connect(dataSet_, &ClientDataSet::updateRecord, this, &DataSource::updateRecord);
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

} // namespace data
