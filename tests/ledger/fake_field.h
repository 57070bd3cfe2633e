// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ledger/records/record_source.h"

// A bound field without a widget: what the record source shows and what the
// "user" typed.
struct FakeField : ledger::FieldBinding {
    FakeField(ledger::RecordSource& source, const QString& column)
        : source(source), column(column) {
        source.bind(this);
    }
    ~FakeField() override { source.unbind(this); }

    QString boundColumn() const override { return column; }
    void showValue(const QString& value) override {
        text = value;
        changed = false;
    }
    bool isChanged() const override { return changed; }
    QString editedText() const override { return text; }
    void clearChanged() override { changed = false; }

    void type(const QString& value) {
        text = value;
        changed = true;
    }

    ledger::RecordSource& source;
    QString column;
    QString text;
    bool changed = false;
};
