#pragma once
// The in-memory dataset every window works with: reads a whole table (or a query) into compact
// typed columns, moves a cursor over the visible rows (filtered, ordered by the current index),
// edits one record at a time and keeps a log of changes that apply_updates turns into SQL.
#include "platform/data/column_store.h"
#include "platform/data/field_def.h"
#include <QObject>
#include <QPointer>
#include <QVariant>
#include <exception>
#include <functional>
#include <initializer_list>
#include <memory>
#include <optional>
#include <vector>

namespace data {

class ClientDataSet;
class DataSource;
class FilterExpression;
struct SourceColumn;
class SqlConnection;
class SqlQuery;

enum class DataSetState { Inactive, Browse, Edit, Insert };

enum LocateOption { CaseInsensitive = 1, PartialKey = 2 };
using LocateOptions = int;

enum IndexOption { Descending = 1, IgnoreCase = 2 };
using IndexOptions = int;

struct IndexDef {
    QString name;
    QString fields; // "DESCRICAO" or "GRUPO;DESCRICAO"
    IndexOptions options = 0;
};

// One column of the current record. Reads the record under edit while editing, else the row
// under the cursor. Setters check the value against the column before storing it.
class Field {
public:
    Field(ClientDataSet* owner, int index, FieldDef def)
        : owner_(owner), index_(index), def_(std::move(def)) {}

    const FieldDef& def() const { return def_; }
    FieldDef& def() { return def_; }
    const QString& name() const { return def_.name; }
    int index() const { return index_; }
    FieldKind kind() const { return def_.kind; }
    ClientDataSet* dataSet() const { return owner_; }

    QVariant value() const; // null QVariant when empty
    bool isNull() const;
    qint64 asInteger() const;
    double asFloat() const;
    QString asString() const; // plain text: numbers with ',' decimals, dates DD/MM/YYYY
    QDate asDate() const;
    QTime asTime() const;
    QByteArray asBlob() const;

    // What a control shows while browsing (currency as money), and the text it edits.
    QString displayText() const;
    // The same text for any value of a column with this definition (grids show rows this way).
    static QString displayText(const FieldDef& def, const QVariant& value);
    QString editText() const;

    // Setters need the dataset in Edit or Insert state. They throw FieldError on a value that does
    // not fit (integer out of 32 bits, text over the column length, unparsable text) and then leave
    // the record unchanged.
    void setValue(const QVariant& value);
    void setAsString(const QString& text); // parses typed text by the field's kind
    void clear();

private:
    ClientDataSet* owner_;
    int index_;
    FieldDef def_;
};

class ClientDataSet : public QObject {
    Q_OBJECT
public:
    explicit ClientDataSet(QObject* parent = nullptr);
    ~ClientDataSet() override;

    // --- Definition ---
    // Reads every row and column of a table; apply writes back to it.
    void setTable(SqlConnection* connection, const QString& table);
    // Reads a query's result instead (read-only unless setTable names where to write).
    void setQuery(SqlQuery* query);
    const QString& tableName() const { return table_; }
    SqlConnection* connection() const { return connection_; }

    // Declared fields; when none are declared, open() takes them from the result.
    Field& addField(const FieldDef& def);
    int fieldCount() const { return int(fields_.size()); }
    Field& field(int index) { return *fields_.at(index); }
    Field& field(const QString& name);     // throws DataError when unknown
    Field* findField(const QString& name); // nullptr when unknown
    Field* findFieldByComponentName(const QString& componentName);
    const std::vector<std::unique_ptr<Field>>& fields() const { return fields_; }

    // --- Open / close ---
    void open(); // no-op when open
    // Opens empty with the declared fields and no source: rows live only in memory.
    void createDataSet();
    void close(); // drops the rows and the log
    bool active() const { return state_ != DataSetState::Inactive; }
    // A table too large to read before its window shows: open() reads its first rows and the
    // rest follows a slice at a time while the event loop turns, in a snapshot of the moment
    // of opening. Only while the rows keep the order as read (no index), or the order of an
    // index the table can send them in (setReadOrder). Whatever needs every
    // row first reads the rest (a count, the last row, a search that the rows read so far do
    // not answer, an index, a row read again, the connection closing), so no answer is given
    // from part of the table as if it were the whole.
    // A slice is what fbclient delivers in a few milliseconds; `rowsPerSlice` also bounds it.
    void setReadInSlices(bool on, int rowsPerSlice = 0) {
        readInSlices_ = on;
        rowsPerSlice_ = rowsPerSlice;
    }
    // The table can send its rows in nearly the order of an ascending index over `fields`:
    // `sqlOrder` is an ORDER BY list that one of the database's own indexes serves. While that
    // index is chosen, a table read in slices is read in that order, so the first rows of the
    // order show at once instead of after the whole table. Each row read still goes where the
    // dataset's own order puts it, so a row the database orders otherwise lands in its place.
    void setReadOrder(const QString& fields, const QString& sqlOrder) {
        readOrderFields_ = fields;
        readOrderSql_ = sqlOrder;
    }
    bool wholeRead() const { return !reading_ && !readFailure_; }
    // Reads what is left now. A reading an error cut short (a lost connection) starts again from
    // the first row, keeping the position, when nothing is under edit or waiting to be stored;
    // otherwise, or when it fails again, the error is thrown.
    void readAll();
    void refresh() {
        close();
        open();
    }
    // Reads the one row whose keyField equals key again from the table, so that it holds what
    // the database holds now, without reading the whole table: the cached row takes the stored
    // values, goes when the database no longer has it, or comes when only the database has it.
    // Makes it the current record when it is visible. Returns whether the database holds it.
    // Throws DataError while a record is under edit or changes wait to be applied.
    bool refreshRow(const QString& keyField, const QVariant& key);

