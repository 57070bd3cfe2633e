// SPDX-License-Identifier: GPL-3.0-or-later
#include "ledger/store/postgres/libpq_on_demand.h"

#include <dlfcn.h>

#include "ledger/base/ledger_error.h"

namespace ledger {

namespace {

// libpq's ABI has kept this name since PostgreSQL 8.4; Debian's libpq5.
constexpr const char* kLibpq = "libpq.so.5";

QString cannotUse(const QString& why) {
    return QStringLiteral(
               "Cannot reach a PostgreSQL server: its client library (%1) cannot be used "
               "here (%2). Install the package libpq5 (sudo apt install libpq5), then start "
               "the program again. Books kept in a file need no server.")
        .arg(QString::fromLatin1(kLibpq), why);
}

}  // namespace

std::variant<Libpq, QString> loadLibpq(const char* soname) {
    // Local: the library's names never stand in for anyone else's. Never
    // unloaded: connections live as long as the program.
    void* library = dlopen(soname, RTLD_NOW | RTLD_LOCAL);
    if (!library) return cannotUse(QString::fromLocal8Bit(dlerror()));
    Libpq functions;
#define TALLOWBROOK_LIBPQ_RESOLVE(name)                                                     \
    functions.name = reinterpret_cast<decltype(&::name)>(dlsym(library, #name));            \
    if (!functions.name)                                                                    \
        return cannotUse(QStringLiteral("it lacks %1; it is older than this program needs") \
                             .arg(QLatin1String(#name)));
    TALLOWBROOK_LIBPQ_FUNCTIONS(TALLOWBROOK_LIBPQ_RESOLVE)
#undef TALLOWBROOK_LIBPQ_RESOLVE
    return functions;
}

const Libpq& libpq() {
    // Loaded once, by whichever thread comes first.
    static const std::variant<Libpq, QString> loaded = loadLibpq(kLibpq);
    if (const QString* failure = std::get_if<QString>(&loaded))
        fail(ErrorCode::StoreFailure, *failure);
    return std::get<Libpq>(loaded);
}

}  // namespace ledger
