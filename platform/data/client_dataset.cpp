// The dataset's definition (source, fields) and how it tells its data sources of changes. The
// rest of the class lives beside it: dataset_open, dataset_slices, dataset_view, dataset_cursor,
// dataset_record and dataset_apply.
#include "platform/data/client_dataset.h"
#include "platform/data/errors.h"
#include "platform/data/filter_expression.h"
#include "platform/data/sql_connection.h"
#include "platform/data/sql_query.h"
#include "platform/data/table_read.h"

namespace data {

ClientDataSet::ClientDataSet(QObject* parent) : QObject(parent) {}
ClientDataSet::~ClientDataSet() = default;

void ClientDataSet::setTable(SqlConnection* connection, const QString& table) {
    if (connection_)
        disconnect(connection_, &SqlConnection::beforeDisconnect, this, nullptr);
    connection_ = connection;
    table_ = table;
    // The rest of a table being read comes before the attachment it is read on goes.
    if (connection)
        connect(connection, &SqlConnection::beforeDisconnect, this, [this] {
            try {
                finishReading();
            } catch (...) {
                // Kept: the next command that needs every row reads the table again.
            }
        });
}

void ClientDataSet::setQuery(SqlQuery* query) {
    query_ = query;
    if (query && !connection_)
        connection_ = query->connection();
}

Field& ClientDataSet::addField(const FieldDef& def) {
    if (active())
        throw DataError(QStringLiteral("Não é possível incluir campos com a tabela aberta."));
    declaredFields_ = true;
    fields_.push_back(std::make_unique<Field>(this, int(fields_.size()), def));
    return *fields_.back();
}

Field* ClientDataSet::findField(const QString& name) {
    for (auto& f : fields_)
        if (f->name().compare(name, Qt::CaseInsensitive) == 0)
            return f.get();
    return nullptr;
}

Field* ClientDataSet::findFieldByComponentName(const QString& componentName) {
    for (auto& f : fields_)
        if (f->def().componentName == componentName)
            return f.get();
    return nullptr;
}

Field& ClientDataSet::field(const QString& name) {
    if (Field* f = findField(name))
        return *f;
    throw DataError(QStringLiteral("%1: campo '%2' não encontrado.").arg(objectName(), name));
}

std::vector<int> ClientDataSet::fieldIndexes(const QString& list) const {
    std::vector<int> indexes;
    for (const QString& name : list.split(';', Qt::SkipEmptyParts)) {
        auto* self = const_cast<ClientDataSet*>(this);
        Field* f = self->findField(name.trimmed());
        if (!f)
            throw DataError(
                QStringLiteral("%1: campo '%2' não encontrado.").arg(objectName(), name));
        indexes.push_back(f->index());
    }
    return indexes;
}

void ClientDataSet::disableControls() {
    ++disabledCount_;
}

void ClientDataSet::enableControls() {
    if (disabledCount_ > 0 && --disabledCount_ == 0) {
        emit dataSetChanged();
        emit scrolled();
    }
}

void ClientDataSet::notifyDataSetChanged() {
    if (!controlsDisabled())
        emit dataSetChanged();
}

void ClientDataSet::notifyScrolled() {
    if (!controlsDisabled())
        emit scrolled();
    emit afterScroll();
}

} // namespace data
