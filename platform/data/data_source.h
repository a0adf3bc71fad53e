#pragma once
// Binds data-aware controls to one dataset and forwards its notifications.
#include "platform/data/client_dataset.h"
#include <QObject>
#include <QPointer>

namespace data {

class DataSource : public QObject {
    Q_OBJECT
public:
    explicit DataSource(ClientDataSet* dataSet = nullptr, QObject* parent = nullptr);
    void setDataSet(ClientDataSet* dataSet);
    ClientDataSet* dataSet() const { return dataSet_; }
    bool enabled() const { return enabled_; }
    void setEnabled(bool on);

signals:
    void dataSetChanged();
    void scrolled();
    void recordChanged(data::Field* field);
    void stateChanged();
    void updateRecord();
    void dataSetReplaced(); // setDataSet pointed this source elsewhere

private:
    QPointer<ClientDataSet> dataSet_;
    bool enabled_ = true;
    QList<QMetaObject::Connection> links_;
};

} // namespace data
