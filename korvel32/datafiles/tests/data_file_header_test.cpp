#include "datafiles/channel_checksum.h"
#include "datafiles/data_file_group.h"
#include "datafiles/data_file_header.h"
#include "platform/regional_formats.h"

#include "crlf_lines.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <vector>

namespace korvel {
namespace {

InstrumentSetup setupWith(std::initializer_list<int> channels) {
    InstrumentSetup setup;
    for (int channel : channels) {
        setup.channel(channel).function = ChannelFunction::Vdc;
        setup.channel(channel).unitsLabel = "U" + std::to_string(channel);
    }
    return setup;
}

TEST(ChannelChecksum, AsyncSumsItsDefinedChannels) {
    const InstrumentSetup setup = setupWith({1, 3, 30});
    const DataFileGroup group{instrumentPart(7, setup), false, {}};
    EXPECT_EQ(channelChecksum(group), 701u + 703u + 730u);
}

TEST(ChannelChecksum, MasterAddsSlavesAndItsOwnBcn) {
    const InstrumentSetup master = setupWith({1});
    const InstrumentSetup slave = setupWith({1, 2});
    const DataFileGroup group{instrumentPart(2, master), true, {instrumentPart(5, slave)}};
    EXPECT_EQ(channelChecksum(group), 1206u);
}

TEST(DataFileGroup, MergedRecordSharesTheOwnersTime) {
    const InstrumentSetup master = setupWith({1});
    const InstrumentSetup slave = setupWith({1, 2});
    const DataFileGroup group{instrumentPart(2, master), true, {instrumentPart(5, slave)}};
    EXPECT_EQ(group.owner.recordSize(), 32u);
    EXPECT_EQ(group.recordSize(), 32u + 36u - 12u);
}

class DataFileHeaderTest : public ::testing::Test {
protected:
    DataFileHeaderTest() { setup.dataFile.comment = "Oven run"; }

    std::vector<std::string> header(const DataFileGroup &group, const RegionalFormats &formats) {
        return crlfLinesOf(dataFileHeader(group, "data.csv", "\"03/14/97 08:05:09\"", formats));
    }

    InstrumentSetup setup = setupWith({1, 3});
};

TEST_F(DataFileHeaderTest, AsyncInstrumentWithCommaSeparator) {
    const auto lines = header({instrumentPart(1, setup), false, {}}, RegionalFormats{});
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_EQ(lines[0], "\"data.csv\"");
    EXPECT_EQ(lines[1], "\"03/14/97 08:05:09\"");
    EXPECT_EQ(lines[2], "\"Oven run\"");
    EXPECT_EQ(lines[3], "7");
    EXPECT_EQ(lines[4], R"("TIME", "U1", "U3", "DIO", "TOTAL", "ALARM1", "ALARM2")");
    EXPECT_EQ(lines[5], R"("01TIME", "0101", "0103", "01DIO", "01TOTAL", "01ALARM1", "01ALARM2")");
}

TEST_F(DataFileHeaderTest, SemicolonListSeparator) {
    RegionalFormats formats;
    formats.listSeparator = ';';
    formats.decimalSymbol = ',';
    const auto lines = header({instrumentPart(1, setup), false, {}}, formats);
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_EQ(lines[4], R"("TIME"; "U1"; "U3"; "DIO"; "TOTAL"; "ALARM1"; "ALARM2")");
    EXPECT_EQ(lines[5], R"("01TIME"; "0101"; "0103"; "01DIO"; "01TOTAL"; "01ALARM1"; "01ALARM2")");
}

TEST_F(DataFileHeaderTest, MasterListsEverySlaveAfterItself) {
    const InstrumentSetup slave = setupWith({2});
    const auto lines = header({instrumentPart(1, setup), true, {instrumentPart(12, slave)}}, RegionalFormats{});
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_EQ(lines[3], "7, 5");
    EXPECT_EQ(lines[4],
              R"("TIME", "U1", "U3", "DIO", "TOTAL", "ALARM1", "ALARM2", "U2", "DIO", "TOTAL", "ALARM1", "ALARM2")");
    EXPECT_EQ(
        lines[5],
        R"("01TIME", "0101", "0103", "01DIO", "01TOTAL", "01ALARM1", "01ALARM2", "1202", "12DIO", "12TOTAL", "12ALARM1", "12ALARM2")");
}

} // namespace
} // namespace korvel
