// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <stdexcept>

namespace ledger {

// Error numbers follow the home platform's runtime and database engine, so a
// shop owner who reports "error 3021" means the same thing everywhere.
enum class ErrorCode : int {
    Overflow = 6,
    DivisionByZero = 11,
    TypeMismatch = 13,
    InvalidOperation = 5,
    NoCurrentRecord = 3021,
    FileNotFound = 3024,
    ReadOnly = 3027,
    SyntaxErrorInCriteria = 3077,
    MalformedQuery = 3075,
    UnknownName = 3265,
    NotADatabase = 3343,
    DataTypeConversion = 3421,
    StoreFailure = 3197,
    RecordDeleted = 3167,     // the row was deleted by another program or window
    ChangedElsewhere = 3260,  // another program changed what this window was changing
    FileReplaced = 3043,      // the database file was replaced under the running program
    OutcomeUnknown = 3146,    // the server may or may not have stored it; the next try asks
    AlreadyStored = 3022,     // a new row would repeat a value that must not repeat (a day's date)
    CancelledByUser = 3059,   // the user chose not to store it: said already, never reported again
};

// The one error type of the program. Every failing step throws it; the error
// boundary of the windows turns it into a single message box.
class LedgerError : public std::runtime_error {
public:
    LedgerError(ErrorCode code, const QString& message);

    ErrorCode code() const { return code_; }
    int number() const { return static_cast<int>(code_); }
    const QString& message() const { return message_; }

private:
    ErrorCode code_;
    QString message_;
};

[[noreturn]] void fail(ErrorCode code, const QString& message);

}  // namespace ledger