    // --- Cursor over the visible rows ---
    int recordCount() const;
    // The visible rows read so far, without reading more: all of them once wholeRead().
    int rowsRead() const { return int(view_.size()); }
    int recNo() const { return cursor_; } // 0-based position in the visible rows; -1 when empty
    bool isEmpty() const;
    bool eof() const { return eof_; }
    bool bof() const { return bof_; }
    void first();
    void last();
    void next();
    void prior();
    void moveTo(int position); // clamps
    // Position by the given fields' values; fields separated by ";". Moves only when found.
    bool locate(const QString& fields, const QVariantList& values, LocateOptions options = 0);
    bool locate(const QString& field, const QVariant& value, LocateOptions options = 0) {
        return locate(field, QVariantList{value}, options);
    }
    // Positions on the first visible row whose field holds value: now when it is among the rows
    // read, else when a slice of the reading brings it, unless something moves the cursor first.
    // For following another window's row without waiting for the whole table.
    void locateWhenRead(const QString& field, const QVariant& value);
    // Reads another row's field without moving: the first visible row whose keyField equals key.
    QVariant lookup(const QString& keyField, const QVariant& key, const QString& resultField) const;
    // Every stored row, filtered out or not, in storage order; the cursor does not move.
    template <typename Fn> void forEachRow(Fn&& fn) const {
        needWholeTable();
        for (RowId row = 0; row < RowId(store_.rowCount()); ++row)
            if (store_.alive(row))
                fn(store_, row);
    }
    // A visible row's value without moving the cursor (grids read rows this way).
    QVariant valueAt(int position, int fieldIndex) const;

    // --- Editing ---
    DataSetState state() const { return state_; }
    void insert(); // appends an empty record under edit
    void append() { insert(); }
    void edit();         // current row under edit; throws when the dataset is empty
    void post();         // checks required fields, stores the record, adds it to the log
    void cancel();       // drops the record under edit
    void deleteRecord(); // removes the current row and logs it
    // Checks (without storing) what post() would check; throws FieldError.
    void checkRequired() const;
    // Has the controls of every data source on this dataset write what is still typed in them,
    // as post() does first. Throws the first FieldError after all have written.
    void writePendingInput();

    // --- Change log ---
    int changeCount() const { return int(log_.size()); }
    // Applies the log in one transaction: one INSERT, UPDATE or DELETE per change, finding rows by
    // their key as read (by every old value where the table has no key). An UPDATE or DELETE that
    // touches no row is an error. On error nothing is stored, the log stays, and it throws.
    void applyUpdates(int maxErrors = 0);
    // Applies several datasets' logs in one transaction of their shared connection: all or nothing.
    static void applyTogether(const std::vector<ClientDataSet*>& dataSets);
    // Puts the cached rows back as they were read and empties the log.
    void cancelUpdates();
    // Runs `change` (setting the fields of the record under edit), posts and applies at once.
    // On any failure the change is dropped (cancelUpdates), so the shared rows hold only what is
    // stored, and the error goes on.
    void postAndApply(const std::function<void()>& change = {});

    // --- Filter ---
    void setFilter(const QString& expression); // parsed at once; throws DataError when malformed
    const QString& filter() const { return filterText_; }
    void setFiltered(bool on);
    bool filtered() const { return filtered_; }

    // --- Indexes ---
    std::vector<IndexDef>& indexDefs() { return indexDefs_; }
    const std::vector<IndexDef>& indexDefs() const { return indexDefs_; }
    void addIndex(const QString& name, const QString& fields, IndexOptions options = 0);
    void setIndexName(const QString& name); // "" = order as read
    const QString& indexName() const { return indexName_; }

