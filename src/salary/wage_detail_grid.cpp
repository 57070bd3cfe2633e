// SPDX-License-Identifier: GPL-3.0-or-later
#include "salary/wage_detail_grid.h"

#include <QGuiApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <algorithm>

#include "forms/data_grid.h"
#include "forms/error_boundary.h"
#include "forms/layout_units.h"
#include "forms/table_printer.h"
#include "forms/workspace.h"
#include "ledger/records/record_source.h"
#include "ledger/schema/schema.h"
#include "salary/column_autosize.h"
#include "salary/detail_query.h"
#include "salary/rules/detail_totals.h"

namespace salary {

using forms::placeTwips;

namespace {

constexpr int kGridClientWidth = 13680;
constexpr int kGridClientHeight = 5760;
constexpr int kGridTop = 720;

}  // namespace

Form9::Form9(QWidget* parent) : FormWindow(QStringLiteral("Form9"), parent) {
    setWindowTitle(QStringLiteral("Form9"));
    setFont(forms::arialFont(9, false));
    resize(forms::twips(kGridClientWidth), forms::twips(kGridClientHeight));

    // The design names the saved query; the load step always replaces it by
    // the detail query text.
    data_ = new ledger::RecordSource(QStringLiteral("Data1"), this);
    data_->setSource(ledger::schema::kInquiryDetail);

    title_ = new QLineEdit(QStringLiteral("The staff calculate wages(Detail)"), this);
    title_->setObjectName(QStringLiteral("Text1"));
    title_->setFont(forms::arialFont(12, true));
    placeTwips(title_, 120, 120, 4935, 495);

    autosize_ = new QPushButton(QStringLiteral("Autosize Columns"), this);
    autosize_->setObjectName(QStringLiteral("Command1"));
    placeTwips(autosize_, 5280, 120, 1935, 495);
    forms::connectGuarded(autosize_, &QPushButton::clicked, this, [this] { autosizeColumns(); });

    print_ = new QPushButton(QStringLiteral("Print"), this);
    print_->setObjectName(QStringLiteral("Command2"));
    placeTwips(print_, 7320, 120, 1215, 495);
    forms::connectGuarded(print_, &QPushButton::clicked, this, [this] { printSheet(); });

    grid_ = new forms::DataGrid(QStringLiteral("MSFlexGrid1"), *data_, this);
    placeGrid();

    QWidget::setTabOrder(autosize_, title_);
    QWidget::setTabOrder(title_, print_);
    QWidget::setTabOrder(print_, grid_);
    if (QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

Form9::~Form9() = default;

void Form9::resizeEvent(QResizeEvent* event) {
    placeGrid();
    FormWindow::resizeEvent(event);
}

void Form9::placeGrid() {
    // The grid fills the window's width and the height under the top row.
    const int top = forms::twips(kGridTop);
    grid_->setGeometry(0, top, width(), std::max(0, height() - top));
}

void Form9::loadStep() {
    data_->setDatabasePath(forms::workspace().books());
    data_->setSource(detailQueryText());
    // The record source has no bar and nothing to store; it opens here, at
    // the end of the load step, so a failure can still leave the grid its
    // heading row.
    openRows();
}

void Form9::openRows() {
    if (data_->source().isEmpty()) {
        // No usable query was asked for: the headings, no rows.
        showHeadingOnly();
        return;
    }
    try {
        data_->open();
    } catch (...) {
        showHeadingOnly();
        throw;  // the load reports it, once
    }
}

void Form9::showHeadingOnly() { grid_->showHeadingOnly(detailColumns()); }

void Form9::showAskedRows() {
    // Another "Detail" while the grid is open: its rows replace the ones
    // shown, so the grid always shows what was asked for last.
    data_->close();
    data_->setSource(detailQueryText());
    openRows();
}

void Form9::autosizeColumns() {
    // Measured in the window's own font, not the grid's.
    for (int column = 0; column < grid_->gridColumns(); ++column) {
        QStringList texts;
        for (int row = 0; row < grid_->gridRows(); ++row) texts << grid_->cellText(row, column);
        const int widthTwips = autosizedWidthTwips(longestByCharacters(texts), font(), this);
        grid_->setGridColumnWidth(column, forms::twips(widthTwips));
    }
}

void Form9::printSheet() {
    // Every row the grid holds, not the picture of the rows in view.
    forms::PrintedTable table;
    table.title = title_->text();
    for (int column = 1; column < grid_->gridColumns(); ++column)
        table.headings << grid_->cellText(0, column);
    for (int row = 1; row < grid_->gridRows(); ++row) {
        QStringList line;
        for (int column = 1; column < grid_->gridColumns(); ++column)
            line << grid_->cellText(row, column);
        table.lines << line;
    }
    table.totals = detailTotals(table.lines);
    forms::printTable(this, table);
}

}  // namespace salary
