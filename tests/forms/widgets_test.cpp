// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QDate>
#include <QDialog>
#include <QDir>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <utility>

#include "forms/bound_combo.h"
#include "forms/bound_line_edit.h"
#include "forms/computed_figure.h"
#include "forms/data_control.h"
#include "forms/data_grid.h"
#include "forms/error_boundary.h"
#include "forms/form_window.h"
#include "forms/layout_units.h"
#include "forms/window_printer.h"
#include "forms/workspace.h"
#include "ledger/base/ledger_error.h"
#include "ledger/location/program_folder.h"
#include "ledger/records/record_source.h"
#include "ledger/schema/schema.h"
#include "support/scripted_prompts.h"
#include "support/temp_database.h"
#include "support/window_test.h"

using namespace forms;
namespace schema = ledger::schema;

namespace {

// A small window with a data control on the ledger and two bound fields.
class LedgerWindow : public FormWindow {
public:
    LedgerWindow() : FormWindow(QStringLiteral("TestForm")) {
        data = new DataControl("Data1", schema::kLedger, "  Date", this);
        date = new BoundLineEdit("Text2", data->source(), "Date", this);
        rent = new BoundLineEdit("Text1", data->source(), "Rent", this);
        data->setGeometry(0, 0, 200, 30);
        date->setGeometry(0, 40, 100, 30);
        rent->setGeometry(0, 80, 100, 30);
    }
    void loadStep() override { data->source().setDatabasePath(ledger::databasePath()); }

