#include "shell/copy_channels_dialog.h"

#include <QLabel>
#include <QListWidget>
#include <QVBoxLayout>

namespace korvel {

namespace {

constexpr int kShownLines = 10;
constexpr int kLineCharacters = 24;

} // namespace

CopyChannelsDialog::CopyChannelsDialog(InstrumentTable &table, int sourceSlot, const InstrumentIdentity &source,
                                       SlotLogging logging, UserInterface &ui, QWidget *parent)
        : ModelDialog(ui, parent), table_(table), sourceSlot_(sourceSlot), logging_(std::move(logging)),
          listed_(copyTargets(table, sourceSlot)), targets_(new QListWidget(this)) {
    setWindowTitle(qText(instrumentCaption("Copy Channels", source)));
    targets_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    const QFontMetrics metrics = targets_->fontMetrics();
    targets_->setMinimumSize(metrics.averageCharWidth() * kLineCharacters, metrics.lineSpacing() * kShownLines);
    for (const CopyTarget &target : listed_) targets_->addItem(qText(target.text));
    if (targets_->count() > 0) targets_->setCurrentRow(0);
    auto *label = new QLabel(QStringLiteral("&Copy channels to:"), this);
    label->setBuddy(targets_);
    auto *controls = new QVBoxLayout;
    controls->addWidget(label);
    controls->addWidget(targets_, 1);
    controls->addWidget(new QLabel(QStringLiteral("Use <Ctrl> + Click to select multiple instruments"), this));
    layOut(controls);
}

void CopyChannelsDialog::tryAccept() {
    std::vector<int> chosen;
    for (int row = 0; row < targets_->count(); ++row) {
        if (targets_->item(row)->isSelected()) chosen.push_back(listed_[static_cast<std::size_t>(row)].slot);
    }
    const CopyResult result = copyChannels(table_, sourceSlot_, chosen, logging_, ui());
    switch (result.outcome) {
        case CopyOutcome::Cancelled: reject(); break;
        case CopyOutcome::KeepOpen: break;
        case CopyOutcome::Copied:
            changed_ = result.changedSlots;
            accept();
            break;
    }
}

} // namespace korvel
