#include "bench/firebird_api.h"
#include <cstdlib>
#include <stdexcept>
#include <unistd.h>
#include <vector>

namespace bench {

void prepareFirebirdEnvironment() {
    if (std::getenv("FIREBIRD_LOCK") == nullptr) {
        const std::string folder = "/tmp/quiru-firebird-" + std::to_string(getuid());
        setenv("FIREBIRD_LOCK", folder.c_str(), 0);
    }
}

void checkStatus(const ISC_STATUS* status, const std::string& what) {
    if (status[0] != 1 || status[1] == 0)
        return;
    std::string text = what + ":";
    const ISC_STATUS* vector = status;
    char line[512];
    while (fb_interpret(line, sizeof line, &vector) > 0)
        text += std::string(" ") + line;
    throw std::runtime_error(text);
}

namespace {
void addParameter(std::vector<char>& dpb, char tag, const std::string& value) {
    dpb.push_back(tag);
    dpb.push_back(char(value.size()));
    dpb.insert(dpb.end(), value.begin(), value.end());
}
} // namespace

Attachment::Attachment(const std::string& path) {
    std::vector<char> dpb{isc_dpb_version1};
    addParameter(dpb, isc_dpb_user_name, "SYSDBA");
    addParameter(dpb, isc_dpb_password, "pelicanos");
    addParameter(dpb, isc_dpb_lc_ctype, "UTF8");
    ISC_STATUS_ARRAY status;
    isc_attach_database(status, 0, path.c_str(), &db_, short(dpb.size()), dpb.data());
    checkStatus(status, "attach " + path);
}

Attachment::~Attachment() {
    ISC_STATUS_ARRAY status;
    if (db_ != 0)
        isc_detach_database(status, &db_);
}

void Attachment::execute(const std::string& sql) {
    Transaction transaction(*this, Transaction::ReadWrite);
    ISC_STATUS_ARRAY status;
    isc_dsql_execute_immediate(status, &db_, transaction.handle(), 0, sql.c_str(), SQL_DIALECT_V6,
                               nullptr);
    checkStatus(status, "execute " + sql.substr(0, 60));
    transaction.commit();
}

Transaction::Transaction(Attachment& attachment, Mode mode) {
    // Read committed with record versions: readers never wait for writers.
    const char tpb[] = {isc_tpb_version3, char(mode == ReadOnly ? isc_tpb_read : isc_tpb_write),
                        isc_tpb_read_committed, isc_tpb_rec_version, isc_tpb_nowait};
    ISC_STATUS_ARRAY status;
    isc_start_transaction(status, &tr_, 1, attachment.handle(), short(sizeof tpb), tpb);
    checkStatus(status, "start transaction");
}

Transaction::~Transaction() {
    ISC_STATUS_ARRAY status;
    if (tr_ != 0)
        isc_rollback_transaction(status, &tr_);
}

void Transaction::commit() {
    ISC_STATUS_ARRAY status;
    isc_commit_transaction(status, &tr_);
    checkStatus(status, "commit");
}

} // namespace bench
