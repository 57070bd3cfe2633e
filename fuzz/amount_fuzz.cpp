// SPDX-License-Identifier: GPL-3.0-or-later
// Amounts typed into any field, and amounts written back into a column.
// Properties: reading a text never fails but by Overflow; what amountText
// writes reads back as the same figure (the sheets read their own labels
// back); a text the strict column form accepts reads as the same number
// through the lenient field reading.
#include <cmath>

#include "fuzz/fuzz_input.h"
#include "ledger/amount/amount.h"
#include "ledger/base/ledger_error.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString text = fuzz::textOf(data, size);
    double value = 0;
    try {
        value = ledger::parseAmount(text);
    } catch (const ledger::LedgerError& error) {
        fuzz::require(error.code() == ledger::ErrorCode::Overflow, "only an overflow fails a read",
                      text);
        return 0;
    }
    fuzz::require(std::isfinite(value), "a read figure is finite", text);
    const QString shown = ledger::amountText(value);
    fuzz::require(ledger::amountText(ledger::parseAmount(shown)) == shown,
                  "a written figure reads back as itself", text + QStringLiteral(" -> ") + shown);

    if (const auto stored = ledger::parseStoredAmount(text); stored && !stored->isEmpty) {
        fuzz::require(stored->value == value || (std::isnan(stored->value) && std::isnan(value)),
                      "the column form and the field reading agree", text);
    }
    return 0;
}
