#include "setup/toolbox_queue_size.h"

namespace korvel {

bool acceptableToolboxQueueSize(std::uint32_t bytes) {
    return bytes == 0 || (bytes >= kToolboxQueueMinimum && bytes <= kToolboxQueueMaximum);
}

} // namespace korvel
