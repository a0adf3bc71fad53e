// Telling a scanner from a person by the pace of the keys alone: a burst ended by Enter or Tab
// is a scan, and the edit it typed into gets its text back; anything slower is typing.
#include "platform/ui/scan_detector.h"
#include "widget_fixture.h"
#include <QApplication>
#include <QLineEdit>

namespace {

struct Pace {
    const char* name;
    const char* typed;
    int pauseMs;
    int endPauseMs; // before the Enter or Tab; -1: the same pause
    Qt::Key end;
    bool stamped;        // the events carry the moment they were struck
    const char* scanned; // nullptr: typing, not a scan
};

void PrintTo(const Pace& p, std::ostream* os) {
    *os << p.name;
}

class ScanPace : public fixture::UiTest, public testing::WithParamInterface<Pace> {};

TEST_P(ScanPace, OnlyABurstEndedAtOnceIsAScan) {
    const Pace& p = GetParam();
    auto* edit = add(new QLineEdit, "Edit1");
    edit->setText("12");
    ui::ScanDetector detector(&window);
    QStringList scans;
    QObject::connect(&detector, &ui::ScanDetector::scanned, [&](const QString& c) { scans << c; });
    int enters = 0;
    QObject::connect(edit, &QLineEdit::returnPressed, [&] { ++enters; });
    testing_support::focus(edit);
    edit->end(false);

    const quint64 start = p.stamped ? 1000000 : 0;
    const int pause = p.stamped ? p.pauseMs : 0;
    testing_support::typeAtPace(edit, p.typed, start, pause, p.end, p.endPauseMs);

    if (p.scanned) {
        EXPECT_EQ(scans, QStringList{p.scanned});
        EXPECT_EQ(edit->text(), "12"); // what the burst typed is gone
        EXPECT_EQ(enters, 0);          // and the Enter went nowhere
    } else {
        EXPECT_EQ(scans, QStringList{});
        EXPECT_EQ(edit->text(), QString("12") + p.typed);
        EXPECT_EQ(enters, p.end == Qt::Key_Return ? 1 : 0);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Keys, ScanPace,
    testing::Values(
        Pace{"ScannerWithEnter", "7891234567895", 4, -1, Qt::Key_Return, true, "7891234567895"},
        Pace{"ScannerWithTab", "ABC-123", 8, -1, Qt::Key_Tab, true, "ABC-123"},
        Pace{"ScannerWithLineFeed", "7891234567895", 2, -1, Qt::Key(10), true, "7891234567895"},
        Pace{"SlowScanner", "78912345", 30, -1, Qt::Key_Return, true, "78912345"},
        Pace{"PersonTypingTheSameCode", "7891234567895", 150, -1, Qt::Key_Return, true, nullptr},
        Pace{"FastPerson", "7891234567895", 60, -1, Qt::Key_Return, true, nullptr},
        Pace{"BurstThenAPauseBeforeEnter", "7891234567895", 4, 400, Qt::Key_Return, true, nullptr},
        Pace{"TooShortForACode", "123", 4, -1, Qt::Key_Return, true, nullptr},
        Pace{"KeysWithoutTheirMoment", "7891234567895", 4, -1, Qt::Key_Return, false, nullptr}),
    [](const auto& info) { return std::string(info.param.name); });

// A person types a little, then scans: only the burst is the code, and what the person typed
// stays.
TEST_F(ScanPace, AScanAfterTypingTakesOnlyTheBurst) {
    auto* edit = add(new QLineEdit, "Edit1");
    ui::ScanDetector detector(&window);
    QStringList scans;
    QObject::connect(&detector, &ui::ScanDetector::scanned, [&](const QString& c) { scans << c; });
    testing_support::focus(edit);
    const quint64 later = testing_support::typeAtPace(edit, "NF", 5000, 180, Qt::Key_Left);
    testing_support::typeAtPace(edit, "1234567", later + 500, 5);
    EXPECT_EQ(scans, QStringList{"1234567"});
    EXPECT_EQ(edit->text(), "NF");
}

// Keys typed into another window (a question box over the scanning one) are not its scans.
TEST_F(ScanPace, KeysOutsideTheScopeAreNotWatched) {
    auto* inside = add(new QLineEdit, "Edit1");
    ui::ScanDetector detector(inside);
    auto* outside = add(new QLineEdit, "Edit2");
    QStringList scans;
    QObject::connect(&detector, &ui::ScanDetector::scanned, [&](const QString& c) { scans << c; });
    testing_support::focus(outside);
    testing_support::typeAtPace(outside, "7891234567895", 1000, 4);
    EXPECT_EQ(scans, QStringList{});
    EXPECT_EQ(outside->text(), "7891234567895");
}

// A window whose controls are all disabled gets the keys itself, while the application's focus
// may still be in the window that opened it.
TEST_F(ScanPace, AWindowWithoutAFocusedControlStillTakesScans) {
    auto* opener = add(new QLineEdit, "Edit1");
    testing_support::focus(opener);
    QDialog browsing;
    browsing.setObjectName("TFNavegando");
    ui::ScanDetector detector(&browsing);
    QStringList scans;
    QObject::connect(&detector, &ui::ScanDetector::scanned, [&](const QString& c) { scans << c; });
    ASSERT_EQ(QApplication::focusWidget(), opener);
    testing_support::typeAtPace(&browsing, "7891234567895", 1000, 4);
    EXPECT_EQ(scans, QStringList{"7891234567895"});
    EXPECT_EQ(opener->text(), "");
}

} // namespace
