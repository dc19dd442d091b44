// The conversion dialogs' rules: the file dialogs each one opens, the names
// shown, and Convert only once both files are chosen.
#include "app/conversion_dialog_model.h"

#include <gtest/gtest.h>

namespace korvel {
namespace {

TEST(ConversionDialogModel, EachConversionChoosesItsKindsOfFile) {
    const ConversionDialogTexts binary = conversionDialogTexts(ConversionKind::BinaryToAscii);
    EXPECT_EQ(binary.caption, "Binary to ASCII Conversion");
    EXPECT_EQ(binary.source.title, "Binary File Selection");
    EXPECT_EQ(binary.source.filter, "Binary Files (*.BIN)|*.bin|All Files (*.*)|*.*||");
    EXPECT_EQ(binary.source.defaultExtension, "bin");
    EXPECT_TRUE(binary.source.mustExist);
    EXPECT_EQ(binary.target.title, "ASCII File Selection");
    EXPECT_EQ(binary.target.filter, "ASCII Files (*.CSV)|*.csv|All Files (*.*)|*.*||");
    EXPECT_EQ(binary.target.defaultExtension, "csv");
    EXPECT_TRUE(binary.target.overwritePrompt);

    const ConversionDialogTexts times = conversionDialogTexts(ConversionKind::AsciiTimestamps);
    EXPECT_EQ(times.caption, "ASCII to Text Timestamp Conversion");
    EXPECT_EQ(times.source.title, "ASCII File Selection");
    EXPECT_EQ(times.source.defaultExtension, "csv");
    EXPECT_TRUE(times.source.mustExist);
    EXPECT_EQ(times.target.title, "Text File Selection");
    EXPECT_EQ(times.target.filter, "Text Files (*.TXT)|*.txt|All Files (*.*)|*.*||");
    EXPECT_EQ(times.target.defaultExtension, "txt");
    EXPECT_TRUE(times.target.overwritePrompt);
}

TEST(ConversionDialogModel, ConvertWaitsForBothFiles) {
    ConversionDialogModel model(ConversionKind::BinaryToAscii);
    EXPECT_EQ(model.sourceText(), "None");
    EXPECT_EQ(model.targetText(), "None");
    EXPECT_FALSE(model.convertEnabled());
    EXPECT_EQ(model.proposedTarget(), "");

    model.chooseSource("/data/run 1.bin");
    EXPECT_EQ(model.sourceText(), "/data/run 1.bin");
    EXPECT_FALSE(model.convertEnabled());
    EXPECT_EQ(model.proposedTarget(), "/data/run 1.csv");

    model.chooseTarget(""); // the file dialog was cancelled
    EXPECT_EQ(model.targetText(), "None");
    model.chooseTarget("/out/run.csv");
    EXPECT_TRUE(model.convertEnabled());
    model.chooseSource("");
    EXPECT_EQ(model.files().source, "/data/run 1.bin");
    EXPECT_EQ(model.files().target, "/out/run.csv");
    EXPECT_EQ(model.proposedTarget(), "/out/run.csv");
}

} // namespace
} // namespace korvel
