// SPDX-License-Identifier: GPL-3.0-or-later
#include "hidden_secrets.h"

#include <QString>
#include <algorithm>
#include <cstring>

#include "ledger/store/server_address.h"

namespace tools {

void hideSecretsInArguments(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        const QString argument = QString::fromLocal8Bit(argv[i]);
        if (!ledger::isServerAddress(argument)) continue;
        // An address libpq cannot read may hold a password anywhere in it.
        if (ledger::isReadableAddress(argument) && ledger::secretsOf(argument).isEmpty()) continue;
        const QByteArray shown = ledger::displayName(argument).toLocal8Bit();
        // The argument's own bytes are the only room there is: the shown
        // form (shorter, since the secret is left out) is written into them
        // and the rest is cleared.
        const size_t room = std::strlen(argv[i]);
        const size_t length = std::min(room, static_cast<size_t>(shown.size()));
        std::memcpy(argv[i], shown.constData(), length);
        std::memset(argv[i] + length, 0, room - length);
    }
}

}  // namespace tools
