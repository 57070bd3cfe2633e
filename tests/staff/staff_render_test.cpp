// SPDX-License-Identifier: GPL-3.0-or-later
#include <QDir>

#include "staff_fixture.h"

namespace staff_tests {
namespace {

// Renders both windows mid-entry to the folder named by
// TALLOWBROOK_SNAPSHOT_DIR, so anyone can look at them the same way.
TEST_F(StaffTest, TheWageSheetAndTheRegisterRenderToPictures) {
    addEmployee("Tovena", "S1", 80, 100, 3000);
    addDay("2002/2/12", 1200);
    staff::Form5* wages = openWageWindow(openDailyOn("2002/2/12"));
    button(wages, "Command3")->click();
    staff::Form6* reg = pickEmployee(wages, "Tovena");
    ASSERT_NE(reg, nullptr);
    const QImage registerImage = reg->grab().toImage();
    button(reg, "Command1")->click();
    type(wages, "Text7", "8");
    type(wages, "Text9", "2");
    type(wages, "Text13", "30");
    const QImage wageImage = wages->grab().toImage();
    ASSERT_FALSE(registerImage.isNull());
    EXPECT_EQ(wageImage.size(), wages->size());
    const QString folder = qEnvironmentVariable("TALLOWBROOK_SNAPSHOT_DIR");
    if (!folder.isEmpty()) {
        QDir().mkpath(folder);
        EXPECT_TRUE(wageImage.save(folder + "/Form5.png"));
        EXPECT_TRUE(registerImage.save(folder + "/Form6.png"));
    }
}

}  // namespace
}  // namespace staff_tests
