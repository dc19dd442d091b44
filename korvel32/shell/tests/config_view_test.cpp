#include "shell/config_view.h"
#include "shell/config_view_header.h"

#include "setup/setup_template.h"
#include "shell/tests/window_probe.h"
#include "temp_dir.h"

#include <QImage>
#include <QScrollBar>
#include <QSignalSpy>
#include <QtTest>

using namespace korvel;

namespace {

// Both panes of the main window's splitter over one setup.
struct Sheet {
    Sheet() {
        setupTemplate.complete("Label", "VDC");
        for (CConfigView *view : {&upper, &lower}) {
            view->resize(cell.columns(120), cell.lines(14));
            view->show();
        }
    }

    InstrumentSetup &addInstrument(int slot, unsigned bcn) {
        table.add(slot, bcn, ModelCode::M100A);
        return *table.slot(slot).setup;
    }

    void select(int slot) {
        const auto report = viewReport(table, slot, options, formats);
        upper.updateView(report);
        lower.updateView(report);
    }

    ConfigViewHeader &header() { return *lower.findChild<ConfigViewHeader *>(); }

    SetupTemplate setupTemplate;
    InstrumentTable table{setupTemplate};
    LoggerOptions options;
    RegionalFormats formats;
    CConfigView upper{CConfigView::Pane::Upper, table};
    CConfigView lower{CConfigView::Pane::Lower, table};
    CharacterCell cell = characterCell(upper.font());
};

void defineChannels(InstrumentSetup &setup, int first, int last, ChannelFunction function) {
    for (int channel = first; channel <= last; ++channel) setup.channel(channel).function = function;
}

// An area of the pane in character cells: columns across, half-lines down.
QRect cells(const CharacterCell &cell, int column, int halfLine, int columns, int halfLines) {
    return {cell.columns(column), cell.halfLines(halfLine), cell.columns(columns), cell.halfLines(halfLines)};
}

QImage picture(CConfigView &view) { return view.viewport()->grab().toImage(); }

// Whether any text or rule was drawn in the area.
bool inked(const QImage &image, const QRect &area) {
    const qreal ratio = image.devicePixelRatio();
    const QRect pixels(QPoint(qRound(area.left() * ratio), qRound(area.top() * ratio)), area.size() * ratio);
    const QRect inside = pixels.intersected(image.rect());
    for (int y = inside.top(); y <= inside.bottom(); ++y) {
        for (int x = inside.left(); x <= inside.right(); ++x) {
            if (qGray(image.pixel(x, y)) < 128) return true;
        }
    }
    return false;
}

// An instrument that fills both panes: a Master with analog, thermocouple,
// alarmed and computed channels.
void fillInstrument(Sheet &sheet) {
    InstrumentSetup &setup = sheet.addInstrument(1, 12);
    sheet.addInstrument(2, 34);
    sheet.table.setRole(1, GroupRole::Master);
    sheet.table.setRole(2, GroupRole::Slave);
    setup.description = "Boiler room, east wall";
    setup.triggerType = TriggerType::IntervalAlarm;
    setup.dataFile.enabled = true;
    setup.dataFile.path = "/data/boiler.csv";
    setup.channel(4).function = ChannelFunction::Thermocouple;
    setup.channel(4).range = RangeCode::TcK;
    setup.channel(4).unitsLabel = kCelsiusUnitsLabel;
    setup.channel(4).label = "Flue gas";
    setup.channel(5) = setup.channel(1);
    setup.channel(5).alarm1 = {AlarmSense::Hi, 2.5, static_cast<AlarmOutput>(codeValue(AlarmOutput::Do0) + 3)};
    setup.channel(5).mxbEnabled = true;
    setup.channel(21).function = ChannelFunction::ChanAMinusChanB;
    setup.channel(21).channelA = 1;
    setup.channel(21).channelB = 5;
    setup.channel(21).label = "Drop";
}

} // namespace

class ConfigViewTest : public QObject {
    Q_OBJECT
private slots:
    void emptySetupShowsTheHintAndNoColumnHeader();
    void selectedInstrumentShowsItsSettingsAndChannels();
    void titleMovesLeftWhenTheSetupHasAMaster();
    void lowerPaneHeightFollowsTheDefinedChannels();
    void columnHeaderStaysOnTopAndFollowsHorizontalScrolling();
    void keysScrollByPageLineAndEdge();
    void doubleClickAndTabAskTheMainWindow();

private:
    kvtest::TempDir snapshots_;
};

