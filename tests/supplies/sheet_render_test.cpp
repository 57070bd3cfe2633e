// SPDX-License-Identifier: GPL-3.0-or-later
#include <QDir>

#include "forms/layout_units.h"
#include "sheet_fixture.h"
#include "support/picture_checks.h"

namespace sheet_tests {
namespace {

// Renders both sheets offscreen, on a day with items, to the folder named by
// TALLOWBROOK_SNAPSHOT_DIR, so anyone can look at them the same way.
class SheetRenderTest : public SheetTest {};

TEST_F(SheetRenderTest, BothSheetsShowTheirSubtotalPanelInThePicture) {
    forms::setScreenDpiForTesting(96);
    addDay("2002/2/12", {{"Soup cup", 12},
                         {"Chopsticks", 3.5},
                         {"Rubber band", 1},
                         {"Cup", 120},
                         {"Fruit juice mixer", 899},
                         {"Other2", 15}});
    auto* main = openDailyWindow();
    main->showDay("2002/2/12");
    const QString folder = qEnvironmentVariable("TALLOWBROOK_SNAPSHOT_DIR");
    for (const char* name : {"Form2", "Form3"}) {
        auto* sheet = openLikeDetailButton(name);
        const QImage image = sheet->grab().toImage();
        ASSERT_FALSE(image.isNull());
        // The subtotal shows on its pink panel.
        EXPECT_EQ(colourNearRightEdge(image, sheet, sheet->findChild<QWidget*>("Label12")),
                  forms::bgrColor(0x00FFC0C0))
            << name;
        if (!folder.isEmpty()) {
            QDir().mkpath(folder);
            EXPECT_TRUE(image.save(folder + "/" + name + ".png"));
        }
    }
    EXPECT_TRUE(prompts.told.isEmpty());
    forms::setScreenDpiForTesting(0);
}

}  // namespace
}  // namespace sheet_tests
