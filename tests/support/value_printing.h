// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QVariant>
#include <ostream>

// How GoogleTest shows a value read from the books when a test fails: empty,
// a number to the last bit, or a text in quotes, instead of raw bytes.
void PrintTo(const QVariant& value, std::ostream* out);
