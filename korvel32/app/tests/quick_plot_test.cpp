// Quick Plot without a window: the levels of readings, the sample ring and
// its timing, the entries following the setup, the setup dialog's checks and
// where the picture puts everything.
#include "app/plot_sample_clock.h"
#include "app/quick_plot_layout.h"
#include "app/quick_plot_ring.h"
#include "app/quick_plot_setup.h"
#include "live_fixture.h"

#include <cmath>
#include <limits>

namespace korvel {
namespace {

constexpr float kInfinity = std::numeric_limits<float>::infinity();
const float kOpenThermocouple = std::bit_cast<float>(0x7FC00000U);

TEST(PlotLevel, ReadingsBecomeLevelsOrMarksOffThePlot) {
    struct Case {
        float reading, minimum, maximum;
        std::int16_t level;
    };
    const Case cases[] = {
        {-5.0F, -5.0F, 5.0F, 0},
        {0.0F, -5.0F, 5.0F, 16380},
        {5.0F, -5.0F, 5.0F, kTopLevel},
        {5.0001F, -5.0F, 5.0F, kAbovePlot},
        {-5.01F, -5.0F, 5.0F, kBelowPlot},
        {1.5e10F, -5.0F, 5.0F, kAbovePlot},
        {kInfinity, -5.0F, 5.0F, kAbovePlot},
        {-kInfinity, -5.0F, 5.0F, kBelowPlot},
        {kOpenThermocouple, -5.0F, 5.0F, kAbovePlot},
        {2.5F, 0.0F, 10.0F, 8190},
        {1.0F, 1.0F, 1.0F, 0}, // bounds that met in single precision
    };
    for (const Case &c : cases)
        EXPECT_EQ(plotLevel(c.reading, c.minimum, c.maximum), c.level)
            << c.reading << " on " << c.minimum << ".." << c.maximum;
}

class QuickPlot : public LiveFixture {
protected:
    void SetUp() override {
        LiveFixture::SetUp();
        slot = addInstrument(5);
        plot.channels = {501, 503};
        plot.channelCount = 2;
        ring.restart();
    }

