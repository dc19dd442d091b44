// Fixture for Trend Link output against the real stand-ins: the historian
// loaded from where the build installs it, its infolink.ini and the data
// sets in the test's directory, a clock and a free disk space the test sets,
// and scans made up with the times and values the test needs.
#pragma once

#include "datafiles/scan_batch.h"
#include "datafiles/scan_time.h"
#include "datafiles/trend_link_output.h"
#include "datafiles/trend_link_settings.h"
#include "platform/ini_profile.h"
#include "scoped_time_zone.h"
#include "scripted_free_space.h"
#include "scripted_user_interface.h"
#include "setup/instrument_table.h"
#include "setup/setup_template.h"
#include "temp_dir.h"
#include "trend_link_store.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace korvel {

// The historian, with the failures it cannot be made to show.
class ScriptedTrendLinkLibrary : public TrendLinkLibrary {
public:
    int addDataSet(const std::string &name, const std::string &directory) override {
        return refuseRegistration ? -1 : TrendLinkLibrary::addDataSet(name, directory);
    }
    int getFirstBatchInfo(TBaseDataSet dataSet, std::string &name, double &start, double &end) override {
        return damagedBatchList ? -1 : TrendLinkLibrary::getFirstBatchInfo(dataSet, name, start, end);
    }
    int addBatch(TBaseDataSet dataSet, const std::string &name, double start) override {
        return refuseBatches ? -1 : TrendLinkLibrary::addBatch(dataSet, name, start);
    }
    int updateAllTags(TBaseDataSet dataSet, int scans, const double *times, const float *values) override {
        return refuseUpdates ? -1 : TrendLinkLibrary::updateAllTags(dataSet, scans, times, values);
    }
    bool refuseRegistration = false;
    bool damagedBatchList = false;
    bool refuseBatches = false;
    bool refuseUpdates = false;
};

// One scan's time in local time (the instrument's clock) and its values.
struct MadeScan {
    int year = 2024, month = 7, day = 1, hour = 12, minute = 0, second = 0, millisecond = 0;
    std::vector<float> readings{};
    std::uint8_t dio = 0xFF;
    std::uint32_t totalizer = 0;
    std::uint32_t alarm1 = 0;
    std::uint32_t alarm2 = 0;
};

class TrendLinkTest : public ::testing::Test {
protected:
    TrendLinkTest() {
        ::setenv("TBASE32_INFOLINK_DIR", dir.path().c_str(), 1);
        setupTemplate.complete("Label", "VDC");
        writeProfileString(settingsPath(), trend_link_settings::kSection, trend_link_settings::kDirectoryKey,
                           kvtest::trendLinkDirectory());
        trendLink.setPaths({kvtest::trendLinkDirectory() + "/", settingsPath()});
        trendLink.setFreeDiskSpace(freeSpace);
        trendLink.setScreenSize({1200, 900});
    }
    ~TrendLinkTest() override {
        library.unload();
        ::unsetenv("TBASE32_INFOLINK_DIR");
        ::unsetenv("TBASE32_FREE_SPACE_FILE");
    }

    std::string settingsPath() const { return dir.path() + "/korvel32.ini"; }
    std::string dataPath(const std::string &name) const { return dir.path() + "/data/" + name; }
    DataFileSetup &file(int slot) { return table.slot(slot).setup->dataFile; }
    // The .NOW file of "run" that a rollover kept under its number.
    std::string rolledOver(int number) const {
        char name[32];
        std::snprintf(name, sizeof name, "run.%05d.HIS", number);
        return dataPath("_run/") + name;
    }
    // The clock at a local time of the test's month.
    void setClock(int day, int hour, int minute, int second = 0, unsigned millisecond = 0) {
        clock.set(
            {static_cast<std::int64_t>(localMilliseconds(2024, 7, day, hour, minute, second) / 1000), millisecond});
    }

