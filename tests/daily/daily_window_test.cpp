// SPDX-License-Identifier: GPL-3.0-or-later
// The daily window's design, its adaptation to the screen's density, the
// buttons that open other windows, printing and a rendered image to look at.

#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QProcess>
#include <QScrollArea>
#include <QTemporaryDir>

#include "daily_fixture.h"
#include "forms/decorative_bar.h"
#include "forms/layout_units.h"
#include "forms/window_printer.h"
#include "forms/workspace.h"
#include "interfaces/daily_window_face.h"
#include "interfaces/daily_window_link.h"
#include "interfaces/sheet_commands.h"
#include "support/picture_checks.h"

namespace {

using forms::FormWindow;
using forms::twipsRect;

using DailyWindow = DailyWindowTest;

TEST_F(DailyWindow, CaptionTitleAndDesignPlaces) {
    openSheet();
    EXPECT_EQ(sheet()->windowTitle(), "Daily settlement of  accounts");
    EXPECT_EQ(sheet()->findChild<QLabel*>("Label2")->text(), "Daily settlement of accounts");
    EXPECT_EQ(sheet()->data1()->caption(), "  Date");
    EXPECT_EQ(sheet()->data1()->geometry(), twipsRect(9840, 120, 1875, 495));
    EXPECT_EQ(field("Text2")->geometry(), twipsRect(6240, 120, 1455, 525));
    EXPECT_EQ(field("Text2")->alignment() & Qt::AlignHCenter, Qt::AlignHCenter);
    EXPECT_EQ(field("Text1")->geometry(), twipsRect(1800, 1200, 1695, 495));
    EXPECT_EQ(field("Text21")->geometry(), twipsRect(5520, 5520, 1695, 495));
    EXPECT_EQ(field("Text31")->geometry(), twipsRect(9960, 4800, 1815, 495));
    EXPECT_EQ(figure("Label28")->geometry(), twipsRect(1800, 6480, 1695, 615));
    EXPECT_EQ(figure("Label44")->geometry(), twipsRect(9960, 6480, 1815, 615));
    EXPECT_EQ(button("Command10")->geometry(), twipsRect(8640, 7560, 2295, 735));
    EXPECT_EQ(sheet()->size(), twipsRect(0, 0, 11985, 8775).size());
    EXPECT_EQ(figure("Label42")->palette().color(QPalette::Window), forms::bgrColor(0x0080FF80));
    EXPECT_EQ(field("Text25")->palette().color(QPalette::Base), forms::bgrColor(0x00FFC0C0));
}

TEST_F(DailyWindow, EveryAmountFieldIsBoundToItsColumn) {
    // One day with a distinct amount in every column shows each in its field.
    const QStringList names = {"Text1",  "Text3",  "Text4",  "Text5",  "Text6",  "Text7",
                               "Text8",  "Text9",  "Text10", "Text11", "Text12", "Text13",
                               "Text14", "Text15", "Text16", "Text17", "Text18", "Text19",
                               "Text20", "Text21", "Text25", "Text26", "Text31"};
    const QStringList& columns = ledger::schema::ledgerDayAmounts();
    ASSERT_EQ(names.size(), columns.size());
    QMap<QString, double> amounts;
    for (int i = 0; i < columns.size(); ++i) amounts[columns[i]] = 101 + i;
    insertDay("2002/2/12", amounts);
    openSheet();
    for (int i = 0; i < names.size(); ++i)
        EXPECT_EQ(field(names[i])->text(), QString::number(101 + i)) << names[i].toStdString();
    EXPECT_EQ(figures(), expectedFigures(amounts));
}

TEST_F(DailyWindow, CaptionsBesideTheFields) {
    openSheet();
    const QMap<QString, QString> captions = {{"Label4", "Rant"},
                                             {"Label16", "Articles in the shop"},
                                             {"Label24", "General materials"},
                                             {"Label30", "Small incidental money"},
                                             {"Label33", "Deduct the small incidental money"},
                                             {"Label37", "Settlement total of every day"},
                                             {"Label3", "Administration"},
                                             {"Label5", "Expenditure"},
                                             {"Label27", "Income"}};
    for (auto it = captions.begin(); it != captions.end(); ++it) {
        auto* label = sheet()->findChild<QLabel*>(it.key());
        ASSERT_NE(label, nullptr) << it.key().toStdString();
        EXPECT_EQ(label->text(), it.value());
    }
    EXPECT_EQ(button("Command1")->text(), "Inquiry  --Style:2002/2/12");
    EXPECT_EQ(button("Command7")->text(), "Settle account in the month");
    for (int i = 1; i <= 6; ++i) {
        auto* image = sheet()->findChild<forms::DecorativeBar*>(QStringLiteral("Image%1").arg(i));
        ASSERT_NE(image, nullptr);
        // 8895 x 240 twips: the 593 x 16 pixel bar on a 96 dpi screen.
        EXPECT_EQ(image->size(), forms::twipsRect(0, 0, 8895, 240).size());
    }
}

struct DensityCase {
    double twipsDpi;  // the logical dpi controls are placed at
    double density;   // what the screen reports, scaling included
    QSize available;  // the room the screen has
    QSize sizeTwips;  // the window's size (at least its design size when fitted)
    double fieldPoints;
};

class DailyWindowDensity : public DailyWindowTest,
                           public ::testing::WithParamInterface<DensityCase> {};

// Every control of the window, inside the window or on the page that
// scrolls in it.
void expectEveryControlReachable(QWidget* window) {
    auto* scroll = window->findChild<QScrollArea*>("ScreenFitScroll");
    QWidget* page = scroll ? scroll->widget() : window;
    for (const char* name :
         {"Command1", "Command4", "Command5", "Command6", "Command10", "Text31", "Label44"}) {
        auto* control = window->findChild<QWidget*>(name);
        ASSERT_NE(control, nullptr) << name;
        EXPECT_EQ(control->parentWidget(), page) << name;
        EXPECT_TRUE(page->rect().contains(control->geometry())) << name;
    }
    if (scroll) {
        EXPECT_EQ(scroll->geometry(), window->rect());
        // Scrolled one way only where the screen is wide enough for the page
        // and its scroll bar.
        EXPECT_GE(scroll->viewport()->width(), page->width());
    }
}

TEST_P(DailyWindowDensity, WindowGeometryFollowsTheScreenAndReachesEveryControl) {
    const DensityCase c = GetParam();
    forms::setScreenDpiForTesting(c.twipsDpi);
    daily::setScreenDensityForTesting(c.density);
    forms::workspace().screen().available = c.available;
    openSheet();
    const QRect expected = twipsRect(0, 0, c.sizeTwips.width(), c.sizeTwips.height());
    if (!sheet()->findChild<QScrollArea*>("ScreenFitScroll")) {
        EXPECT_EQ(sheet()->size(), expected.size());
    }
    EXPECT_EQ(sheet()->size().boundedTo(c.available), sheet()->size());
    if (c.density != 100) {
        EXPECT_EQ(sheet()->pos(), QPoint(0, 0));
    }
    EXPECT_DOUBLE_EQ(field("Text1")->font().pointSizeF(), c.fieldPoints);
    EXPECT_DOUBLE_EQ(field("Text2")->font().pointSizeF(), c.density != 100 ? c.fieldPoints : 9.75);
    // Only the rent and the date change their font.
    EXPECT_DOUBLE_EQ(field("Text3")->font().pointSizeF(), 12);
    // The controls stay where the design puts them.
    EXPECT_EQ(field("Text31")->geometry(), twipsRect(9960, 4800, 1815, 495));
    expectEveryControlReachable(sheet());
}

// The design is 12000 x 9000 twips; at 120 dpi and more the design shrinks
// the window to 9600 x 7200 twips, which would cut off New, Save and Print,
// so the window grows back to its controls (Text31's right edge and the
// command row's foot, 11775 x 8295 twips) where the
// screen has room, and scrolls them where it has not. Desktop scaling keeps
// Qt's logical dpi at 96 and reports the scaled density.
INSTANTIATE_TEST_SUITE_P(
    Densities, DailyWindowDensity,
    ::testing::Values(DensityCase{96, 96, {1920, 1040}, {12000, 9000}, 12},
                      DensityCase{96, 100, {1920, 1040}, {11985, 8775}, 12},
                      DensityCase{120, 120, {1920, 1040}, {11775, 8295}, 9},
                      // 125 %, 150 % and 200 % on a 1366 x 768 or 1920 x 1080 screen.
                      DensityCase{96, 120, {1093, 574}, {11775, 8295}, 9},
                      DensityCase{96, 144, {1280, 680}, {11775, 8295}, 9},
                      DensityCase{96, 192, {960, 500}, {11775, 8295}, 9}));

TEST(ScreenDensity, TheTableBands) {
    EXPECT_EQ(daily::adaptationFor(72)->widthTwips, 12000);
    EXPECT_EQ(daily::adaptationFor(96)->widthTwips, 12000);
    EXPECT_FALSE(daily::adaptationFor(97).has_value());
    EXPECT_FALSE(daily::adaptationFor(119).has_value());
    EXPECT_EQ(daily::adaptationFor(120)->widthTwips, 9600);
    EXPECT_EQ(daily::adaptationFor(144)->heightTwips, 7200);
    // A 125 % desktop: 96 logical dpi at a ratio of 1.25.
    EXPECT_EQ(daily::adaptationFor(96 * 1.25)->widthTwips, 9600);
}

// A stand-in for a window another part of the program builds: a hidden
// "By here day" button that notes the day it was pressed on.
class StandInWindow : public FormWindow, public supplies::SheetCommands {
public:
    explicit StandInWindow(const QString& name) : FormWindow(name) {
        byThisDay_ = new QPushButton(QStringLiteral("By here day"), this);
        byThisDay_->setObjectName(QStringLiteral("Command1"));
        byThisDay_->hide();
        connect(byThisDay_, &QPushButton::clicked, this,
                [this] { daysAsked << windows::openDailyWindow()->dayShown(); });
    }
    QPushButton* byHereDayButton() const override { return byThisDay_; }
    QStringList daysAsked;

private:
    QPushButton* byThisDay_;
};

TEST_F(DailyWindow, WindowButtonsAreEnabledOnlyForWindowsTheProgramHas) {
    openSheet();
    const QMap<QString, QString> targets = {{"Command2", "Form2"}, {"Command3", "Form3"},
                                            {"Command7", "Form4"}, {"Command8", "Form5"},
                                            {"Command9", "Form6"}, {"Command10", "Form7"}};
    for (auto it = targets.begin(); it != targets.end(); ++it)
        EXPECT_EQ(button(it.key())->isEnabled(), FormWindow::canCreate(it.value()))
            << it.key().toStdString();
    EXPECT_TRUE(button("Command1")->isEnabled());
}

TEST_F(DailyWindow, DetailOpensTheSheetOnThisDay) {
    FormWindow::registerFactory("Form2", [] { return new StandInWindow("Form2"); });
    insertDay("2002/2/11");
    insertDay("2002/2/12");
    openSheet();
    barButton("Next")->click();
    ASSERT_TRUE(button("Command2")->isEnabled());
    button("Command2")->click();
    auto* detail = dynamic_cast<StandInWindow*>(FormWindow::find("Form2"));
    ASSERT_NE(detail, nullptr);
    EXPECT_TRUE(detail->isVisible());
    EXPECT_EQ(detail->daysAsked, QStringList{"2002/2/12"});
    // Pressed again, the same window is found on the day shown now.
    barButton("Previous")->click();
    button("Command2")->click();
    EXPECT_EQ(FormWindow::find("Form2"), detail);
    EXPECT_EQ(detail->daysAsked, (QStringList{"2002/2/12", "2002/2/11"}));
}

TEST_F(DailyWindow, OpeningTheWageWindowDisablesInquiryUntilItCloses) {
    FormWindow::registerFactory("Form5", [] { return new StandInWindow("Form5"); });
    insertDay("2002/2/12");
    openSheet();
    ASSERT_TRUE(button("Command8")->isEnabled());
    button("Command8")->click();
    auto* wages = FormWindow::find("Form5");
    ASSERT_NE(wages, nullptr);
    EXPECT_TRUE(wages->isVisible());
    EXPECT_FALSE(button("Command1")->isEnabled());
    wages->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(FormWindow::find("Form5"), nullptr);
    // Another day can be found again: the wage's Save checks its own day.
    EXPECT_TRUE(button("Command1")->isEnabled());
}

TEST_F(DailyWindow, MonthButtonShowsTheMonthSheet) {
    FormWindow::registerFactory("Form4", [] { return new StandInWindow("Form4"); });
    openSheet();
    button("Command7")->click();
    ASSERT_NE(FormWindow::find("Form4"), nullptr);
    EXPECT_TRUE(FormWindow::find("Form4")->isVisible());
    EXPECT_TRUE(dynamic_cast<StandInWindow*>(FormWindow::find("Form4"))->daysAsked.isEmpty());
}

// Where rendered windows go, when the caller asks for them.
QString snapshotFolder() { return qEnvironmentVariable("TALLOWBROOK_SNAPSHOT_DIR"); }

TEST_F(DailyWindow, PrintWritesThePageWhenThereIsNoPrinter) {
    QTemporaryDir pages;
    forms::setForcePdfForTesting(true);
    forms::setPdfFallbackFolder(pages.path());
    insertDay("2002/2/12", {{"Rent", 100}, {"Bread trader", 30}, {"Turnover", 200}});
    openSheet();
    button("Command6")->click();
    forms::setForcePdfForTesting(false);
    forms::setPdfFallbackFolder({});

    const QStringList pdfs = QDir(pages.path()).entryList({"*.pdf"});
    ASSERT_EQ(pdfs.size(), 1);
    const QString pdf = QDir(pages.path()).filePath(pdfs[0]);
    EXPECT_GT(QFileInfo(pdf).size(), 1000);
    ASSERT_EQ(prompts.told.size(), 1);
    EXPECT_TRUE(prompts.toldTexts[0].contains(pdfs[0]));
    if (!snapshotFolder().isEmpty()) QFile::copy(pdf, snapshotFolder() + "/Form1.pdf");
}

TEST_F(DailyWindow, APageThatCannotBeWrittenIsNeverReportedAsSaved) {
    QTemporaryDir pages;
    // The folder for the page cannot exist: a file stands in its way.
    QFile blocker(pages.filePath("Documents"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    forms::setForcePdfForTesting(true);
    forms::setPdfFallbackFolder(pages.filePath("Documents"));
    insertDay("2002/2/12", {{"Rent", 100}});
    openSheet();
    button("Command6")->click();
    forms::setForcePdfForTesting(false);
    forms::setPdfFallbackFolder({});

    ASSERT_EQ(prompts.toldTexts.size(), 1);
    EXPECT_TRUE(prompts.toldTexts[0].contains("could not be written"))
        << prompts.toldTexts[0].toStdString();
    EXPECT_FALSE(prompts.toldTexts[0].contains("The page was saved"));
    EXPECT_EQ(QDir(pages.path()).entryList(QDir::Files), QStringList{"Documents"})
        << "no page and no unfinished file is left";
}

TEST(DailyWindowSnapshot, RendersADemoDay) {
    TempDatabase demo(true);
    ScriptedPrompts prompts;
    daily::registerWindows();
    auto* window = FormWindow::loadWindow("Form1");
    window->show();
    EXPECT_TRUE(prompts.told.isEmpty()) << prompts.told.join("\n").toStdString();
    // The demo's first day fills the fields and figures.
    EXPECT_FALSE(window->findChild<QLineEdit*>("Text2")->text().isEmpty());
    const QImage image = window->grab().toImage();
    EXPECT_EQ(colourNearRightEdge(image, window, window->findChild<QWidget*>("Label2")),
              forms::bgrColor(0x00FFFFC0))
        << "the title's light background";
    if (!snapshotFolder().isEmpty()) {
        QDir().mkpath(snapshotFolder());
        EXPECT_TRUE(image.save(snapshotFolder() + "/Form1.png"));
    }
    window->unload();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

}  // namespace