    int slot = 0;
    PlotSettings plot;
    QuickPlotRing ring{plot, table, engine, '.'};
};

TEST_F(QuickPlot, AnInstrumentThatDoesNotLogLeavesGapsNeverStaleValues) {
    EXPECT_FALSE(ring.newestSample(0).valid) << "no run yet";
    deliver(slot, {1.0F, 2.0F, 3.0F});
    EXPECT_TRUE(ring.takeSample());
    EXPECT_TRUE(ring.newestSample(0).valid);
    EXPECT_EQ(ring.newestSample(1).level, 26208); // 3.0 on -5..5
    stopLogging(slot);
    EXPECT_TRUE(ring.takeSample()) << "the first gap after a reading is shown";
    EXPECT_FALSE(ring.newestSample(0).valid);
    EXPECT_FALSE(ring.takeSample()) << "nothing new to show";
    engine.run(slot).logging = true;
    engine.run(slot).hasData = false;
    ring.takeSample();
    EXPECT_FALSE(ring.newestSample(0).valid) << "logging, but no scan in this run yet";
}

TEST_F(QuickPlot, AReadingIsFoundAmongTheChannelsThatAreNotOff) {
    channel(slot, 2).function = ChannelFunction::Off;
    channel(slot, 5).function = ChannelFunction::Vdc;
    plot.channels = {505};
    plot.channelCount = 1;
    deliver(slot, {-1.0F, 4.0F, 0.0F}); // channels 1, 3 and 5
    ring.takeSample();
    EXPECT_EQ(ring.newestSample(0).level, 16380);
}

TEST_F(QuickPlot, FortySamplesAreKeptAndTheOldestDropsOff) {
    for (int sample = 0; sample < kPlotPositions + 1; ++sample) {
        deliver(slot, {static_cast<float>(sample) / 10.0F - 5.0F, 0.0F, 0.0F});
        ring.takeSample();
    }
    EXPECT_EQ(ring.newest(), 1);
    EXPECT_EQ(ring.oldest(), 2);
    EXPECT_EQ(ring.sampleAt(0, 0).level, plotLevel(-4.9F, -5.0F, 5.0F)) << "the first two samples are gone";
    EXPECT_EQ(ring.newestSample(0).level, plotLevel(-1.0F, -5.0F, 5.0F));
}

TEST_F(QuickPlot, TheLegendShowsReadingTextsAndAlarms) {
    struct Case {
        float reading;
        std::uint32_t alarm1, alarm2;
        const char *text;
        bool inAlarm;
    };
    const Case cases[] = {
        {1.5e10F, 0, 0, "+Overload", false},         {-kInfinity, 0, 0, "-Overload", false},
        {kOpenThermocouple, 0, 0, "Open TC", false}, {0.00123F, 0b1, 0, "1.23000E-3", true},
        {2.0F, 0b10, 0b1, "2.00000", true},          {2.0F, 0b10, 0b100, "2.00000", false},
    };
    for (const Case &c : cases) {
        deliver(slot, {c.reading, 0.0F, 0.0F}, c.alarm1, c.alarm2);
        ring.takeSample();
        EXPECT_EQ(ring.entry(0).reading, c.text);
        EXPECT_EQ(ring.entry(0).inAlarm, c.inAlarm) << c.text;
    }
    stopLogging(slot);
    ring.takeSample();
    EXPECT_FALSE(ring.entry(0).inAlarm) << "no alarm without a reading";
}

TEST_F(QuickPlot, ARestartSamplesAtOnceAtTheFirstPositionAndReadsLabels) {
    channel(slot, 3).label = "Oven";
    channel(slot, 3).unitsLabel = "degC";
    deliver(slot, {1.0F, 2.0F, 3.0F});
    ring.takeSample();
    ring.takeSample();
    ring.restart();
    EXPECT_EQ(ring.newest(), 0);
    EXPECT_EQ(ring.oldest(), 1);
    EXPECT_TRUE(ring.newestSample(1).valid);
    EXPECT_FALSE(ring.sampleAt(1, kPlotPositions - 2).valid) << "the earlier samples are gone";
    EXPECT_EQ(ring.entry(1).label, "Oven");
    EXPECT_EQ(ring.entry(1).units, "degC");
}

TEST_F(QuickPlot, EntriesFollowTheSetup) {
    const int other = addInstrument(7);
    plot.channels = {501, 701, 503, 0, 702};
    plot.channelCount = 4;

    channel(slot, 3).function = ChannelFunction::Off;
    ring.configurationChanged(slot);
    EXPECT_EQ(plot.channels, (std::array<std::uint16_t, kPlotChannels>{501, 701, 0, 0, 702}));
    EXPECT_EQ(plot.channelCount, 3);

    ring.bcnChanged(7, 9);
    EXPECT_EQ(plot.channels, (std::array<std::uint16_t, kPlotChannels>{501, 901, 0, 0, 902}));

    table.remove(other);
    ring.instrumentRemoved(9);
    EXPECT_EQ(plot.channels, (std::array<std::uint16_t, kPlotChannels>{501, 0, 0, 0, 0}));
    EXPECT_EQ(plot.channelCount, 1);
}

TEST_F(QuickPlot, AnIdentifierOfNoChannelIsNeverSampled) {
    plot.channels = {550, 0, 0, 0, 0, 0, 0, 500};
    deliver(slot, {1.0F, 2.0F, 3.0F});
    ring.restart();
    ring.takeSample();
    EXPECT_FALSE(ring.anyValidSample());
}

TEST(PlotSampleClock, SamplesWhenDueAndKeepsAliveEveryTwoSeconds) {
    PlotSampleClock clock;
    clock.restarted(100, 5);
    clock.drawn();
    using Turn = PlotSampleClock::Turn;
    const std::pair<std::int64_t, Turn> passes[] = {
        {100, Turn::KeepAlive},
        {101, Turn::None},
        {102, Turn::KeepAlive},
        {103, Turn::None},
        {105, Turn::TakeSample}, // due at 100 + 5; a sample counts as a keep-alive
        {106, Turn::None},
        {107, Turn::KeepAlive},
        {106, Turn::KeepAlive}, // the clock went back behind the last
                                // keep-alive
        {106, Turn::None},
    };
    for (const auto &[now, turn] : passes) {
        EXPECT_EQ(clock.turn(now), turn) << "at " << now;
        if (turn == Turn::TakeSample) clock.sampled(5);
    }
    EXPECT_EQ(clock.nextSampleTime(), 110);
    clock.timeChanged(50);
    EXPECT_EQ(clock.turn(50), Turn::TakeSample);
}

TEST(PlotSampleClock, UntilSomethingIsDrawnAKeepAliveBringsTheSampleForward) {
    PlotSampleClock clock;
    clock.restarted(100, 60);
    clock.keepAlive(102);
    EXPECT_EQ(clock.nextSampleTime(), 102);
    clock.drawn();
    clock.restarted(102, 60);
    clock.keepAlive(104);
    EXPECT_EQ(clock.nextSampleTime(), 162);
}

class QuickPlotSetup : public LiveFixture {
protected:
    void SetUp() override {
        LiveFixture::SetUp();
        addInstrument(7);
        addInstrument(3);
    }
    PlotSettings settings;
};

TEST_F(QuickPlotSetup, OkChecksInOrderAndNamesTheField) {
    struct Case {
        const char *maximum, *minimum, *interval;
        const char *message;
        PlotSetupControl focus;
    };
    const Case cases[] = {
        {"9999900001", "0", "1", kInvalidPlotMaximum, PlotSetupControl::Maximum},
        {"5", "-9999900001", "0", kInvalidPlotMinimum, PlotSetupControl::Minimum},
        {"1", "1", "0", kPlotRangeReversed, PlotSetupControl::Maximum},
        {"1", "2", "1", kPlotRangeReversed, PlotSetupControl::Maximum},
        {"5", "-5", "0", kSamplingIntervalRange, PlotSetupControl::Interval},
        {"5", "-5", "3601", kSamplingIntervalRange, PlotSetupControl::Interval},
        {"5", "-5", "1.5", kSamplingIntervalRange, PlotSetupControl::Interval},
        {"5", "-5", "", kSamplingIntervalRange, PlotSetupControl::Interval},
    };
    for (const Case &c : cases) {
        QuickPlotSetupModel model(settings, table, '.');
        model.setMaximumText(c.maximum);
        model.setMinimumText(c.minimum);
        model.setIntervalText(c.interval);
        const auto refusal = model.accept({});
        ASSERT_TRUE(refusal) << c.maximum << " " << c.minimum << " " << c.interval;
        EXPECT_EQ(refusal->text, c.message);
        EXPECT_EQ(refusal->focus, c.focus);
        EXPECT_EQ(model.settings(), settings) << "nothing changes until every check passes";
    }
}

TEST_F(QuickPlotSetup, ListsTheDefinedChannelsAndTakesTheFirstEightChosen) {
    channel(2, 2).label = "Flow";
    settings.channels = {302, 0, 701};
    settings.channelCount = 2;
    QuickPlotSetupModel model(settings, table, ',');
    ASSERT_EQ(model.lines().size(), 6u) << "three VDC channels per instrument, in slot order";
    EXPECT_EQ(model.lines()[0].text, "0701 (Label)");
    EXPECT_EQ(model.lines()[4].text, "0302 (Flow)");
    EXPECT_EQ(model.initialSelection(), (std::vector<std::size_t>{0, 4}));
    EXPECT_EQ(model.maximumText(), "5");
    EXPECT_EQ(model.minimumText(), "-5");

    for (int number = 4; number <= 6; ++number) channel(1, number).function = ChannelFunction::Vdc;
    QuickPlotSetupModel more(settings, table, ',');
    more.setMaximumText("12,5");
    more.setIntervalText("3600");
    ASSERT_FALSE(more.accept({8, 1, 0, 2, 3, 4, 5, 6, 7}));
    const PlotSettings &chosen = more.settings();
    EXPECT_EQ(chosen.channels, (std::array<std::uint16_t, kPlotChannels>{701, 702, 703, 704, 705, 706, 301, 302}));
    EXPECT_EQ(chosen.channelCount, 8);
    EXPECT_EQ(chosen.maximum, 12.5F);
    EXPECT_EQ(chosen.minimum, -5.0F);
    EXPECT_EQ(chosen.samplingInterval, 3600);
}

TEST(QuickPlotLayout, PlotAreaAndLegendShareTheWindow) {
    const PlotMeasures measures{800, 600, 7, 16, 14};
    const PlotLayout withTwo = plotLayout(measures, 2);
    EXPECT_EQ(withTwo.left, 21);
    EXPECT_EQ(withTwo.right, 786);
    EXPECT_EQ(withTwo.top, 16);
    EXPECT_EQ(withTwo.bottom, 600 - 8 - 64);
    EXPECT_EQ(withTwo.legendTop, 600 + 8 - 64);
    EXPECT_EQ(plotLayout(measures, 0).bottom, 600 - 8 - 48) << "three lines for the empty legend";

    const PlotLayout tiny = plotLayout({30, 40, 7, 16, 14}, 8);
    EXPECT_EQ(tiny.right, tiny.left);
    EXPECT_EQ(tiny.bottom, tiny.top);
    EXPECT_FALSE(tiny.hasArea());
}

TEST(QuickPlotLayout, SamplesStandAtTheirLevels) {
    const PlotLayout layout = plotLayout({800, 600, 7, 16, 14}, 1);
    const int height = layout.bottom - layout.top;
    EXPECT_EQ(layout.samplePoint(0, kTopLevel), (PlotPoint{layout.left, layout.top})) << "the maximum is the top";
    EXPECT_EQ(layout.samplePoint(0, kAbovePlot).y, layout.top);
    EXPECT_EQ(layout.samplePoint(kPlotTicks, 0), (PlotPoint{layout.left + kPlotTicks * layout.step(), layout.bottom}));
    EXPECT_EQ(layout.samplePoint(1, kBelowPlot).y, layout.bottom);
    EXPECT_EQ(layout.samplePoint(0, 16380).y, layout.bottom - height / 2) << "zero on -5..5 is mid-height";
}

TEST(QuickPlotLayout, TheZeroTickOnlyWellInsideATallPlot) {
    const PlotLayout layout = plotLayout({800, 600, 7, 16, 14}, 1);
    EXPECT_EQ(zeroTickY(layout, -5.0F, 5.0F), layout.samplePoint(0, 16380).y);
    EXPECT_EQ(zeroTickY(layout, 0.0F, 10.0F), -1) << "zero at 0 %";
    EXPECT_EQ(zeroTickY(layout, -1.0F, 9.0F), -1) << "zero at 10 %";
    EXPECT_EQ(zeroTickY(layout, -8.9F, 1.0F), layout.samplePoint(0, plotLevel(0.0F, -8.9F, 1.0F)).y);
    EXPECT_EQ(zeroTickY(plotLayout({800, 16 * 7, 7, 16, 14}, 1), -5.0F, 5.0F), -1) << "three lines tall at most";
    EXPECT_EQ(plotLabel(-2.5F, ','), "-2,5");
}

TEST(QuickPlotLayout, EachTraceHasItsColourAndMarker) {
    EXPECT_EQ(traceColour(4), (PlotColour{0, 128, 0}));
    EXPECT_EQ(traceColour(8), traceColour(0)) << "starting again after the eighth";
    EXPECT_EQ(markerShape(0).size(), 4u);
    EXPECT_EQ(markerShape(5).size(), 10u) << "the star";
    EXPECT_EQ(arrowShape(kAbovePlot)[3], (PlotPoint{1, -12})) << "pointing up from its tip";
    EXPECT_EQ(arrowShape(kBelowPlot)[3], (PlotPoint{-1, 12}));
}

} // namespace
} // namespace korvel
