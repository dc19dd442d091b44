#include "datafiles/trend_link_writing.h"

#include "platform/string_table.h"
#include "setup/text_format.h"

#include <chrono>
#include <thread>

namespace korvel {
namespace {

// A reader of the .NOW file holds a rollover back for a moment.
constexpr auto kRolloverPause = std::chrono::milliseconds(5);

} // namespace

bool tagAdded(TrendLinkInterface &trendLink, TBaseDataSet dataSet, const TrendLinkTag &tag, unsigned bcn) {
    TrendLinkLibrary &library = trendLink.library();
    if (library.addTag(dataSet, tag.name, tag.description, tag.units, tag.high, tag.low, tag.deadband) != nullptr)
        return true;
    if (trendLink.diskFull())
        trendLink.showMessage(filledIn(resourceString(message::kTrendLinkTagNotAdded), "%s", {tag.name}));
    else
        trendLink.showFunctionFailure(bcn, "TBaseAddTag");
    return false;
}

bool storeQueuedValues(TrendLinkInterface &trendLink, TBaseDataSet dataSet, StoreUntil until) {
    TrendLinkLibrary &library = trendLink.library();
    const bool rollover = until == StoreUntil::RolledOver;
    for (int pass = 0;; ++pass) {
        if (rollover && library.rollOverInProgress(dataSet) != 1) return true;
        if (pass > 0) {
            trendLink.ui().pumpEvents();
            std::this_thread::sleep_for(kRolloverPause);
        }
        const int result = library.writeProcessing(dataSet);
        if (result == -1) return false;
        if (!rollover && result == 0) return true;
    }
}

} // namespace korvel
