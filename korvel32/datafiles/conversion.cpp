#include "datafiles/conversion.h"

#include "datafiles/conversion_source.h"
#include "platform/string_table.h"
#include "platform/user_interface.h"

#include <algorithm>
#include <memory>
#include <new>

namespace korvel {
namespace {

// The bytes read and converted between two looks at the front end: large
// enough that system calls cost little, small enough that Abort and the
// window's events wait a few milliseconds at most.
constexpr std::size_t kChunkSize = 64 * 1024;

void tell(UserInterface &ui, const std::string &text, MessageIcon icon = MessageIcon::Exclamation) {
    ui.showMessage(text, icon, MessageButtons::Ok);
}

// A file that grows while it is read stays at 100.
int percentRead(std::uint64_t bytesRead, std::uint64_t length) {
    if (bytesRead >= length) return 100;
    return static_cast<int>(bytesRead * 100 / length);
}

// The front end shows the share read whenever it grew.
class PercentShown {
public:
    explicit PercentShown(ConversionProgress &progress) : progress_(progress) { progress_.showPercent(0); }
    void update(int percent) {
        if (percent <= shown_) return;
        shown_ = percent;
        progress_.showPercent(percent);
    }

private:
    ConversionProgress &progress_;
    int shown_ = 0;
};

} // namespace

std::string convertingFileText(int percent) {
    std::string text = resourceString(message::kConvertingFile);
    if (const std::size_t number = text.find("%d"); number != std::string::npos)
        text.replace(number, 2, std::to_string(percent));
    if (const std::size_t sign = text.find("%%"); sign != std::string::npos) text.erase(sign, 1);
    return text;
}

ConversionOutcome runConversion(const std::string &sourcePath, Conversion &conversion, UserInterface &ui,
                                ConversionProgress &progress) {
    std::optional<ConversionSource> source = ConversionSource::open(sourcePath);
    if (!source) {
        tell(ui, messageNaming(message::kCannotOpenFile, sourcePath));
        return ConversionOutcome::Refused;
    }
    if (!conversion.createTarget()) return ConversionOutcome::Refused;
    std::unique_ptr<char[]> chunk(new (std::nothrow) char[kChunkSize]);
    if (!chunk) {
        conversion.closeTarget();
        tell(ui, resourceString(message::kLowOnMemory));
        return ConversionOutcome::Refused;
    }

    progress.begin();
    PercentShown percent(progress);
    ConversionFlow flow = ConversionFlow::Continue;
    bool aborted = false;
    bool unreadable = false;
    for (;;) {
        const std::optional<std::size_t> got = source->read(chunk.get(), kChunkSize);
        if (!got) {
            unreadable = true;
            break;
        }
        // A refused source was already told about: the share stays as it
        // was, so that nothing is drawn below the message.
        if (*got == 0) {
            flow = conversion.finish();
            if (flow != ConversionFlow::Stopped) percent.update(100);
            break;
        }
        flow = conversion.convert({chunk.get(), *got});
        if (flow == ConversionFlow::Stopped) break;
        percent.update(percentRead(source->bytesRead(), source->length()));
        if (flow != ConversionFlow::Continue) break;
        if (progress.abortRequested()) {
            aborted = true;
            break;
        }
    }
    const bool stored = conversion.closeTarget();
    source.reset();
    progress.end();

    if (aborted) return ConversionOutcome::Aborted;
    if (unreadable) {
        tell(ui, messageNaming(message::kCannotOpenFile, sourcePath));
        return ConversionOutcome::Refused;
    }
    if (flow == ConversionFlow::Stopped) return ConversionOutcome::Refused;
    if (flow == ConversionFlow::WriteFailed || !stored) {
        tell(ui, resourceString(message::kUnableToWriteDataFile));
        return ConversionOutcome::WriteFailed;
    }
    tell(ui, resourceString(message::kConversionComplete), MessageIcon::Information);
    return ConversionOutcome::Complete;
}

} // namespace korvel
