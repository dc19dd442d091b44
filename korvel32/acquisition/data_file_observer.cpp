#include "acquisition/data_file_observer.h"

#include "acquisition/remote_commands.h"
#include "acquisition/slot_data_files.h"

namespace korvel {

bool DataFileObserver::closeDataFile(int slot) { return files_.close(slot); }

bool DataFileObserver::remoteMode() const { return remote_.remoteMode(); }

} // namespace korvel