    DataControl* data;
    BoundLineEdit* date;
    BoundLineEdit* rent;
};

class WidgetsTest : public WindowTest {
protected:
    void SetUp() override {
        db.insert(schema::kLedger, {"Date", "Rent"}, {"2002/2/12", 100.0});
        db.insert(schema::kLedger, {"Date", "Rent"}, {"2002/2/13", 200.0});
    }
    void click(LedgerWindow* w, const char* button) {
        QTest::mouseClick(w->data->findChild<QToolButton*>(button), Qt::LeftButton);
    }
};

TEST_F(WidgetsTest, FillIsNotAnEditButAnyOtherChangeIs) {
    auto* w = new LedgerWindow;
    QStringList seen;
    QObject::connect(w->rent, &QLineEdit::textChanged, [&](const QString& t) { seen << t; });
    w->load();
    EXPECT_EQ(w->rent->text(), "100");
    EXPECT_FALSE(w->rent->isChanged());
    EXPECT_EQ(seen, QStringList{"100"});
    w->rent->setText("100");  // same text: no change, no reaction
    EXPECT_FALSE(w->rent->isChanged());
    EXPECT_EQ(seen.size(), 1);
    w->rent->setText("150");  // set by code counts like typing
    EXPECT_TRUE(w->rent->isChanged());
    w->rent->clearChanged();
    QTest::keyClicks(w->rent, "5");
    EXPECT_TRUE(w->rent->isChanged());
    EXPECT_EQ(seen.last(), "1505");
    w->unload();
}

TEST_F(WidgetsTest, BarStepsAndStoresTheEditsOfTheRowItLeaves) {
    auto* w = new LedgerWindow;
    w->show();
    w->load();
    w->rent->setText("111");
    click(w, "Next");
    EXPECT_EQ(w->date->text(), "2002/2/13");
    click(w, "Next");
    EXPECT_EQ(w->date->text(), "2002/2/13") << "the bar stops at the last row";
    click(w, "First");
    EXPECT_EQ(w->rent->text(), "111");
    EXPECT_DOUBLE_EQ(
        db.scalar("SELECT Rent FROM \"daily settlement of accounts\" WHERE rowid=1").toDouble(),
        111);
    EXPECT_EQ(w->data->findChild<QLabel*>("Caption")->text(), "  Date");
    w->unload();
}

TEST_F(WidgetsTest, FailedBarMoveShowsOneMessageAndStays) {
    auto* w = new LedgerWindow;
    w->show();
    w->load();
    w->rent->setText("twelve");
    click(w, "Next");
    ASSERT_EQ(prompts.toldTexts.size(), 1);
    EXPECT_TRUE(prompts.toldTexts[0].endsWith("(Error 3421)"))
        << prompts.toldTexts[0].toStdString();
    EXPECT_TRUE(prompts.told[0].startsWith(programTitle() + "|"));
    EXPECT_EQ(w->date->text(), "2002/2/12");
    EXPECT_EQ(w->rent->text(), "twelve");
    // Closing cannot store it either: the user is told why and asked; the
    // default answer keeps the window, with the text.
    prompts.yesNoAnswers = {false};
    EXPECT_FALSE(w->unload());
    ASSERT_EQ(prompts.defaultNoAsked.size(), 1);
    EXPECT_TRUE(prompts.defaultNoAsked[0].message.contains("(Error 3421)"));
    EXPECT_EQ(FormWindow::find("TestForm"), w);
    EXPECT_EQ(w->rent->text(), "twelve");
    w->rent->setText("12");
    EXPECT_TRUE(w->unload());
    EXPECT_EQ(FormWindow::find("TestForm"), nullptr);
    EXPECT_DOUBLE_EQ(
        db.scalar("SELECT Rent FROM \"daily settlement of accounts\" WHERE rowid=1").toDouble(),
        12);
}

TEST_F(WidgetsTest, MissingDatabaseIsReportedAndTheWindowStaysUsable) {
    ledger::setProgramFolder(db.folder() + "/nowhere");
    ledger::setDataFolder(db.folder() + "/nowhere");
    auto* w = new LedgerWindow;
    w->load();
    ASSERT_EQ(prompts.toldTexts.size(), 1);
    EXPECT_TRUE(prompts.toldTexts[0].contains("Error 3024"));
    EXPECT_TRUE(prompts.toldTexts[0].contains(db.folder() + "/nowhere/breakfast.mdb"));
    EXPECT_EQ(w->date->text(), "");
    EXPECT_TRUE(w->unload());
    ledger::setProgramFolder(db.folder());
}

TEST(ComputedFigureTest, SignalsOnlyRealChanges) {
    ComputedFigure figure("Label28", nullptr);
    int changes = 0;
    QObject::connect(&figure, &ComputedFigure::textChanged, [&] { ++changes; });
    figure.setText("");
    EXPECT_EQ(changes, 0) << "empty into empty is no change";
    figure.setText("0");
    figure.setText("0");
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(figure.objectName(), "Label28");
}

TEST(ErrorBoundaryTest, NestedReactionEndsTheOutermostHandlerWithOneMessage) {
    ScriptedPrompts prompts;
    QWidget parent;
    ComputedFigure first("Label1", &parent), second("Label2", &parent);
    QStringList steps;
    connectGuarded(&first, &ComputedFigure::textChanged, &parent, [&] {
        steps << "first";
        second.setText("x");
        steps << "after second";  // must not run: the nested error ends this handler
    });
    connectGuarded(&second, &ComputedFigure::textChanged, &parent, [&] {
        steps << "second";
        ledger::fail(ledger::ErrorCode::Overflow, "Overflow");
    });
    EXPECT_FALSE(runGuarded(&parent, [&] { first.setText("go"); }));
    EXPECT_EQ(steps, (QStringList{"first", "second"}));
    EXPECT_EQ(prompts.toldTexts, QStringList{"Overflow (Error 6)"});
    EXPECT_EQ(second.text(), "x") << "steps done before the failure stay done";
    // And the program carries on.
    EXPECT_TRUE(runGuarded(&parent, [&] { steps << "later"; }));
}

TEST(LayoutUnitsTest, TwipsFollowTheScreenDensity) {
    setScreenDpiForTesting(96);
    EXPECT_EQ(twips(1440), 96);
    EXPECT_EQ(twipsRect(1800, 1200, 1695, 495), QRect(120, 80, 113, 33));
    setScreenDpiForTesting(120);
    EXPECT_EQ(twips(1440), 120);
    setScreenDpiForTesting(0);
    EXPECT_EQ(bgrColor(0x00C0FFC0), QColor(0xC0, 0xFF, 0xC0));
    EXPECT_EQ(bgrColor(1000), QColor(232, 3, 0));
}

TEST_F(WidgetsTest, PrintWithoutPrinterWritesAPdfAndSaysWhere) {
    auto* w = new LedgerWindow;
    w->setWindowTitle("Settle account in the month");
    w->resize(300, 200);
    w->load();
    setForcePdfForTesting(true);
    setPdfFallbackFolder(db.folder());
    QString path = printWindow(w);
    ASSERT_FALSE(path.isEmpty());
    // Named after the caption and the day; a second page never overwrites it.
    const QString day = QDate::currentDate().toString("yyyy-MM-dd");
    EXPECT_EQ(QFileInfo(path).fileName(), "Settle account in the month " + day + ".pdf");
    EXPECT_EQ(QFileInfo(printWindow(w)).fileName(),
              "Settle account in the month " + day + " (2).pdf");
    w->setWindowTitle("A/B: c?");
    EXPECT_EQ(QFileInfo(printWindow(w)).fileName(), "A-B- c- " + day + ".pdf");
    setForcePdfForTesting(false);
    prompts.toldTexts = prompts.toldTexts.mid(0, 1);
    QFile pdf(path);
    ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
    EXPECT_TRUE(pdf.read(5).startsWith("%PDF"));
    EXPECT_GT(QFileInfo(path).size(), 1000);
    ASSERT_EQ(prompts.toldTexts.size(), 1);
    EXPECT_TRUE(prompts.toldTexts[0].contains(QDir::toNativeSeparators(path)));
    w->unload();
}

TEST_F(WidgetsTest, ComboListsItsSourceAndStoresTheChoiceInItsTarget) {
    db.insert(schema::kWages, {"Date", "Name"}, {"2002/2/12", "Tovena"});
    db.insert(schema::kStaff, {"Name"}, {"Tovena"});
    db.insert(schema::kStaff, {"Name"}, {"Lin"});
    db.insert(schema::kStaff, {"Name"}, {"Lin"});
    FormWindow* w = new FormWindow("ComboForm");
    auto* wages = new DataControl("Data1", schema::kWages, "Data1", w);
    auto* staff = new DataControl("Data2", schema::kStaff, "", w);
    staff->hide();
    auto* names = new BoundCombo("DBCombo1", staff->source(), "Name", w);
    names->setTarget(wages->source(), "Name");
    for (auto* d : {wages, staff}) d->source().setDatabasePath(ledger::databasePath());
    w->load();
    ASSERT_TRUE(prompts.toldTexts.isEmpty()) << prompts.toldTexts.join("; ").toStdString();
    ASSERT_EQ(names->count(), 3);
    EXPECT_EQ(names->itemText(2), "Lin") << "duplicates stay";
    EXPECT_EQ(names->currentText(), "Tovena");
    EXPECT_FALSE(names->isChanged());
    names->setCurrentIndex(1);
    EXPECT_TRUE(names->isChanged());
    EXPECT_TRUE(w->unload());
    EXPECT_EQ(db.scalar("SELECT Name FROM \"The staff calculate wages\"").toString(), "Lin");
}

TEST_F(WidgetsTest, GridShowsHeadingRowEmptyFirstColumnAndEveryRow) {
    FormWindow* w = new FormWindow("GridForm");
    auto* data =
        new DataControl("Data1", "SELECT Date,Rent FROM [daily settlement of accounts]", "", w);
    data->hide();
    auto* grid = new DataGrid("MSFlexGrid1", data->source(), w);
    data->source().setDatabasePath(ledger::databasePath());
    w->load();
    ASSERT_EQ(grid->gridRows(), 3);
    ASSERT_EQ(grid->gridColumns(), 3);
    EXPECT_EQ(grid->cellText(0, 0), "");
    EXPECT_EQ(grid->cellText(0, 1), "Date");
    EXPECT_EQ(grid->cellText(2, 2), "200");
    EXPECT_EQ(grid->cellText(2, 0), "");
    EXPECT_EQ(grid->editTriggers(), QAbstractItemView::NoEditTriggers);
    EXPECT_TRUE(w->unload());
}

// A figure keeps its label's size and place but shows its whole text.
TEST(ComputedFigureFit, ALongFigureShrinksToShowWholeAndGrowsBackForAShortOne) {
    QWidget window;
    auto* figure = new forms::ComputedFigure("Label44", &window);
    const QFont design = forms::arialFont(9.75, true);
    figure->setFont(design);
    figure->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    figure->setGeometry(10, 10, 96, 24);
    const QString longText = "-1.23456789012346E+19";
    ASSERT_GT(QFontMetricsF(design).horizontalAdvance(longText), figure->contentsRect().width())
        << "the text must be too long for the design face";

    figure->setText(longText);
    EXPECT_LE(QFontMetricsF(figure->font()).horizontalAdvance(longText),
              figure->contentsRect().width());
    EXPECT_GE(figure->font().pointSizeF(), forms::ComputedFigure::kMinimumPointSize);
    EXPECT_EQ(figure->toolTip(), longText);
    EXPECT_EQ(figure->geometry(), QRect(10, 10, 96, 24));
    EXPECT_TRUE(figure->alignment() & Qt::AlignRight);

    figure->setText("1200");
    EXPECT_EQ(figure->font(), design);
    EXPECT_TRUE(figure->toolTip().isEmpty());
}

TEST(ComputedFigureFit, TooLongEvenAtTheSmallestFaceShowsItsStart) {
    QWidget window;
    auto* figure = new forms::ComputedFigure("Label44", &window);
    figure->setFont(forms::arialFont(9.75, true));
    figure->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    figure->setGeometry(0, 0, 30, 24);
    figure->setText("-1.23456789012346E+19");
    EXPECT_TRUE(figure->alignment() & Qt::AlignLeft) << "the minus sign stays in view";
    EXPECT_EQ(figure->toolTip(), "-1.23456789012346E+19");
    figure->setText("7");
    EXPECT_TRUE(figure->alignment() & Qt::AlignRight);
}

TEST(WindowRegistry, ClosingAnOlderWindowOfOneNameLeavesTheNewerFindable) {
    auto* older = new FormWindow("RegistryForm");
    auto* newer = new FormWindow("RegistryForm");
    ASSERT_EQ(FormWindow::find("RegistryForm"), newer);
    EXPECT_TRUE(older->unload());
    EXPECT_EQ(FormWindow::find("RegistryForm"), newer);
    EXPECT_TRUE(newer->unload());
    EXPECT_EQ(FormWindow::find("RegistryForm"), nullptr);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// --- reactions behind Qt signals ----------------------------------------

// A plain Qt field whose change reaction fails when the text is "bad".
struct FailingReaction {
    QWidget parent;
    QLineEdit field{&parent};
    ScriptedPrompts prompts;
    FailingReaction() {
        connectGuarded(&field, &QLineEdit::textChanged, &parent, [](const QString& text) {
            if (text == "bad") ledger::fail(ledger::ErrorCode::Overflow, "Overflow");
        });
    }
};

TEST(ErrorBoundaryTest, AFailingReactionStaysBehindTheSignalAndIsShownOnceWhenTheHandlerEnds) {
    FailingReaction window;
    QStringList steps;
    // Qt's own setText emits the signal: nothing may come back through it,
    // so the handler's later step still runs, and the error is shown once.
    EXPECT_FALSE(runGuarded(&window.parent, [&] {
        window.field.setText("bad");
        steps << "after the signal";
        EXPECT_TRUE(window.prompts.toldTexts.isEmpty()) << "shown before the handler ended";
    }));
    EXPECT_EQ(steps, QStringList{"after the signal"});
    EXPECT_EQ(window.prompts.toldTexts, QStringList{"Overflow (Error 6)"});
    EXPECT_TRUE(workspace().handlers().empty());
}

TEST(ErrorBoundaryTest, RaisedReactionErrorsEndTheStepThatSetThemOff) {
    FailingReaction window;
    QStringList steps;
    EXPECT_FALSE(runGuarded(&window.parent, [&] {
        raiseReactionErrors([&] { window.field.setText("bad"); });
        steps << "after the signal";
    }));
    EXPECT_TRUE(steps.isEmpty());
    EXPECT_EQ(window.prompts.toldTexts, QStringList{"Overflow (Error 6)"});
}

TEST(ErrorBoundaryTest, OutsideEveryHandlerAReactionShowsItsOwnError) {
    FailingReaction window;
    EXPECT_NO_THROW(raiseReactionErrors([&] { window.field.setText("bad"); }));
    EXPECT_EQ(window.prompts.toldTexts, QStringList{"Overflow (Error 6)"});
}

TEST(ErrorBoundaryTest, AnInnerHandlerTellsWhetherItOrItsReactionsFailed) {
    FailingReaction window;
    bool failedInside = true, fineInside = false;
    EXPECT_FALSE(runGuarded(&window.parent, [&] {
        failedInside = runGuarded(&window.parent, [&] { window.field.setText("bad"); });
        fineInside = runGuarded(&window.parent, [&] { window.field.setText("good"); });
    }));
    EXPECT_FALSE(failedInside);
    EXPECT_TRUE(fineInside) << "an earlier failure must not count against a later handler";
    EXPECT_EQ(window.prompts.toldTexts.size(), 1);
}

TEST(ErrorBoundaryTest, WhatRunsWhileAModalDialogIsOpenShowsItsErrorsAtOnce) {
    FailingReaction window;
    qsizetype shownWhileOpen = -1;
    bool outerFine = false;
    QDialog dialog;
    // The user, while the dialog is up, triggers a failing reaction elsewhere.
    QTimer::singleShot(0, &dialog, [&] {
        runGuarded(&window.parent, [&] { window.field.setText("bad"); });
        shownWhileOpen = window.prompts.toldTexts.size();
        dialog.accept();
    });
    outerFine = runGuarded(&window.parent, [&] { execModal(dialog); });
    EXPECT_EQ(shownWhileOpen, 1);
    EXPECT_TRUE(outerFine) << "the handler that opened the dialog did not fail";
    EXPECT_EQ(window.prompts.toldTexts.size(), 1);
    EXPECT_TRUE(workspace().handlers().empty());
}

TEST_F(WidgetsTest, AComboStillRecordsChoicesAfterAReactionFailedDuringARowFill) {
    db.insert(schema::kWages, {"Date", "Name"}, {"2002/2/12", "Broken"});
    db.insert(schema::kWages, {"Date", "Name"}, {"2002/2/13", "Tovena"});
    db.insert(schema::kStaff, {"Name"}, {"Tovena"});
    db.insert(schema::kStaff, {"Name"}, {"Lin"});
    FormWindow* w = new FormWindow("ComboForm");
    auto* wages = new DataControl("Data1", schema::kWages, "Data1", w);
    auto* staff = new DataControl("Data2", schema::kStaff, "", w);
    auto* names = new BoundCombo("DBCombo1", staff->source(), "Name", w);
    names->setTarget(wages->source(), "Name");
    bool failed = false;  // only the first fill fails
    connectGuarded(names, &BoundCombo::valueChanged, w, [&failed](const QString& text) {
        if (text != "Broken" || std::exchange(failed, true)) return;
        ledger::fail(ledger::ErrorCode::Overflow, "Overflow");
    });
    for (auto* d : {wages, staff}) d->source().setDatabasePath(ledger::databasePath());
    w->load();  // the first row's fill fails in the reaction
    ASSERT_EQ(prompts.toldTexts, QStringList{"Overflow (Error 6)"});
    ASSERT_EQ(names->currentText(), "Broken");
    names->setCurrentIndex(names->findText("Lin"));
    EXPECT_TRUE(names->isChanged()) << "the user's pick must count as a change";
    EXPECT_TRUE(w->unload());
    EXPECT_EQ(db.scalar("SELECT Name FROM \"The staff calculate wages\" WHERE Date = '2002/2/12'")
                  .toString(),
              "Lin");
}

// --- the workspace ------------------------------------------------------

TEST(WorkspaceTest, ListsItsOpenWindowsAndClosesThemWithoutAsking) {
    ScriptedPrompts prompts;
    TempDatabase db;
    db.insert(schema::kLedger, {"Date"}, {"2002/2/12"});
    auto* ledgerWindow = new LedgerWindow;
    ledgerWindow->load();
    auto* plain = new FormWindow("PlainForm");
    auto open = workspace().openWindows();
    EXPECT_EQ(open.size(), 2);
    EXPECT_TRUE(open.contains(ledgerWindow) && open.contains(plain));
    ledgerWindow->rent->setText("typed, never stored");
    workspace().closeAllWindows();
    EXPECT_TRUE(workspace().openWindows().isEmpty());
    EXPECT_TRUE(prompts.defaultNoAsked.empty());
    EXPECT_TRUE(db.scalar("SELECT Rent FROM \"daily settlement of accounts\"").isNull());
}

TEST(WorkspaceTest, ANewWorkspaceStartsAfreshAndTheOlderOneReturnsAfterIt) {
    ScriptedPrompts scripted;
    setScreenDpiForTesting(120);
    FormWindow::registerFactory("MadeForm", [] { return new FormWindow("MadeForm"); });
    auto* older = new FormWindow("OlderForm");
    QPointer<FormWindow> inner;
    {
        Workspace fresh;
        EXPECT_EQ(&workspace(), &fresh);
        EXPECT_EQ(&prompts(), &dialogPrompts());
        EXPECT_NE(screenDpi(), 120) << "no density pinned here";
        EXPECT_FALSE(FormWindow::canCreate("MadeForm"));
        EXPECT_EQ(FormWindow::find("OlderForm"), nullptr);
        inner = new FormWindow("InnerForm");  // left open: goes with its workspace
    }
    EXPECT_EQ(&prompts(), &scripted);
    EXPECT_EQ(screenDpi(), 120);
    EXPECT_TRUE(FormWindow::canCreate("MadeForm"));
    EXPECT_EQ(FormWindow::find("OlderForm"), older);
    EXPECT_TRUE(inner.isNull());
    delete older;
}

}  // namespace

namespace {

// A long figure in a box like the daily window's (right-aligned, indented,
// framed): the rendered text lies wholly inside the box, its sign included.
struct FitCase {
    const char* text;
    Qt::Alignment alignment;
    int indent;
    QFrame::Shape frame;
};

void PrintTo(const FitCase& c, std::ostream* os) {
    *os << c.text << " indent " << c.indent << " frame " << int(c.frame);
}

class FigureDrawnWhole : public ::testing::TestWithParam<FitCase> {};

TEST_P(FigureDrawnWhole, KeepsItsSignAndLeadingDigitsInView) {
    const FitCase& c = GetParam();
    QWidget window;
    window.resize(300, 60);
    auto* figure = new forms::ComputedFigure("Label43", &window);
    figure->setFont(forms::arialFont(12, true));
    figure->setAlignment(c.alignment);
    figure->setIndent(c.indent);
    figure->setFrameShape(c.frame);
    figure->setAutoFillBackground(true);
    QPalette white = figure->palette();
    white.setColor(QPalette::Window, Qt::white);
    white.setColor(QPalette::WindowText, Qt::black);
    figure->setPalette(white);
    figure->setGeometry(10, 10, forms::twips(1815), forms::twips(495));
    figure->setText(QString::fromUtf8(c.text));
    window.show();
    const QImage picture = figure->grab().toImage();
    // Dark pixels are the text's (and the frame's, at the very edges).
    const QRect inside = figure->contentsRect().adjusted(1, 1, -1, -1);
    int first = -1, last = -1;
    for (int x = inside.left(); x <= inside.right(); ++x)
        for (int y = inside.top(); y <= inside.bottom(); ++y)
            if (qGray(picture.pixel(x, y)) < 100) {
                if (first < 0) first = x;
                last = x;
                break;
            }
    ASSERT_GE(first, 0) << "nothing drawn";
    EXPECT_GT(first, inside.left()) << "the start of the text is cut off";
    EXPECT_LT(last, inside.right()) << "the end of the text is cut off";
}

INSTANTIATE_TEST_SUITE_P(
    Boxes, FigureDrawnWhole,
    ::testing::Values(
        FitCase{"-98765432109876.5", Qt::AlignRight | Qt::AlignVCenter, 6, QFrame::Box},
        FitCase{"123456789012345.6", Qt::AlignRight | Qt::AlignVCenter, 6, QFrame::Box},
        FitCase{"-1.23456789012346E+19", Qt::AlignRight | Qt::AlignVCenter, 6, QFrame::Box},
        FitCase{"-98765432109876.5", Qt::AlignRight | Qt::AlignVCenter, -1, QFrame::Box},
        FitCase{"-98765432109876.5", Qt::AlignCenter, 0, QFrame::Panel},
        FitCase{"-98765432109876.5", Qt::AlignLeft | Qt::AlignVCenter, 12, QFrame::NoFrame}));

TEST(ComputedFigureTip, SaysHowTheFigureIsMadeAndAddsAShrunkFiguresWholeText) {
    QWidget window;
    auto* figure = new forms::ComputedFigure("Label42", &window);
    figure->setFont(forms::arialFont(9.75, true));
    figure->setGeometry(0, 0, 96, 24);
    figure->setExplanation("Subtotal of the cash: Total net amount - Out-of-pocket expenses.");
    figure->setText("12");
    EXPECT_EQ(figure->toolTip(),
              "Subtotal of the cash: Total net amount - Out-of-pocket expenses.");
    figure->setText("-1.23456789012346E+19");
    EXPECT_TRUE(figure->toolTip().startsWith("Subtotal of the cash:"));
    EXPECT_TRUE(figure->toolTip().endsWith("-1.23456789012346E+19"));
}

}  // namespace
