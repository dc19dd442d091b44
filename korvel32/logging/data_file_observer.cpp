#include "logging/data_file_observer.h"

#include "datafiles/slot_data_files.h"
#include "logging/remote_commands.h"

namespace korvel {

bool DataFileObserver::closeDataFile(int slot) { return files_.close(slot); }

bool DataFileObserver::remoteMode() const { return remote_.remoteMode(); }

} // namespace korvel
