#include "platform/string_table.h"

#include <gtest/gtest.h>

namespace korvel {
namespace {

TEST(StringTable, LooksUpTextsByNumber) {
    EXPECT_EQ(resourceString(976), "M100A");
    EXPECT_EQ(resourceString(1269), "TIME");
    EXPECT_EQ(resourceString(1406), "Trend Link for Orrin");
    EXPECT_EQ(resourceString(1322),
              "Instruments with invalid BCNs (%s) not loaded!\nConfigure communications with desired BCNs!");
    EXPECT_EQ(resourceString(1378),
              "Cannot write to Trend Link infolink.ini!\r\nCheck file permissions or location of file.");
    EXPECT_EQ(resourceString(33070), "Start all instruments logging\nStart All Instruments");
    EXPECT_EQ(resourceString(49), "Korvel Logger is not compatible with Setup File version: ");
}

TEST(StringTable, UnknownNumbersHaveNoText) {
    EXPECT_EQ(resourceString(0), "");
    EXPECT_EQ(resourceString(-1), "");
    EXPECT_EQ(resourceString(110), "");
    EXPECT_EQ(resourceString(99999), "");
}

TEST(StringTable, InstrumentMessagesReceiveTheBcnOnly) {
    EXPECT_EQ(instrumentMessage(648, 7), "Instrument 07:  Instrument not found!");
    EXPECT_EQ(instrumentMessage(44, 99), "Instrument 99 already has this filename!");
    EXPECT_EQ(instrumentMessage(31, 3), "Instrument 03:  Communication Interruption (%ld)!");
    EXPECT_EQ(instrumentMessage(1385, 12),
              "Instrument 12:  Selected Trend Link Data Set already contains data for instrument %02u!\r\n"
              "Delete the Data Set or create a new Data Set.");
    EXPECT_EQ(instrumentMessage(21, 5), "Low on memory!");
}

} // namespace
} // namespace korvel
