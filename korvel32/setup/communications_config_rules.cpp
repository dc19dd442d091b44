#include "setup/communications_config_rules.h"

#include "platform/string_table.h"
#include "setup/bcn_lookup.h"
#include "setup/ccf_list_line.h"
#include "setup/ccf_network_mode.h"
#include "setup/model_repairs.h"

#include <algorithm>
#include <utility>

namespace korvel {

CommunicationsConfigModel::CommunicationsConfigModel(CcfEditingTarget target) : target_(std::move(target)) {}

bool CommunicationsConfigModel::open() {
    const int mode = readOrCreateNetworkMode(target_.link, target_.programDirectory);
    if (!succeeded(mode)) return false;
    isolated_ = mode != KVX_NET_GENERAL;
    const std::int32_t entries = target_.link.ccfNumEntries();
    if (!succeeded(entries)) return false;
    for (std::int32_t index = 0; index < entries; ++index) {
        CcfEntry entry;
        if (!succeeded(target_.link.ccfGetEntry(static_cast<std::uint32_t>(index), entry))) return false;
        lines_.push_back(ccfListLine(entry, !isolated_));
    }
    selected_ = lines_.empty() ? -1 : 0;
    return true;
}

bool CommunicationsConfigModel::shown(CcfControl control) const {
    switch (control) {
        case CcfControl::Isolated: return isolated_;
        case CcfControl::General:
        case CcfControl::SocketPort: return !isolated_;
        default: return true;
    }
}

bool CommunicationsConfigModel::enabled(CcfControl control) const {
    switch (control) {
        case CcfControl::Verify:
        case CcfControl::Modify:
        case CcfControl::Delete:
        case CcfControl::DeleteAll: return !lines_.empty();
        case CcfControl::SocketPort: return !isolated_;
        default: return true;
    }
}

void CommunicationsConfigModel::selectRow(int row) {
    if (row >= 0 && row < static_cast<int>(lines_.size())) selected_ = row;
}

unsigned CommunicationsConfigModel::selectedBcn() const {
    return selected_ < 0 ? 0 : bcnOfListLine(lines_[static_cast<std::size_t>(selected_)]);
}

bool CommunicationsConfigModel::succeeded(std::int32_t result) {
    if (result >= 0) return true;
    showError(target_.ui, message::kCcfUnreadable);
    closed_ = true;
    return false;
}

bool CommunicationsConfigModel::confirmed(int messageId) { return askedYes(target_.ui, resourceString(messageId)); }

void CommunicationsConfigModel::remember(const CcfEntry &entry) {
    lastModel_ = entry.model;
    if (isolated_) return;
    lastAddress_ = entry.address;
    lastAddress_[3] = 0;
}

void CommunicationsConfigModel::add(const EntryEditor &edit) {
    CcfEntry proposed;
    proposed.bcn = 1;
    proposed.model = lastModel_;
    proposed.address = lastAddress_;
    InstrumentOnNetworkModel entryModel(target_.link, {isolated_, true, proposed});
    if (!edit(entryModel)) {
        closed_ = entryModel.fileFailed();
        return;
    }
    const CcfEntry &entry = entryModel.entry();
    remember(entry);
    if (!succeeded(target_.link.ccfSetBcn(entry))) return;
    lines_.push_back(ccfListLine(entry, !isolated_));
    selected_ = static_cast<int>(lines_.size()) - 1;
}

// The file changes before the setup does, so that a change the library
// refuses leaves the icon as the file still has it.
void CommunicationsConfigModel::modify(const EntryEditor &edit) {
    const unsigned bcn = selectedBcn();
    if (bcn == 0) return;
    CcfEntry original;
    const std::int32_t found = target_.link.ccfGetBcn(static_cast<std::int32_t>(bcn), original);
    if (!succeeded(found == 0 ? KVX_E_BCN_NOT_CONFIGURED : found)) return;
    InstrumentOnNetworkModel entryModel(target_.link, {isolated_, false, original});
    if (!edit(entryModel)) {
        closed_ = entryModel.fileFailed();
        return;
    }
    const CcfEntry &entry = entryModel.entry();
    const bool bcnChanged = entry.bcn != original.bcn;
    const bool modelChanged = entry.model != original.model;
    const int slot = target_.table.find(bcn);
    if (slot != 0) {
        if (bcnChanged && !confirmed(message::kIconTakesNewBcn)) return;
        if (modelChanged && !confirmed(message::kIconTakesNewModel)) return;
    }
    if (bcnChanged) {
        if (!succeeded(target_.link.ccfChangeBcn(original.bcn, entry.bcn))) return;
        if (slot != 0) {
            target_.table.changeBcn(slot, static_cast<unsigned>(entry.bcn));
            target_.document.setModified(true);
        }
    }
    remember(entry);
    if (!succeeded(target_.link.ccfSetBcn(entry))) return;
    if (slot != 0 && modelChanged) giveModel(slot, entry.model);
    lines_[static_cast<std::size_t>(selected_)] = ccfListLine(entry, !isolated_);
}

void CommunicationsConfigModel::giveModel(int slot, std::int32_t ccfModel) {
    InstrumentSlot &icon = target_.table.slot(slot);
    icon.model = modelFromCcfCode(ccfModel);
    for (int number = 1; number <= kAnalogChannels; ++number) repairForModel(icon.setup->channel(number), icon.model);
    target_.document.setModified(true);
    target_.ui.notify(ChildWindow::QuickPlot, quick_plot::kConfigurationChanged, slot, 0);
}

void CommunicationsConfigModel::deleteSelected() {
    const unsigned bcn = selectedBcn();
    if (bcn == 0) return;
    if (const int slot = target_.table.find(bcn); slot != 0) {
        target_.host.deleteInstrumentIcon(slot);
        if (target_.table.find(bcn) != 0) return;
    } else if (!confirmed(message::kConfirmDelete)) {
        return;
    }
    if (!succeeded(target_.link.ccfDelBcn(static_cast<std::int32_t>(bcn)))) return;
    lines_.erase(lines_.begin() + selected_);
    selected_ = lines_.empty() ? -1 : std::max(selected_ - 1, 0);
}

// The file is emptied before the icons go, so that a refusal keeps both.
void CommunicationsConfigModel::deleteAll() {
    const bool icons = target_.table.count() > 0;
    if (!confirmed(icons ? message::kIconsWillBeLost : message::kConfirmDeleteAll)) return;
    if (!succeeded(target_.link.ccfDelAll())) return;
    if (icons) {
        target_.table.removeAll();
        target_.document.setModified(true);
    }
    lines_.clear();
    selected_ = -1;
}

void CommunicationsConfigModel::editSocketPort(const SocketPortEditor &edit) {
    const std::int32_t port = target_.link.ccfGetTcpPort();
    if (!succeeded(port)) return;
    SocketPortModel portModel(port);
    if (!edit(portModel)) return;
    succeeded(target_.link.ccfSetTcpPort(portModel.port()));
}

void CommunicationsConfigModel::verify() {
    const unsigned bcn = selectedBcn();
    if (bcn == 0) return;
    BusyCursor busy(target_.ui);
    target_.host.verifyInstrument(bcn);
}

} // namespace korvel
