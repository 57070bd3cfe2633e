// SPDX-License-Identifier: GPL-3.0-or-later
// Criteria and LIKE patterns: the searches build them from typed text.
// Properties: a criterion either parses or is refused as a syntax error
// (never anything else), and isWellFormed says which; a typed value put in
// as a literal (quotedText of likeLiteral) is found by its own criterion
// and by no other text but its case variants; a pattern never throws.
#include <QVariant>

#include "fuzz/fuzz_input.h"
#include "ledger/base/ledger_error.h"
#include "ledger/query/criteria.h"
#include "ledger/query/like_match.h"
#include "ledger/query/quoted_text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QStringList texts = fuzz::textsOf(data, size, 3);
    const QString& first = texts[0];
    const QString& second = texts[1];

    bool parsed = false;
    try {
        const auto criterion = ledger::Criterion::parse(first);
        parsed = true;
        fuzz::require(!criterion.conditions.empty(), "a parsed criterion has a condition", first);
        std::vector<QVariant> values(criterion.conditions.size(), QVariant(second));
        (void)criterion.matches(values);
    } catch (const ledger::LedgerError& error) {
        fuzz::require(error.code() == ledger::ErrorCode::SyntaxErrorInCriteria,
                      "a criterion is refused only as a syntax error", first);
    }
    fuzz::require(parsed == ledger::Criterion::isWellFormed(first),
                  "isWellFormed says what parse does", first);

    // Any value, O'Brien and [#*?] included, finds itself as a literal.
    const QString criterion =
        QStringLiteral("Name like ") + ledger::quotedText(ledger::likeLiteral(first));
    try {
        const auto literal = ledger::Criterion::parse(criterion);
        fuzz::require(literal.matches({QVariant(first)}), "a literal finds its own text",
                      criterion);
        if (literal.matches({QVariant(second)}))
            fuzz::require(ledger::textEqualsIgnoringCase(first, second),
                          "a literal finds only its own text",
                          criterion + QStringLiteral(" ~ ") + second);
    } catch (const ledger::LedgerError&) {
        fuzz::broken("a quoted literal always parses", criterion);
    }

    // Patterns as the user types them: never a failure, a broken list none.
    const bool matched = ledger::likeMatches(second, first);
    if (!ledger::isValidLikePattern(first))
        fuzz::require(!matched, "an invalid pattern matches nothing", first);
    fuzz::require(ledger::likeMatches(second, u"*"), "* matches everything", second);
    return 0;
}
