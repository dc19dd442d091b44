// Running a file conversion in a test: the progress it shows is recorded, an
// Abort can be pressed at a given look, and the messages go to a scripted user.
#pragma once

#include "datafiles/file_conversions.h"
#include "platform/regional_formats.h"

#include "scripted_user_interface.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace korvel {

class RecordingProgress : public ConversionProgress {
public:
    // Abort is pressed at that look between chunks (1 = the first); 0 never.
    explicit RecordingProgress(int abortAtLook = 0) : abortAtLook_(abortAtLook) {}

    void begin() override { ++begun; }
    void showPercent(int percent) override { percents.push_back(percent); }
    bool abortRequested() override { return ++looks == abortAtLook_; }
    void end() override { ++ended; }

    int begun = 0;
    int ended = 0;
    int looks = 0;
    std::vector<int> percents;

private:
    int abortAtLook_;
};

struct ConversionRun {
    ConversionOutcome outcome;
    std::vector<std::string> messages;
};

inline ConversionRun convertForTest(ConversionKind kind, const std::string &source, const std::string &target,
                                    const RegionalFormats &formats = {}, int abortAtLook = 0) {
    ScriptedUserInterface ui;
    RecordingProgress progress(abortAtLook);
    const ConversionOutcome outcome = convertFile(kind, {source, target}, {formats, ui}, progress);
    EXPECT_EQ(progress.begun, progress.ended) << "every conversion that begins ends";
    for (std::size_t i = 1; i < progress.percents.size(); ++i)
        EXPECT_LT(progress.percents[i - 1], progress.percents[i]) << "the share shown only grows";
    if (outcome == ConversionOutcome::Complete) {
        EXPECT_EQ(progress.percents.front(), 0);
        EXPECT_EQ(progress.percents.back(), 100);
    }
    return {outcome, ui.messageTexts()};
}

} // namespace korvel
