// The instrument bar with real buttons on the offscreen platform: order by
// BCN, rows, the selection rule and what a button paints.
#include "setup/setup_template.h"
#include "shell/instrument_bar.h"
#include "shell/instrument_button.h"
#include "shell/tests/window_probe.h"
#include "temp_dir.h"

#include <QSignalSpy>
#include <QStyle>
#include <QTest>

#include <map>

namespace korvel {
namespace {

struct BarFixture {
    BarFixture() { bar.resize(bar.sizeHint()); }

    // Adds an instrument to the first free slot and shows it.
    int add(unsigned bcn, bool select = false) {
        const int slot = table.firstFreeSlot();
        table.add(slot, bcn, ModelCode::M100A);
        bar.insertInstrument(slot, select);
        return slot;
    }
    void remove(int slot) {
        bar.removeInstrument(slot);
        table.remove(slot);
    }
    // The buttons in position order, as the bar made them.
    QList<InstrumentButton *> buttons() { return bar.findChildren<InstrumentButton *>(); }
    InstrumentButton &buttonOf(int slot) {
        for (InstrumentButton *button : buttons()) {
            if (button->isVisibleTo(&bar) && button->slot() == slot) return *button;
        }
        throw std::logic_error("slot not shown");
    }
    int visibleButtons() {
        int visible = 0;
        for (InstrumentButton *button : buttons()) visible += button->isVisibleTo(&bar) ? 1 : 0;
        return visible;
    }

    SetupTemplate setupTemplate;
    InstrumentTable table{setupTemplate};
    std::map<int, InstrumentIcon> icons;
    InstrumentBar bar{table, [this](int slot) { return icons.count(slot) ? icons[slot] : InstrumentIcon::Idle; }};
};

} // namespace

class InstrumentBarTest : public QObject {
    Q_OBJECT

private slots:
    void buttonsFollowBcnOrderAndTheLastAddedIsSelected() {
        BarFixture f;
        f.add(12, true);
        f.add(3, true);
        const int seven = f.add(7, true);
        QCOMPARE(test::bcnsShown(f.bar, f.table), (std::vector<unsigned>{3, 7, 12}));
        QCOMPARE(f.bar.selectedSlot(), seven);
        QCOMPARE(f.visibleButtons(), 3);
        const QList<InstrumentButton *> buttons = f.buttons();
        QCOMPARE(buttons[0]->text(), QStringLiteral("03"));
        QCOMPARE(buttons[1]->text(), QStringLiteral("07"));
        QCOMPARE(buttons[2]->text(), QStringLiteral("12"));
        QVERIFY(buttons[0]->x() < buttons[1]->x() && buttons[1]->x() < buttons[2]->x());
        QVERIFY(buttons[1]->selected() && !buttons[0]->selected() && !buttons[2]->selected());
    }

    void onlyTheFirstInstrumentIsSelectedUnasked() {
        BarFixture f;
        QSignalSpy selections(&f.bar, &InstrumentBar::instrumentSelected);
        const int first = f.add(5);
        f.add(2);
        QCOMPARE(f.bar.selectedSlot(), first);
        QCOMPARE(selections.count(), 1);
        QCOMPARE(selections[0][0].toInt(), first);
        f.bar.insertInstrument(first, false); // shown already: nothing doubles
        QCOMPARE(test::bcnsShown(f.bar, f.table), (std::vector<unsigned>{2, 5}));
    }

    void theEleventhInstrumentOpensTheSecondRow() {
        BarFixture f;
        const int oneRowHeight = f.bar.sizeHint().height();
        for (unsigned bcn = 1; bcn <= 10; ++bcn) f.add(bcn);
        QCOMPARE(f.bar.rows(), 1);

        const int eleventh = f.add(11);
        QCOMPARE(f.bar.rows(), 2);
        const InstrumentButton &button = f.buttonOf(eleventh);
        const int side = f.bar.style()->pixelMetric(QStyle::PM_LargeIconSize, nullptr, &f.bar);
        QCOMPARE(button.size(), QSize(side + 6, side * 4 / 3));
        QCOMPARE(f.bar.sizeHint().height(), oneRowHeight + button.height());
        QCOMPARE(button.x(), 0);
        QCOMPARE(button.y(), 2 + button.height());

        f.remove(eleventh - 5);
        QCOMPARE(f.bar.rows(), 1);
        QCOMPARE(f.bar.sizeHint().height(), oneRowHeight);
        QCOMPARE(f.visibleButtons(), 10);
    }

    void removalMovesTheSelection() {
        BarFixture f;
        const int one = f.add(1);
        const int two = f.add(2);
        const int three = f.add(3);
        QSignalSpy selections(&f.bar, &InstrumentBar::instrumentSelected);

        f.bar.selectSlot(two);
        f.remove(two); // from the middle: the one now in its place
        QCOMPARE(f.bar.selectedSlot(), three);
        f.remove(three); // the last: the one before it
        QCOMPARE(f.bar.selectedSlot(), one);
        const int four = f.add(4);
        f.remove(four); // not selected: the selection stays
        QCOMPARE(f.bar.selectedSlot(), one);
        f.remove(one); // the only one: none
        QCOMPARE(f.bar.selectedSlot(), 0);
        QCOMPARE(f.visibleButtons(), 0);

        QList<int> told;
        for (const QList<QVariant> &signal : selections) told.push_back(signal[0].toInt());
        QCOMPARE(told, (QList<int>{two, three, one, 0}));
    }

    void aClickSelectsWithoutTakingTheFocus() {
        BarFixture f;
        f.add(3);
        const int seven = f.add(7);
        f.bar.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f.bar));
        QSignalSpy selections(&f.bar, &InstrumentBar::instrumentSelected);
        QTest::mouseClick(&f.buttonOf(seven), Qt::LeftButton);
        QCOMPARE(selections.count(), 1);
        QCOMPARE(selections[0][0].toInt(), seven);
        QCOMPARE(f.bar.selectedSlot(), seven);
        QVERIFY(!f.buttonOf(seven).hasFocus());
        f.bar.focusSelectedButton();
        QVERIFY(QTest::qWaitFor([&] { return f.buttonOf(seven).hasFocus(); }, 1000));
    }

    void aButtonPaintsItsSelectionAndItsPicture() {
        BarFixture f;
        const int selected = f.add(3);
        const int other = f.add(7);
        const QPoint corner(3, f.buttonOf(selected).height() - 3);
        const QImage selectedLook = f.buttonOf(selected).grab().toImage();
        const QImage otherLook = f.buttonOf(other).grab().toImage();
        QCOMPARE(selectedLook.pixelColor(corner), f.bar.palette().color(QPalette::Highlight));
        QCOMPARE(otherLook.pixelColor(corner), f.bar.palette().color(QPalette::Button));

        f.icons[other] = InstrumentIcon::Logging;
        QCOMPARE(f.buttonOf(other).grab().toImage(), otherLook); // not until asked
        f.bar.redrawIcon(other);
        QVERIFY(f.buttonOf(other).grab().toImage() != otherLook);

        // Idle, logging and simulated side by side, for a person to compare.
        const int simulated = f.add(12);
        f.icons[simulated] = InstrumentIcon::LoggingSimulated;
        f.bar.redrawIcon(simulated);
        kvtest::TempDir snapshots;
        QVERIFY(test::saveSnapshot(f.bar, snapshots.path().c_str(), QStringLiteral("instrument_bar_states")));
    }
};

} // namespace korvel

QTEST_MAIN(korvel::InstrumentBarTest)
#include "instrument_bar_test.moc"
