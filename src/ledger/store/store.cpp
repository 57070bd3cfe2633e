#include "store.h"

#include "postgres_store.h"
#include "server_address.h"
#include "sqlite_store.h"

namespace ledger {

// A connection URI names a server database; anything else is a file.
std::shared_ptr<Store> openStore(const Connection& where) {
    if (isServerAddress(where.path)) return PostgresStore::open(where.path);
    return SqliteStore::open(where.path);
}

}  // namespace ledger