    // While disabled, controls are not told about moves (for bulk walks).
    void disableControls();
    void enableControls();
    bool controlsDisabled() const { return disabledCount_ > 0; }

signals:
    void dataSetChanged();            // opened, closed, refreshed, filtered, reordered
    void scrolled();                  // the current row changed
    void recordChanged(Field* field); // a field of the record under edit changed (nullptr: all)
    void stateChanged();
    void beforePost();
    void afterPost();
    void afterScroll();
    // Rows of a table being read put `count` visible rows at `position`: after the rows read
    // before when read in the table's order, where the index puts them otherwise.
    void rowsAboutToArrive(int position, int count);
    void rowsArrived();

protected:
    void timerEvent(QTimerEvent* event) override;

private:
    friend class Field;
    struct TableRead;
    friend class DataSource;
    void addDataSource(DataSource* source);
    void removeDataSource(DataSource* source);

    struct Change {
        enum Kind { Insert, Update, Delete } kind;
        RowId row;
        std::vector<QVariant> original; // values as read, for Update and Delete
    };

    QVariant currentValue(int column) const;
    void setCurrentValue(int column, const QVariant& value);
    void requireEditing(const char* what) const;
    void requireBrowsing(const char* what) const;
    void rebuildView();
    // Rows added here while the table was still being read stay after every row read.
    bool isLocal(RowId row) const;
    bool readOrderLess(RowId a, RowId b) const;
    // Reads one more slice (or, with no budget, the rest) and shows its rows that pass; returns
    // where the first of them went in the view and how many they are. Read in the table's
    // order (no index), they are one block there.
    std::pair<int, int> readSlice(int budgetMs, bool notify = true);
    // Puts rows sorted by the view's order at their places, one block per run that lands
    // together; returns where the first went.
    int mergeIntoView(const std::vector<RowId>& rows, bool notify);
    bool viewLess(RowId a, RowId b) const {
        return sortFields_.empty() ? readOrderLess(a, b) : rowLess(a, b);
    }
    // Starts reading the table from its first row, with the order the current index allows.
    void beginTableRead();
    // The view of the rows read so far, with a first row when the table has one.
    void showFirstRows();
    bool readOrderServes(const std::vector<int>& fields, IndexOptions options) const;
    bool readsInIndexOrder() const { return readOrderServes(sortFields_, sortOptions_); }
    // An index the table can send its rows in was chosen while they were still being read:
    // they are read again in its order, keeping the current row.
    void readAgainInIndexOrder();
    void stopReading();
    void finishReading(); // what is left, without starting a failed reading again
    void readAgain();
    void needWholeTable() const;
    // Reads slices while `more` holds and rows are left; a failed reading starts again.
    template <typename Pred> void readWhile(Pred&& more, bool notify = true) {
        if (readFailure_ && more())
            readAgain();
        while (!wholeRead() && more())
            readSlice(kSliceMs, notify && active());
    }
    static constexpr int kSliceMs = 8;
    bool passesFilter(RowId row) const;
    bool rowLess(RowId a, RowId b) const;
    // Puts a row at its sorted place if it passes the filter; returns its position or -1.
    int placeInView(RowId row, bool inView);
    void removeFromView(RowId row);
    void setCursor(int position, bool notify = true);
    void setState(DataSetState state);
    void notifyDataSetChanged();
    void notifyScrolled();
    // Refuses a table whose columns the fields cannot hold exactly, naming the column.
    void checkColumns(const std::vector<SourceColumn>& columns);
    std::vector<int> fieldIndexes(const QString& list) const;
    void applyLog(); // inside an open transaction
    void forgetLog();

    SqlConnection* connection_ = nullptr;
    QString table_;
    SqlQuery* query_ = nullptr;
    std::vector<std::unique_ptr<Field>> fields_;
    bool declaredFields_ = false;

    ColumnStore store_;
    std::vector<RowId> view_; // visible rows, in index order
    struct Order {
        std::vector<RowId> rows;       // every live row in index order
        quint64 version = ~quint64(0); // of the store when it was sorted
        std::vector<int> fields;
        IndexOptions options = 0;
    } ordered_;
    int cursor_ = -1;
    bool eof_ = true;
    bool bof_ = true;
    DataSetState state_ = DataSetState::Inactive;
    std::vector<QVariant> buffer_; // the record under edit
    RowId editingRow_ = kNoRow;

    std::vector<Change> log_;

    bool readInSlices_ = false;
    int rowsPerSlice_ = 0;
    QString readOrderFields_;
    QString readOrderSql_;
    std::unique_ptr<TableRead> reading_;
    std::exception_ptr readFailure_;
    int sliceTimer_ = 0;
    std::vector<RowId> localRows_; // ascending
    struct PendingLocate {
        int column;
        QVariant value;
    };
    std::optional<PendingLocate> pendingLocate_;
    int findInView(int column, const QVariant& value) const; // -1: none

    QString filterText_;
    std::unique_ptr<FilterExpression> filterExpr_;
    bool filtered_ = false;

    std::vector<IndexDef> indexDefs_;
    QString indexName_;
    std::vector<int> sortFields_;
    IndexOptions sortOptions_ = 0;

    std::vector<QPointer<DataSource>> sources_; // asked for pending input before a post
    int disabledCount_ = 0;
};

} // namespace data