void ConfigViewTest::emptySetupShowsTheHintAndNoColumnHeader() {
    Sheet sheet;
    sheet.select(0);
    const CharacterCell &cell = sheet.cell;

    const QImage upper = picture(sheet.upper);
    QVERIFY(test::saveSnapshot(upper, snapshots_.path().c_str(), QStringLiteral("hint")));
    QVERIFY(!inked(upper, cells(cell, 0, 0, 90, 4)));
    for (const int line : {2, 4, 6, 8}) {
        QVERIFY2(inked(upper, cells(cell, 26, 2 * line, 12, 2)), qPrintable(QString::number(line)));
    }
    QVERIFY(!inked(upper, cells(cell, 0, 6, 90, 2)));

    QVERIFY(!sheet.header().isVisible());
    QVERIFY(!inked(picture(sheet.lower), sheet.lower.viewport()->rect()));
    QCOMPARE(sheet.lower.contentLines(), 2);
}

void ConfigViewTest::selectedInstrumentShowsItsSettingsAndChannels() {
    Sheet sheet;
    fillInstrument(sheet);
    sheet.select(1);
    const CharacterCell &cell = sheet.cell;

    const QImage upper = picture(sheet.upper);
    const QImage lower = picture(sheet.lower);
    QVERIFY(test::saveSnapshot(upper, snapshots_.path().c_str(), QStringLiteral("upper_pane")));
    QVERIFY(test::saveSnapshot(lower, snapshots_.path().c_str(), QStringLiteral("lower_pane")));

    QVERIFY(inked(upper, cells(cell, 23, 1, 30, 2))); // title
    for (const int halfLine : {4, 6, 9, 11, 13, 16, 18, 20}) {
        QVERIFY2(inked(upper, cells(cell, 1, halfLine, 10, 2)), qPrintable(QString::number(halfLine)));  // label
        QVERIFY2(inked(upper, cells(cell, 15, halfLine, 10, 2)), qPrintable(QString::number(halfLine))); // value
    }
    for (const int halfLine : {9, 11, 13, 16, 18, 20}) {
        QVERIFY2(inked(upper, cells(cell, 47, halfLine, 10, 2)), qPrintable(QString::number(halfLine)));
        QVERIFY2(inked(upper, cells(cell, 64, halfLine, 4, 2)), qPrintable(QString::number(halfLine)));
    }
    QVERIFY(!inked(upper, cells(cell, 0, 3, 90, 1))); // the half-line gap under the title

    // Channels 1 to 5 and 21, one line each under the header.
    QVERIFY(sheet.header().isVisible());
    QVERIFY(inked(lower, cells(cell, 1, 1, 4, 1)));
    for (int line = 0; line < 6; ++line) {
        QVERIFY2(inked(lower, cells(cell, 1, 3 + 2 * line, 4, 2)), qPrintable(QString::number(line)));
    }
    QVERIFY(inked(lower, cells(cell, 18, 3, 4, 2)));
    QVERIFY(inked(lower, cells(cell, 32, 11, 6, 2)));  // HI->DO3 on channel 5
    QVERIFY(!inked(lower, cells(cell, 0, 16, 90, 7))); // a half-line for the descenders of the value font
}

void ConfigViewTest::titleMovesLeftWhenTheSetupHasAMaster() {
    Sheet sheet;
    sheet.addInstrument(1, 12);
    sheet.select(1);
    QVERIFY(!inked(picture(sheet.upper), cells(sheet.cell, 0, 1, 26, 2)));
    QVERIFY(inked(picture(sheet.upper), cells(sheet.cell, 26, 1, 2, 2)));

    sheet.table.setRole(1, GroupRole::Master);
    sheet.select(1);
    QVERIFY(inked(picture(sheet.upper), cells(sheet.cell, 23, 1, 2, 2)));
    QVERIFY(!inked(picture(sheet.upper), cells(sheet.cell, 0, 1, 23, 2)));
}

void ConfigViewTest::lowerPaneHeightFollowsTheDefinedChannels() {
    Sheet sheet;
    defineChannels(sheet.addInstrument(1, 12), 1, 5, ChannelFunction::Vdc);
    sheet.addInstrument(2, 34);
    sheet.select(1);
    QCOMPARE(sheet.lower.contentLines(), 7);

    // The template's three channels; then nothing selected any more.
    sheet.select(2);
    QCOMPARE(sheet.lower.contentLines(), 5);
    QVERIFY(sheet.header().isVisible());
    sheet.table.remove(2);
    sheet.select(2);
    QCOMPARE(sheet.lower.contentLines(), 2);
    QVERIFY(!sheet.header().isVisible());
}

