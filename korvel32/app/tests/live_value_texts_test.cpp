// The date-time item of the live values: the scan's time as the instrument's
// data file holds it, which for a Trend Link data set is the time the
// historian's time conversion stamped.
#include "app/live_value_texts.h"
#include "app/tests/live_fixture.h"
#include "platform/regional_formats.h"
#include "scoped_time_zone.h"

#include <gtest/gtest.h>

#include <string>

namespace korvel {
namespace {

// A time conversion that puts local time an hour behind GMT, whatever the
// C library says, as an outside one may for a zone the machine reads otherwise.
class HourBehindTimeConversion : public TrendLinkLibrary {
public:
    std::optional<std::int64_t> localToGmt(const std::tm &local) override {
        std::tm copy = local;
        return static_cast<std::int64_t>(timegm(&copy)) + 3600;
    }
};

class LiveDateTime : public LiveFixture {
protected:
    // An instrument logging into a data file of this format, its newest scan
    // taken 2024-03-14 12:00:00.250 by its clock.
    int logInto(unsigned bcn, FileFormat format) {
        const int slot = addInstrument(bcn);
        DataFileSetup &file = table.slot(slot).setup->dataFile;
        file.enabled = true;
        file.format = format;
        deliver(slot, {1.0f}, 0, 0, 250);
        engine.scanBuffer(slot).latestScan.time = InstrumentTime{12, 0, 0, 3, 0, 14, 24, 0};
        return slot;
    }
    std::string dateTime(unsigned bcn) {
        texts.beginInstrument(static_cast<int>(bcn));
        return std::string(texts.instrumentText(live_item::kDateTime));
    }

    ScopedTimeZone zone{"UTC"};
    RegionalFormats regional;
    HourBehindTimeConversion historian;
    LiveValueTexts texts{table, regional, historian};
};

TEST_F(LiveDateTime, ADataSetsScanTimeIsTheHistoriansAndAFilesTheCLibrarys) {
    texts.attach(&engine);
    const int dataSetSlot = logInto(7, FileFormat::TrendLink);
    logInto(8, FileFormat::Ascii);
    EXPECT_EQ(dateTime(7), "45365.541669560") << "13:00:00.250, as the data set stores the scan";
    EXPECT_EQ(dateTime(8), "45365.500002893") << "12:00:00.250";
    EXPECT_EQ(engine.run(dataSetSlot).daylight.b, 1) << "the data set's writer carries the daylight states, not this";
}

} // namespace
} // namespace korvel
