// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <libpq-fe.h>

#include <QString>
#include <variant>

namespace ledger {

// The PostgreSQL client library, loaded the first time a server is named:
// a shop whose books are a file never loads it (nor the TLS, Kerberos and
// LDAP libraries it brings), so the program starts sooner and smaller.
// Every libpq function the program calls, by its own name and type.
#define TALLOWBROOK_LIBPQ_FUNCTIONS(X) \
    X(PQbackendPID)                    \
    X(PQcancel)                        \
    X(PQclear)                         \
    X(PQcmdTuples)                     \
    X(PQconnectdbParams)               \
    X(PQconnectionNeedsPassword)       \
    X(PQconninfoFree)                  \
    X(PQconninfoParse)                 \
    X(PQconsumeInput)                  \
    X(PQerrorMessage)                  \
    X(PQexec)                          \
    X(PQexecParams)                    \
    X(PQfinish)                        \
    X(PQfreeCancel)                    \
    X(PQfreemem)                       \
    X(PQftype)                         \
    X(PQgetCancel)                     \
    X(PQgetisnull)                     \
    X(PQgetlength)                     \
    X(PQgetResult)                     \
    X(PQgetvalue)                      \
    X(PQhost)                          \
    X(PQisBusy)                        \
    X(PQnfields)                       \
    X(PQntuples)                       \
    X(PQport)                          \
    X(PQreset)                         \
    X(PQresultErrorField)              \
    X(PQresultErrorMessage)            \
    X(PQresultStatus)                  \
    X(PQsendQueryParams)               \
    X(PQsetNoticeReceiver)             \
    X(PQsetSingleRowMode)              \
    X(PQstatus)

struct Libpq {
#define TALLOWBROOK_LIBPQ_MEMBER(name) decltype(&::name) name = nullptr;
    TALLOWBROOK_LIBPQ_FUNCTIONS(TALLOWBROOK_LIBPQ_MEMBER)
#undef TALLOWBROOK_LIBPQ_MEMBER
};

// The library's functions, loaded at the first call and kept for the
// program's life; fails with StoreFailure, saying what to install, when the
// library is not there. Any thread may call it.
const Libpq& libpq();

// Loads the library of that name: its functions, or why it cannot be used.
std::variant<Libpq, QString> loadLibpq(const char* soname);

}  // namespace ledger