void ConfigViewTest::columnHeaderStaysOnTopAndFollowsHorizontalScrolling() {
    Sheet sheet;
    InstrumentSetup &setup = sheet.addInstrument(1, 12);
    defineChannels(setup, 1, 20, ChannelFunction::Vdc);
    defineChannels(setup, 21, 30, ChannelFunction::Average);
    sheet.select(1);
    const CharacterCell &cell = sheet.cell;
    sheet.lower.resize(cell.columns(40), cell.lines(8));
    QCOMPARE(sheet.lower.contentLines(), 32);

    QScrollBar &down = *sheet.lower.verticalScrollBar();
    QScrollBar &across = *sheet.lower.horizontalScrollBar();
    QCOMPARE(down.maximum(), cell.lines(32) - sheet.lower.viewport()->height());
    QCOMPARE(across.maximum(), cell.columns(113) - sheet.lower.viewport()->width());

    down.setValue(down.maximum());
    QCOMPARE(sheet.header().pos(), QPoint(0, 0));
    QVERIFY(sheet.header().isVisible());
    const QImage scrolled = picture(sheet.lower);
    QVERIFY(inked(scrolled, cells(cell, 1, 1, 4, 1)));                                    // "Chan"
    QVERIFY(inked(scrolled, QRect(0, sheet.header().height() - 1, cell.columns(40), 1))); // the rule

    across.setValue(cell.columns(10));
    QCOMPARE(sheet.header().pos(), QPoint(-cell.columns(10), 0));
    QCOMPARE(sheet.header().size(), QSize(cell.columns(120), cell.halfLines(3)));
}

void ConfigViewTest::keysScrollByPageLineAndEdge() {
    Sheet sheet;
    defineChannels(sheet.addInstrument(1, 12), 1, 30, ChannelFunction::Vdc);
    sheet.select(1);
    const CharacterCell &cell = sheet.cell;
    CConfigView &view = sheet.lower;
    view.resize(cell.columns(40), cell.lines(8));
    const int right = view.horizontalScrollBar()->maximum();
    const int bottom = view.verticalScrollBar()->maximum();
    // Each key from where the one before it left the view: {across, down}.
    const struct {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        QPoint expected;
    } steps[] = {
        {Qt::Key_PageDown, {}, {0, cell.lines(8)}},
        {Qt::Key_Down, {}, {0, cell.lines(9)}},
        {Qt::Key_Up, {}, {0, cell.lines(8)}},
        {Qt::Key_PageUp, {}, {0, 0}},
        {Qt::Key_Right, {}, {cell.width, 0}},
        {Qt::Key_Left, {}, {0, 0}},
        {Qt::Key_End, {}, {right, 0}},
        {Qt::Key_End, Qt::ControlModifier, {right, bottom}},
        {Qt::Key_Home, {}, {0, bottom}},
        {Qt::Key_Home, Qt::ControlModifier, {0, 0}},
    };
    for (const auto &step : steps) {
        QTest::keyClick(&view, step.key, step.modifiers);
        QCOMPARE(QPoint(view.horizontalScrollBar()->value(), view.verticalScrollBar()->value()), step.expected);
    }
}

void ConfigViewTest::doubleClickAndTabAskTheMainWindow() {
    Sheet sheet;
    sheet.addInstrument(1, 12);
    sheet.select(1);
    for (CConfigView *view : {&sheet.upper, &sheet.lower}) {
        QSignalSpy requested(view, &CConfigView::configurationRequested);
        QSignalSpy tabbed(view, &CConfigView::tabToInstrumentBar);
        QTest::mouseDClick(view->viewport(), Qt::RightButton);
        QCOMPARE(requested.count(), 0);
        QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, QPoint(sheet.cell.columns(2), sheet.cell.lines(1)));
        QCOMPARE(requested.count(), 1);
        const auto expected = view == &sheet.upper ? CConfigView::Pane::Upper : CConfigView::Pane::Lower;
        QCOMPARE(requested.at(0).at(0).value<CConfigView::Pane>(), expected);

        QTest::keyClick(view, Qt::Key_Tab);
        QTest::keyClick(view, Qt::Key_Backtab, Qt::ShiftModifier);
        QCOMPARE(tabbed.count(), 2);
    }
}

QTEST_MAIN(ConfigViewTest)
#include "config_view_test.moc"
