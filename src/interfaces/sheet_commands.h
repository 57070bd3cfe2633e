// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QPushButton;

namespace supplies {

// What other windows may use of a supply sheet (Form2, Form3): its "By here
// day" command, which the daily window's Detail buttons press.
class SheetCommands {
public:
    virtual QPushButton* byHereDayButton() const = 0;  // Command1

protected:
    ~SheetCommands() = default;
};

}  // namespace supplies
