// The historian calls every writer of a data set makes alike, logging and
// conversion: adding a tag, with the messages of its failures, and storing
// what is queued while the windows go on.
#pragma once

#include "datafiles/trend_link_interface.h"
#include "datafiles/trend_link_tags.h"

#include <tbase32.h>

namespace korvel {

// Adds the tag to the data set of instrument bcn; false, after telling the
// user (1391 when the disk is full, else 1386), when it cannot be added.
bool tagAdded(TrendLinkInterface &trendLink, TBaseDataSet dataSet, const TrendLinkTag &tag, unsigned bcn);

enum class StoreUntil {
    Stored,     // everything queued is on disk
    RolledOver, // the rollover asked for is complete
};

// Calls the historian's write processing until it is done, letting the
// windows repaint meanwhile; false when it failed.
bool storeQueuedValues(TrendLinkInterface &trendLink, TBaseDataSet dataSet, StoreUntil until);

} // namespace korvel
