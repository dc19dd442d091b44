// "Copy Channels": the instruments the selected instrument's channel
// definitions are copied onto.
#pragma once

#include "setup/copy_channels.h"
#include "setup/instrument_identity.h"
#include "shell/model_dialog.h"

namespace korvel {

class CopyChannelsDialog : public ModelDialog {
    Q_OBJECT
public:
    CopyChannelsDialog(InstrumentTable &table, int sourceSlot, const InstrumentIdentity &source, SlotLogging logging,
                       UserInterface &ui, QWidget *parent);

    QListWidget &targetList() const { return *targets_; }
    // After OK: the instruments whose channels changed.
    const std::vector<int> &changedSlots() const { return changed_; }

private:
    void showModel() override {}
    void tryAccept() override;

    InstrumentTable &table_;
    int sourceSlot_;
    SlotLogging logging_;
    std::vector<CopyTarget> listed_;
    QListWidget *targets_;
    std::vector<int> changed_;
};

} // namespace korvel
