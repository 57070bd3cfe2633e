// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

// What every target shares: the fuzzer's bytes as the texts a user or a file
// would give the program, and one way to stop on a broken property that
// names it, so a crash report says what was wrong and not only where.
namespace fuzz {

// The bytes as UTF-8, as a field's text or a file's line would reach the
// program (invalid sequences become U+FFFD, as Qt reads them).
inline QString textOf(const uint8_t* data, size_t size) {
    return QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
}

// Several texts from one input, split at the byte 0x1F (unit separator):
// the fuzzer learns the separator from the seeds.
inline QStringList textsOf(const uint8_t* data, size_t size, int wanted) {
    QStringList parts = textOf(data, size).split(QChar(0x1F));
    while (parts.size() < wanted) parts << QString();
    return parts;
}

[[noreturn]] inline void broken(const char* property, const QString& detail) {
    std::fprintf(stderr, "property broken: %s\n  %s\n", property, detail.toUtf8().constData());
    std::abort();
}

inline void require(bool holds, const char* property, const QString& detail) {
    if (!holds) broken(property, detail);
}

}  // namespace fuzz
