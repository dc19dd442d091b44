#include "logging/data_file_command_host.h"

#include "datafiles/slot_data_files.h"

namespace korvel {

bool DataFileCommandHost::openDataFile(int slot) {
    const DataFileOpen result = files_.open(slot, clock_.now().seconds);
    if (result == DataFileOpen::Opened) return true;
    showDataFileOpenFailure(ui_, table_.slot(slot).bcn, result);
    return false;
}

void DataFileCommandHost::closeDataFile(int slot) { files_.close(slot); }

} // namespace korvel
