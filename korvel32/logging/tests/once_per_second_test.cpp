#include "logging/once_per_second.h"

#include "simulated_logger.h"

namespace korvel {
namespace {

using Notification = std::tuple<ChildWindow, int, int, long>;

class OncePerSecond : public SimulatedLogger {
protected:
    void SetUp() override {
        SimulatedLogger::SetUp();
        table.add(1, 5, ModelCode::M100A);
        table.add(2, 6, ModelCode::M200A);
        engine.run(1).logging = engine.run(2).logging = true;
    }

    void update() { updateOncePerSecond(table, engine, options, frontEnd); }

    std::vector<Notification> notifications() const {
        std::vector<Notification> sent;
        for (const auto &n : ui.notifications()) sent.emplace_back(n.window, n.message, n.wParam, n.lParam);
        return sent;
    }
};

TEST_F(OncePerSecond, NewScansReachEveryDisplay) {
    LoggingRun &run = engine.run(1);
    run.newData = run.hasData = true;
    run.scansInInstrument = 7;
    run.totalScans = 40;
    run.alarmWordShown = 0b001;
    run.alarmWordAccumulated = 0b101;
    windows.selected = 1;
    update();
    EXPECT_EQ(log.events, (std::vector<std::string>{"live 1", "raise"}));
    EXPECT_EQ(notifications(),
              (std::vector<Notification>{{ChildWindow::CurrentReadings, current_readings::kUpdateReadings, 1, 0},
                                         {ChildWindow::LoggingStatus, logging_status::kScansInInstrument, 1, 7},
                                         {ChildWindow::LoggingStatus, logging_status::kScansRetrieved, 1, 40},
                                         {ChildWindow::LoggingStatus, logging_status::kAlarmChannels, 1, 5}}));
    EXPECT_FALSE(run.newData);
    EXPECT_EQ(run.alarmWordShown, 0b101u);
    EXPECT_EQ(run.alarmWordAccumulated, 0u);
}

TEST_F(OncePerSecond, OnlyANewAlarmBringsTheStatusWindowForward) {
    LoggingRun &run = engine.run(2);
    run.newData = run.hasData = true;
    run.alarmWordShown = 0b11;
    run.alarmWordAccumulated = 0b01;
    update();
    EXPECT_EQ(log.events, (std::vector<std::string>{"live 2"})) << "an alarm that ended calls no one";

    run.newData = true;
    run.alarmWordAccumulated = 0b11;
    options.statusOnAlarm = false;
    update();
    EXPECT_EQ(log.events.back(), "live 2") << "the option is off";
    EXPECT_EQ(run.alarmWordShown, 0b11u);
}

TEST_F(OncePerSecond, WithoutNewScansTheNewestScansAlarmsAreShown) {
    LoggingRun &run = engine.run(2);
    run.hasData = true;
    run.alarmWordAccumulated = 0xFF; // left over: cleared all the same
    engine.scanBuffer(2).latestScan.alarm1 = 0b0010;
    engine.scanBuffer(2).latestScan.alarm2 = 0b1000;
    update();
    update();
    EXPECT_EQ(notifications(),
              (std::vector<Notification>{{ChildWindow::LoggingStatus, logging_status::kAlarmChannels, 2, 0b1010}}));
    EXPECT_TRUE(log.events.empty());
    EXPECT_EQ(run.alarmWordAccumulated, 0u);

    engine.run(2).logging = false;
    engine.scanBuffer(2).latestScan.alarm1 = 0;
    update();
    EXPECT_EQ(ui.notifications().size(), 1u) << "a slot that does not log is left alone";
}

} // namespace
} // namespace korvel
