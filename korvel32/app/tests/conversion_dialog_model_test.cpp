// The conversion dialogs' rules: the file dialogs each one opens, the names
// shown, and Convert only once both files are chosen.
#include "app/conversion_dialog_model.h"

#include <gtest/gtest.h>

namespace korvel {
namespace {

TEST(ConversionDialogModel, EachConversionChoosesItsKindsOfFile) {
    const std::string binaryFiles = "Binary Files (*.BIN)|*.bin|All Files (*.*)|*.*||";
    const std::string asciiFiles = "ASCII Files (*.CSV)|*.csv|All Files (*.*)|*.*||";
    const std::string textFiles = "Text Files (*.TXT)|*.txt|All Files (*.*)|*.*||";
    const std::string trendLinkFiles = "Trend Link (*.SET)|*.set|All Files (*.*)|*.*||";
    const struct {
        ConversionKind kind;
        std::string caption;
        FileDialogTexts source;
        FileDialogTexts target;
    } cases[] = {
        {ConversionKind::BinaryToAscii,
         "Binary to ASCII Conversion",
         {"Binary File Selection", binaryFiles, "bin"},
         {"ASCII File Selection", asciiFiles, "csv"}},
        {ConversionKind::AsciiTimestamps,
         "ASCII to Text Timestamp Conversion",
         {"ASCII File Selection", asciiFiles, "csv"},
         {"Text File Selection", textFiles, "txt"}},
        {ConversionKind::BinaryToTrendLink,
         "Binary to Trend Link Conversion",
         {"Binary File Selection", binaryFiles, "bin"},
         {"Trend Link File Selection", trendLinkFiles, "set"}},
    };
    for (const auto &expected : cases) {
        const ConversionDialogTexts texts = conversionDialogTexts(expected.kind);
        SCOPED_TRACE(texts.caption);
        EXPECT_EQ(texts.caption, expected.caption);
        for (const auto &[shown, wanted] :
             {std::pair{&texts.source, &expected.source}, std::pair{&texts.target, &expected.target}}) {
            EXPECT_EQ(shown->title, wanted->title);
            EXPECT_EQ(shown->filter, wanted->filter);
            EXPECT_EQ(shown->defaultExtension, wanted->defaultExtension);
        }
        EXPECT_TRUE(texts.source.mustExist);
        EXPECT_FALSE(texts.source.overwritePrompt);
        EXPECT_TRUE(texts.target.overwritePrompt);
    }
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
