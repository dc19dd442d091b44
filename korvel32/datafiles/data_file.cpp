#include "datafiles/data_file.h"

#include "datafiles/data_file_header.h"
#include "datafiles/date_time_text.h"
#include "datafiles/scan_batch.h"
#include "platform/clock.h"
#include "platform/file_exists.h"
#include "platform/string_table.h"
#include "platform/user_interface.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>

#include <fcntl.h>

namespace korvel {
namespace {

std::unique_ptr<ScanFormat> formatOf(const DataFileGroup &group, const RegionalFormats &formats) {
    if (group.owner.setup->dataFile.format == FileFormat::FastBinary) return makeBinaryScanFormat(group);
    return makeAsciiScanFormat(group, formats);
}

std::string fileNameOf(const std::string &path) { return std::filesystem::path(path).filename().string(); }

// A rolled-over copy never replaces a file that is already there.
bool renameWithoutReplacing(const std::string &from, const std::string &to) {
    return ::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0;
}

} // namespace

int dataFileOpenMessage(DataFileOpen result) {
    switch (result) {
        case DataFileOpen::Opened:
        case DataFileOpen::Reported: return 0;
        case DataFileOpen::CannotCreate: return message::kCannotCreateDataFile;
        case DataFileOpen::CannotOpen: return message::kCannotOpenDataFile;
        case DataFileOpen::NotCompatible: return message::kDataFileNotCompatible;
    }
    return 0;
}

void showDataFileOpenFailure(UserInterface &ui, unsigned bcn, DataFileOpen result) {
    const int message = dataFileOpenMessage(result);
    if (message != 0) ui.showMessage(instrumentMessage(message, bcn), MessageIcon::Exclamation, MessageButtons::Ok);
}

DataFile::DataFile(DataFileGroup group, const RegionalFormats &formats)
        : group_(std::move(group)), formats_(formats), format_(formatOf(group_, formats_)) {}

DataFileOpen DataFile::open(std::int64_t now) {
    const bool exists = fileExists(path());
    const DataFileOpen result = !exists || setup().mode == FileMode::Overwrite ? create(now) : openToAppend();
    if (result == DataFileOpen::Opened) {
        numbers_.rebuild(path());
        schedule_.start(setup().mode, now);
    }
    return result;
}

DataFileOpen DataFile::create(std::int64_t now) {
    auto created = LockedDataFile::create(path());
    if (!created) return DataFileOpen::CannotCreate;
    const std::string creation = dateTimeText(localTimeOf(now), formats_);
    const std::string header = format_->prologue() + dataFileHeader(group_, fileNameOf(path()), creation, formats_);
    if (created->appendRecords(header, header.size()) != 1) return DataFileOpen::CannotCreate;
    file_ = std::move(*created);
    return DataFileOpen::Opened;
}

DataFileOpen DataFile::openToAppend() {
    auto existing = LockedDataFile::openExisting(path());
    if (!existing) return DataFileOpen::CannotOpen;
    if (!format_->acceptsAppendTo(existing->readPrefix(ScanFormat::kAppendCheckSize)))
        return DataFileOpen::NotCompatible;
    file_ = std::move(*existing);
    return DataFileOpen::Opened;
}

bool DataFile::writeBatch(unsigned /*bcn*/, const ScanBatch &batch, DaylightStates &daylight) {
    const std::size_t count = static_cast<std::size_t>(std::max(batch.header().count, 0));
    return file_.isOpen() && format_->writeScans(file_, batch, daylight) == count;
}

bool DataFile::writeMerged(const ScanRecord &owner, std::span<const ScanRecord *const> slaves,
                           DaylightStates &daylight) {
    merged_.clear();
    format_->appendMerged(merged_, owner, slaves, daylight);
    return file_.isOpen() && file_.appendRecords(merged_, merged_.size()) == 1;
}

bool DataFile::flushIfDue(std::int64_t now) {
    if (!file_.isOpen() || now == lastFlush_) return false;
    file_.flush();
    lastFlush_ = now;
    return true;
}

std::optional<std::string> DataFile::checkRollover(std::int64_t now) {
    if (file_.isOpen() && schedule_.due(setup(), now, file_.size())) rollOver(now);
    return std::nullopt;
}

void DataFile::rollOver(std::int64_t now) {
    const auto numbered = numbers_.claim(path());
    if (!numbered) return;
    file_.close();
    if (!renameWithoutReplacing(path(), *numbered)) return;
    create(now);
}

bool DataFile::close() { return file_.close(); }

} // namespace korvel
