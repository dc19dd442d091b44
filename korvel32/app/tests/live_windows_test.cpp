// The logging status, current readings and Spy selection models, and the
// live windows' routing of the notifications and the logging tick's turn.
#include "app/current_readings_model.h"
#include "app/live_windows.h"
#include "app/logging_status_model.h"
#include "app/spy_selection.h"
#include "live_fixture.h"

namespace korvel {
namespace {

std::uint32_t channels(std::initializer_list<int> numbers) {
    std::uint32_t mask = 0;
    for (const int number : numbers) mask |= std::uint32_t{1} << (number - 1);
    return mask;
}

TEST(AlarmText, LiveAndLaidOutForms) {
    struct Case {
        std::uint32_t mask;
        char separator;
        const char *live;
        const char *laidOut;
    };
    const Case cases[] = {
        {0, ',', "None", "None"},
        {channels({1, 2, 5}), ',', "Ch1,2,5", "Ch 1,2,5"},
        {channels({1, 2, 5}), ';', "Ch1;2;5", "Ch 1,2,5"},
        {channels({30}), ',', "Ch30", "Ch 30"},
        {0x1FFFF, ',', "Ch1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17", "Ch 1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17"},
        {0x3FFFFFFF, ',', "Ch1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17...",
         "Ch 1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17,18,19,20,21,22,23,24,25,26,27,28,29,30"},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(liveAlarmText(c.mask, c.separator), c.live);
        EXPECT_EQ(laidOutAlarmText(c.mask), c.laidOut);
    }
}

class LoggingStatus : public LiveFixture {
protected:
    LoggingStatusModel::Change add(unsigned bcn) {
        return status.notify(logging_status::kInstrumentAdded, addInstrument(bcn), 0);
    }
    LoggingStatusModel status{table, ','};
};

TEST_F(LoggingStatus, RowsFollowTheInstrumentBarAndGrowAndShrinkWithIt) {
    EXPECT_EQ(add(12), LoggingStatusModel::Change::Rows);
    add(3);
    add(7);
    EXPECT_EQ(status.rows(), (std::vector<int>{2, 3, 1}));
    EXPECT_EQ(status.instrumentColumn(), "03\n07\n12\n");

    table.remove(1);
    EXPECT_EQ(status.notify(logging_status::kInstrumentRemoved, 1, 0), LoggingStatusModel::Change::Rows);
    EXPECT_EQ(status.rows(), (std::vector<int>{2, 3})) << "the last row goes";
    table.remove(2);
    table.remove(3);
    status.notify(logging_status::kInstrumentRemoved, 3, 0);
    EXPECT_TRUE(status.rows().empty());
}

TEST_F(LoggingStatus, CountsAndAlarmsChangeOnlyWhenTheyDiffer) {
    const int slot = addInstrument(4);
    using Change = LoggingStatusModel::Change;
    EXPECT_EQ(status.notify(logging_status::kScansRetrieved, slot, 40), Change::Row);
    EXPECT_EQ(status.notify(logging_status::kScansRetrieved, slot, 40), Change::None);
    EXPECT_EQ(status.notify(logging_status::kScansInInstrument, slot, 4000000000U), Change::Row);
    EXPECT_EQ(status.scansRetrievedText(slot), "40");
    EXPECT_EQ(status.scansInInstrumentText(slot), "4000000000");

    EXPECT_EQ(status.notify(logging_status::kAlarmChannels, slot, channels({1, 2, 5})), Change::Row);
    EXPECT_EQ(status.row(slot).alarmText, "Ch1,2,5");
    EXPECT_TRUE(status.alarmIconShown());
    EXPECT_EQ(status.notify(logging_status::kAlarmChannels, slot, channels({1, 2, 5})), Change::None);

    addInstrument(9);
    status.notify(logging_status::kInstrumentAdded, 2, 0);
    EXPECT_EQ(status.row(slot).alarmText, "Ch 1,2,5") << "a re-lay-out writes every alarm text anew";
    EXPECT_EQ(status.row(slot).scansRetrieved, 40u);

    status.notify(logging_status::kAlarmChannels, 2, channels({3}));
    status.notify(logging_status::kLoggingStarted, slot, 0);
    EXPECT_EQ(status.row(slot).alarmText, "None");
    EXPECT_EQ(status.row(slot).scansRetrieved, 0u);
    EXPECT_TRUE(status.alarmIconShown()) << "the other instrument still has its alarm";
    status.notify(logging_status::kAlarmChannels, 2, 0);
    EXPECT_FALSE(status.alarmIconShown());
    EXPECT_EQ(status.notify(logging_status::kScansRetrieved, 21, 1), Change::None) << "no such slot";
}

class CurrentReadings : public LiveFixture {
protected:
    CurrentReadingsModel readings{table, engine, ','};
};

TEST_F(CurrentReadings, WithoutASelectedInstrumentTheWindowIsEmpty) {
    readings.refill(0);
    EXPECT_EQ(readings.caption(), "Readings");
    EXPECT_TRUE(readings.channelLines().empty());
    EXPECT_EQ(readings.readingLines(), (std::vector<std::string>{" "}));
    EXPECT_FALSE(readings.update());
}

TEST_F(CurrentReadings, OffChannelsKeepTheirLinesSoTheReadingsStayInPlace) {
    const int slot = addInstrument(7);
    channel(slot, 2).function = ChannelFunction::Off;
    channel(slot, 3).unitsLabel = "degC";
    readings.refill(slot);
    EXPECT_EQ(readings.caption(), "Readings - 07");
    ASSERT_EQ(readings.channelLines().size(), 32u);
    EXPECT_EQ(readings.channelLines()[0], "0701");
    EXPECT_EQ(readings.channelLines()[29], "0730");
    EXPECT_EQ(readings.channelLines()[30], "DIO");
    EXPECT_EQ(readings.channelLines()[31], "TOTAL");
    EXPECT_EQ(readings.readingLines(), (std::vector<std::string>{" "})) << "not logging";

    deliver(slot, {1.5e10F, 0.00123F}, 0, 0, 0x00A50000U, 123456);
    ASSERT_TRUE(readings.update());
    const std::vector<std::string> &lines = readings.readingLines();
    ASSERT_EQ(lines.size(), 32u);
    EXPECT_EQ(lines[0], "+Overload");
    EXPECT_EQ(lines[1], "");
    EXPECT_EQ(lines[2], "1,23000E-3");
    EXPECT_EQ(lines[3], "");
    EXPECT_EQ(lines[30], "165");
    EXPECT_EQ(lines[31], "123456");
    EXPECT_EQ(readings.unitsLines()[1], "");
    EXPECT_EQ(readings.unitsLines()[2], "degC");

    channel(slot, 3).unitsLabel = "K";
    readings.update();
    EXPECT_EQ(readings.unitsLines()[2], "degC") << "units are read once a refill";
    readings.configurationChanged(slot);
    readings.update();
    EXPECT_EQ(readings.unitsLines()[2], "K");
}

class SpySelection : public LiveFixture {};

TEST_F(SpySelection, ListsChannelsPortsAndTotalizersAndReadsTheLinesChosen) {
    addInstrument(7);
    const int second = addInstrument(12);
    channel(second, 1).label = "AUDIO TOTAL";
    SpySelectionModel model(table, {});
    const std::vector<ChannelLine> &lines = model.lines();
    ASSERT_EQ(lines.size(), 10u);
    EXPECT_EQ(lines[3], (ChannelLine{731, "07DIO"}));
    EXPECT_EQ(lines[4], (ChannelLine{732, "07TOTAL"}));
    EXPECT_EQ(lines[5], (ChannelLine{1201, "1201 (AUDIO TOTAL)"})) << "a label is no special entry";
    EXPECT_EQ(model.initialSelection(), (std::vector<std::size_t>{0})) << "the first line when nothing is chosen";

    const auto refusal = model.accept({});
    ASSERT_TRUE(refusal);
    EXPECT_EQ(refusal->text, "Select at least one spy channel!");
    ASSERT_FALSE(model.accept({5, 3}));
    EXPECT_EQ(model.chosen(), (SpyChannelList{731, 1201, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(SpySelectionModel(table, model.chosen()).initialSelection(), (std::vector<std::size_t>{3, 5}));
}

// The engine side as the logging tick and the main window drive it.
class LiveWindowsRouting : public LiveFixture, public LiveWindowsView {
protected:
    bool plotShown() const override { return shown; }
    bool readingsShown() const override { return shown; }
    void plotChanged() override { ++plotRepaints; }
    void statusChanged(int slot) override { statusChanges.push_back(slot); }
    void readingsChanged() override { ++readingsRefreshes; }

    LiveWindows windows() {
        return LiveWindows(
            LiveWindowsTarget{
                SessionTarget{link, trendLink, toolbox, liveValues, table, options, document, regional, true, {}}, plot,
                engine, ui, clock, [this] { return selected; }},
            *this);
    }

    bool shown = true;
    int selected = 0;
    int plotRepaints = 0;
    int readingsRefreshes = 0;
    std::vector<int> statusChanges;
    PlotSettings plot;
    RegionalFormats regional;
    SetupHost host;
    CSetupDoc document{SetupTarget{table, options, plot, host, {}}, ui, regional};
};

TEST_F(LiveWindowsRouting, TheTicksTurnSamplesThePlotWhenDue) {
    const int slot = addInstrument(5);
    plot.channels = {501};
    plot.samplingInterval = 2;
    LiveWindows live = windows();
    EXPECT_EQ(plotRepaints, 1) << "the plot starts over";
    deliver(slot, {1.0F, 2.0F, 3.0F});
    const std::int64_t start = clock.now().seconds;
    live.periodicTurn({start + 1, 0});
    EXPECT_EQ(live.plot().newest(), 0) << "due two seconds after the start";
    live.periodicTurn({start + 2, 0});
    EXPECT_EQ(live.plot().newest(), 1);
    EXPECT_EQ(plotRepaints, 2);
    shown = false;
    live.periodicTurn({start + 4, 0});
    EXPECT_EQ(live.plot().newest(), 2) << "a hidden plot goes on sampling";
    EXPECT_EQ(plotRepaints, 2) << "without repainting";

    live.notify(ChildWindow::QuickPlot, quick_plot::kInstrumentRemoved, 5, 0);
    EXPECT_EQ(plot.channelCount, 0);
    EXPECT_EQ(plotRepaints, 3);
}

TEST_F(LiveWindowsRouting, NotificationsReachTheirWindows) {
    LiveWindows live = windows();
    const int slot = addInstrument(8);
    live.notify(ChildWindow::LoggingStatus, logging_status::kInstrumentAdded, slot, 0);
    live.notify(ChildWindow::LoggingStatus, logging_status::kScansRetrieved, slot, 12);
    live.notify(ChildWindow::LoggingStatus, logging_status::kScansRetrieved, slot, 12);
    EXPECT_EQ(statusChanges, (std::vector<int>{0, slot}));
    EXPECT_EQ(live.status().row(slot).scansRetrieved, 12u);

    selected = slot;
    live.notify(ChildWindow::CurrentReadings, current_readings::kRefill, 0, 0);
    EXPECT_EQ(live.readings().caption(), "Readings - 08");
    deliver(slot, {4.0F, 5.0F, 6.0F});
    live.notify(ChildWindow::CurrentReadings, current_readings::kUpdateReadings, slot, 0);
    EXPECT_EQ(live.readings().readingLines()[2], "6.00000");
    shown = false;
    deliver(slot, {4.0F, 5.0F, 7.0F});
    live.notify(ChildWindow::CurrentReadings, current_readings::kUpdateReadings, slot, 0);
    EXPECT_EQ(live.readings().readingLines()[2], "6.00000") << "a hidden window is not updated";
}

} // namespace
} // namespace korvel
