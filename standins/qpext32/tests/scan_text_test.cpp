#include "channel_layout.h"
#include "scan_text.h"

#include "played_logger.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>

namespace qpext32 {
namespace {

TEST(ScanTextTest, AScanReadsAsTheDataFilesColumns) {
    std::vector<std::uint8_t> record = qpext32_test::scanRecord(3723, 4);
    std::string line;
    appendScanCsv(line, record.data(), static_cast<std::uint32_t>(record.size()));
    EXPECT_EQ(line, "2024-05-02 12:02:03.150,3723,3723.5,3724,3724.5,139,11169,0,0");

    // The special readings keep the data files' markers; others need no more
    // digits than they have.
    const float readings[] = {std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity(),
                              -std::numeric_limits<float>::infinity(), 0.1f};
    std::memcpy(record.data() + 28, readings, sizeof(readings));
    line.clear();
    appendScanCsv(line, record.data(), static_cast<std::uint32_t>(record.size()));
    EXPECT_EQ(line, "2024-05-02 12:02:03.150,+9.00E+9,+1.00E+9,-1.00E+9,0.1,139,11169,0,0");

    // A record of no readings still has its time and words.
    line.clear();
    appendScanCsv(line, record.data(), 28);
    EXPECT_EQ(line, "2024-05-02 12:02:03.150,139,11169,0,0");
}

TEST(ScanTextTest, ColumnsAreNamedByLabelAndUnitsAsCsvFields) {
    const char *labels[kChannels] = {"Oven \"A\", top", nullptr, "line\nbreak"};
    const char *units[kChannels] = {"\u00B0C", nullptr, ""};
    const ChannelLayout layout = channelLayout(0b101 | (1u << 31), labels, units);
    EXPECT_EQ(layout.channels(), (std::vector<int>{1, 3}));
    EXPECT_EQ(layout.recordSize(), 36u) << "bits beyond channel 30 mean nothing";
    EXPECT_EQ(columnsCsv(layout, 36), "Time,\"Oven \"\"A\"\", top (\u00B0C)\",line break,DIO,Totalizer,Alarm1,Alarm2");
    // Records that do not fit the layout are not put under its names.
    EXPECT_EQ(columnsCsv(layout, 40), "Time,Reading 1,Reading 2,Reading 3,DIO,Totalizer,Alarm1,Alarm2");

    const ChannelLayout unnamed = channelLayout(0b10, nullptr, nullptr);
    EXPECT_EQ(columnsCsv(unnamed, 32), "Time,Channel 2,DIO,Totalizer,Alarm1,Alarm2");
}

} // namespace
} // namespace qpext32
