// What korvel-dde does over its connection to the logger.
#pragma once

#include "dde_arguments.h"
#include "live_link.h"

namespace korvel_dde {

// Prints the topics the logger serves, one a line.
int listTopics(LiveLink &link);
// Prints the item's value.
int requestItem(LiveLink &link, const DdeCommand &command);
// Prints the items' values at every update until interrupted.
int adviseItems(LiveLink &link, const DdeCommand &command);

} // namespace korvel_dde
