#pragma once
// Binds data-aware controls to one dataset and forwards its notifications.
#include "platform/data/client_dataset.h"
#include <QObject>
#include <QPointer>
#include <functional>
#include <vector>

namespace data {

class DataSource : public QObject {
    Q_OBJECT
public:
    explicit DataSource(ClientDataSet* dataSet = nullptr, QObject* parent = nullptr);
    ~DataSource() override;
    void setDataSet(ClientDataSet* dataSet);
    ClientDataSet* dataSet() const { return dataSet_; }
    bool enabled() const { return enabled_; }
    void setEnabled(bool on);

    // Controls holding typed input that has not reached its field yet register how to write it.
    // post() calls every writer directly, not through a signal, so a value that does not fit
    // travels as an exception through our own code only, up to whoever posted.
    void addInputWriter(QObject* control, std::function<void()> write);
    void removeInputWriter(QObject* control);
    // Runs every writer, even while the source is disabled; a failing one does not keep the
    // others from writing. Throws the first error afterwards.
    void writePendingInput();

signals:
    void dataSetChanged();
    void scrolled();
    void recordChanged(data::Field* field);
    void stateChanged();
    void rowsAboutToArrive(int position, int count);
    void rowsArrived();
    void dataSetReplaced(); // setDataSet pointed this source elsewhere

private:
    struct InputWriter {
        QPointer<QObject> control;
        std::function<void()> write;
    };
    QPointer<ClientDataSet> dataSet_;
    bool enabled_ = true;
    QList<QMetaObject::Connection> links_;
    std::vector<InputWriter> writers_;
};

// Runs every step; when steps throw, rethrows the first error once all have run.
void runAll(const std::vector<std::function<void()>>& steps);

} // namespace data
