// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/value_printing.h"

void PrintTo(const QVariant& value, std::ostream* out) {
    if (value.isNull()) {
        *out << "(empty)";
    } else if (value.typeId() == QMetaType::Double) {
        *out << QByteArray::number(value.toDouble(), 'g', 17).constData();
    } else {
        *out << value.typeName() << " \"" << value.toString().toStdString() << '"';
    }
}
