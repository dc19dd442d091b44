// The Spy against korvel-sim: which sessions it opens and closes, what it
// reads, and how a failure ends it.
#include "app/spy_window_model.h"
#include "live_fixture.h"

#include <algorithm>

namespace korvel {
namespace {

constexpr int kSpyOn = 124;
constexpr int kSpyOff = 125;
constexpr int kClose = 1;

class Spy : public LiveFixture {
protected:
    std::unique_ptr<SpyWindowModel> spy(const SpyChannelList &channels) {
        return std::make_unique<SpyWindowModel>(
            SpyTarget{link, table, engine, ui, options.simulateData, downloadSettingsOf(options, true), '.'}, channels);
    }

    // Refreshes as the tick would, one second apart.
    bool refresh(SpyWindowModel &model) {
        clock.advance(1000);
        return model.refresh(clock.now());
    }

    int count(int bcn, int command) {
        const std::vector<int> commands = sim->requestCommands(bcn);
        return static_cast<int>(std::count(commands.begin(), commands.end(), command));
    }
};

TEST_F(Spy, OpensOnlyTheInstrumentsThatDoNotLogAndClosesOnlyThose) {
    startInstruments({4, 7});
    ASSERT_TRUE(engine.startLogging(slots({1}), 0));
    control("spy-value 4 2 1.5");
    control("spy-value 7 1 0.00123");
    control("dio 7 0xA5");
    control("totalizer 7 123456");
    const auto model = spy({402, 701, 731, 732});
    EXPECT_EQ(model->channelLines(), (std::vector<std::string>{"0402", "0701", "07DIO", "07TOTAL"}));
    EXPECT_EQ(model->unitsLines(), (std::vector<std::string>{"VDC", "VDC", "", ""}));

    ASSERT_TRUE(refresh(*model));
    EXPECT_EQ(model->state(), SpyWindowModel::State::Active);
    EXPECT_EQ(model->openedBcns(), (std::vector<unsigned>{7}));
    EXPECT_EQ(model->readingLines(), (std::vector<std::string>{"1.50000", "1.23000E-3", "165", "123456"}));
    EXPECT_EQ(state(4, "spy"), "1");
    EXPECT_EQ(state(7, "spy"), "1");
    EXPECT_EQ(count(7, 129), 1) << "the idle instrument gets its configuration";
    EXPECT_EQ(count(4, 129), 1) << "the logging one keeps the one its start sent";
    EXPECT_EQ(ui.busyDepth(), 0);

    EXPECT_FALSE(model->refresh(clock.now())) << "once a second";
    control("totalizer 7 0xFFFFFFFF");
    refresh(*model);
    EXPECT_EQ(model->readingLines()[3], "+Overload");

    model->close();
    EXPECT_EQ(model->state(), SpyWindowModel::State::Ended);
    EXPECT_EQ(state(4, "spy"), "0");
    EXPECT_EQ(state(7, "spy"), "0");
    EXPECT_EQ(count(7, kClose), 1);
    EXPECT_EQ(count(4, kClose), 0);
    EXPECT_EQ(connections(4), 1) << "logging goes on over its session";
    EXPECT_EQ(connections(7), 0);
    EXPECT_TRUE(engine.run(1).logging);
    EXPECT_FALSE(engine.busy());
}

TEST_F(Spy, ASimulatedRunHasNoSessionSoTheSpyOpensItsOwn) {
    startInstruments({4});
    options.simulateData = true;
    ASSERT_TRUE(engine.startLogging(slots({1}), 0));
    const auto model = spy({401});
    refresh(*model);
    EXPECT_EQ(model->openedBcns(), (std::vector<unsigned>{4}));
    model->close();
    EXPECT_EQ(connections(4), 0);
}

TEST_F(Spy, AnInstrumentThatCannotBeOpenedEndsTheSpyAndClosesTheOthersLastFirst) {
    startInstruments({4, 7, 9});
    control("refuse 9");
    const auto model = spy({401, 701, 901});
    ASSERT_TRUE(refresh(*model));
    EXPECT_EQ(model->state(), SpyWindowModel::State::Ended);
    EXPECT_TRUE(model->openedBcns().empty());
    ASSERT_EQ(ui.messages().size(), 1u);
    EXPECT_EQ(ui.messages()[0].text.rfind("Instrument 09:  ", 0), 0u) << ui.messages()[0].text;
    EXPECT_EQ(connections(4), 0);
    EXPECT_EQ(connections(7), 0);
    EXPECT_EQ(count(4, kSpyOn), 0);
    EXPECT_FALSE(refresh(*model)) << "an ended Spy reads nothing more";
    model->close();
    EXPECT_EQ(count(4, kSpyOff), 0) << "nothing to switch off";
}

TEST_F(Spy, AConfigurationTheInstrumentRefusesCancelsTheSpy) {
    startInstruments({4});
    link.configSetCodes = {-9};
    const auto model = spy({401});
    refresh(*model);
    EXPECT_EQ(model->state(), SpyWindowModel::State::Ended);
    EXPECT_EQ(ui.messageTexts(), (std::vector<std::string>{"Instrument 04:  Communication Interruption!"}));
    EXPECT_EQ(count(4, kSpyOff), 1);
    EXPECT_EQ(connections(4), 0);
}

TEST_F(Spy, AnInstrumentWhoseRunEndedIsOpenedAgainAndClosedWithTheSpy) {
    startInstruments({4});
    ASSERT_TRUE(engine.startLogging(slots({1}), 0));
    control("spy-value 4 1 2.5");
    const auto model = spy({401});
    refresh(*model);
    EXPECT_TRUE(model->openedBcns().empty());
    engine.endRun(1);
    refresh(*model);
    EXPECT_EQ(model->readingLines()[0], "") << "the session had gone";
    EXPECT_EQ(model->openedBcns(), (std::vector<unsigned>{4}));
    refresh(*model);
    EXPECT_EQ(model->readingLines()[0], "2.50000");
    model->close();
    EXPECT_EQ(connections(4), 0);
}

} // namespace
} // namespace korvel