    // An instrument with the template's three VDC channels in the next slot,
    // writing Trend Link data to name in the data directory.
    int addInstrument(unsigned bcn, const std::string &name = "run.set") {
        const int slot = table.firstFreeSlot();
        table.add(slot, bcn, ModelCode::M100A);
        DataFileSetup &file = table.slot(slot).setup->dataFile;
        file.enabled = true;
        file.format = FileFormat::TrendLink;
        file.path = dataPath(name);
        file.comment = "Boiler house";
        return slot;
    }

    // The output of the slot, opened as a start command does; nullptr when
    // the open failed.
    std::unique_ptr<TrendLinkOutput> open(int slot) {
        auto output = std::make_unique<TrendLinkOutput>(dataFileGroupOf(table, slot), trendLink, clock);
        if (!output->open()) return nullptr;
        return output;
    }

    static ScanBatch batchOf(const std::vector<MadeScan> &scans, std::size_t channels = 3) {
        ScanBatch batch;
        const auto recordSize = static_cast<std::int32_t>(28 + 4 * channels);
        batch.setHeader({recordSize, static_cast<std::int32_t>(scans.size()), 0});
        for (std::size_t index = 0; index < scans.size(); ++index) {
            const MadeScan &made = scans[index];
            ScanRecord record{};
            record.time = {static_cast<std::uint8_t>(made.hour),
                           static_cast<std::uint8_t>(made.minute),
                           static_cast<std::uint8_t>(made.second),
                           static_cast<std::uint8_t>(made.month),
                           0,
                           static_cast<std::uint8_t>(made.day),
                           static_cast<std::uint8_t>(made.year % 100),
                           0};
            record.msAndDio = static_cast<std::uint32_t>(made.millisecond) | (std::uint32_t{made.dio} << 16);
            record.totalizer = made.totalizer;
            record.alarm1 = made.alarm1;
            record.alarm2 = made.alarm2;
            for (std::size_t channel = 0; channel < made.readings.size(); ++channel)
                record.readings[channel] = made.readings[channel];
            batch.setRecord(static_cast<int>(index), record);
        }
        return batch;
    }

    // Scans one second apart from the given local time, each counting on the totalizer.
    static std::vector<MadeScan> secondsFrom(MadeScan first, int count) {
        std::vector<MadeScan> scans;
        for (int index = 0; index < count; ++index) {
            MadeScan scan = first;
            std::tm local =
                wallClockAt(first.year, first.month, first.day, first.hour, first.minute, first.second + index);
            ::timegm(&local); // brings the fields into range
            scan.year = local.tm_year + 1900;
            scan.month = local.tm_mon + 1;
            scan.day = local.tm_mday;
            scan.hour = local.tm_hour;
            scan.minute = local.tm_min;
            scan.second = local.tm_sec;
            scan.totalizer = first.totalizer + static_cast<std::uint32_t>(index);
            if (scan.readings.empty()) scan.readings = {1.0f + static_cast<float>(index), 2.0f, 3.0f};
            scans.push_back(scan);
        }
        return scans;
    }

    // The Trend Link time of a local time in the test's zone.
    static double localMilliseconds(int year, int month, int day, int hour, int minute, int second, int ms = 0) {
        std::tm local = wallClockAt(year, month, day, hour, minute, second);
        return static_cast<double>(std::mktime(&local)) * 1000.0 + ms;
    }

    const ScopedTimeZone zone{"Europe/Berlin"};
    kvtest::TempDir dir;
    SetupTemplate setupTemplate;
    InstrumentTable table{setupTemplate};
    ScriptedUserInterface ui;
    kvtest::ScriptedFreeSpace freeSpace;
    ScriptedTrendLinkLibrary library;
    TrendLinkInterface trendLink{library, ui};
    // 2030: later than every scan the tests make, unless they say otherwise.
    ManualClock clock{CalendarTime{1'900'000'000, 0}};
    DaylightStates daylight;
};

} // namespace korvel
