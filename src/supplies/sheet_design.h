// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

#include "interfaces/daily_window_face.h"

namespace supplies {

// Everything that tells the tableware sheet and the shop-articles sheet
// apart. Both windows are the one SupplySheet built from one of these.
struct SheetDesign {
    QString windowName;        // Form2 / Form3
    QString caption;           // window title
    QStringList itemCaptions;  // Label1 ... Label10, exactly as the shop's sheet shows them
    QStringList itemColumns;   // columns of Text1 ... Text10
    QString dateField;         // the field bound to Date
    QString subtotalCaption;   // Label11
    // The daily window's purchase figure that "Confirm" fills.
    daily::DailyWindowFace::Purchase purchase = daily::DailyWindowFace::Purchase::Tableware;
    int clientWidthTwips = 0;
    int clientHeightTwips = 0;
};

// The tableware sheet (Form2): splits the day's Tableware cost.
const SheetDesign& tablewareSheet();

// The shop-articles sheet (Form3): splits the day's Articles in the shop cost.
const SheetDesign& shopArticlesSheet();

}  // namespace supplies
