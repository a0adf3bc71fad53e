#pragma once
// A thin layer over fbclient's C API for the benchmarks: the generator fills databases with it and
// the raw floor reads through it, so neither pays for Qt's driver.
#include <ibase.h>
#include <string>

namespace bench {

// Points the embedded engine's lock folder at one of the current user's unless FIREBIRD_LOCK is
// set, as the program does; must run before the first attachment.
void prepareFirebirdEnvironment();

// Throws std::runtime_error with Firebird's text when the status vector holds an error.
void checkStatus(const ISC_STATUS* status, const std::string& what);

class Attachment {
public:
    explicit Attachment(const std::string& path); // SYSDBA, UTF8 connection character set
    ~Attachment();
    Attachment(const Attachment&) = delete;
    Attachment& operator=(const Attachment&) = delete;

    isc_db_handle* handle() { return &db_; }
    // Runs one statement (an EXECUTE BLOCK, say) in its own read-write transaction and commits.
    void execute(const std::string& sql);

private:
    isc_db_handle db_ = 0;
};

class Transaction {
public:
    enum Mode { ReadOnly, ReadWrite };
    Transaction(Attachment& attachment, Mode mode); // read committed
    ~Transaction();                                 // rolls back unless committed
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

    isc_tr_handle* handle() { return &tr_; }
    void commit();

private:
    isc_tr_handle tr_ = 0;
};

} // namespace bench
