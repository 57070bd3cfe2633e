#include "ledger/store/store.h"

#include "ledger/store/postgres/postgres_store.h"
#include "ledger/store/server_address.h"
#include "ledger/store/sqlite/sqlite_store.h"

namespace ledger {

// A connection URI names a server database; anything else is a file.
std::shared_ptr<Store> openStore(const Connection& where) {
    if (isServerAddress(where.path)) return PostgresStore::open(where.path);
    return SqliteStore::open(where.path);
}

}  // namespace ledger
