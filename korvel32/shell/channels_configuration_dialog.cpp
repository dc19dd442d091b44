#include "shell/channels_configuration_dialog.h"

#include "setup/dialog_text_limits.h"
#include "shell/alarms_configuration_dialog.h"
#include "shell/computed_function_dialog.h"
#include "shell/function_selection_dialog.h"
#include "shell/mxb_configuration_dialog.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

namespace korvel {

namespace {

constexpr int kLineCharacters = 40;

// A list as tall as its lines, so that every channel shows without scrolling.
QListWidget *channelList(int lines, QWidget *parent) {
    auto *list = new QListWidget(parent);
    list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    const QFontMetrics metrics = list->fontMetrics();
    const int frame = 2 * list->frameWidth();
    list->setMinimumSize(metrics.averageCharWidth() * kLineCharacters + frame, metrics.lineSpacing() * lines + frame);
    return list;
}

// Channel numbers of a list whose first row is channel first.
std::vector<int> channelsOf(const std::vector<int> &rows, int first) {
    std::vector<int> channels;
    for (const int row : rows) channels.push_back(row + first);
    return channels;
}

std::vector<int> rowsOf(const std::vector<int> &channels, int first, int last) {
    std::vector<int> rows;
    for (const int channel : channels) {
        if (channel >= first && channel <= last) rows.push_back(channel - first);
    }
    return rows;
}

} // namespace

ChannelsConfigurationDialog::ChannelsConfigurationDialog(ChannelsConfigurationModel model, InstrumentLink &link,
                                                         UserInterface &ui, QWidget *parent)
        : ModelDialog(ui, parent), model_(std::move(model)), link_(link), analog_(channelList(kAnalogChannels, this)),
          computed_(channelList(kChannelCount - kAnalogChannels, this)),
          label_(limitedField(text_limit::kChannelLabel, this)),
          applyLabel_(commandButton(QStringLiteral("Apply &Label"))),
          function_(commandButton(QStringLiteral("&Function..."))), mxb_(commandButton(QStringLiteral("&Mx+B..."))),
          alarms_(commandButton(QStringLiteral("&Alarms..."))) {
    setWindowTitle(qText(model_.caption()));
    fillList(*analog_, model_.analogLines());
    fillList(*computed_, model_.computedLines());
    auto *analogLabel = new QLabel(QStringLiteral("Analo&g Channels:"), this);
    auto *computedLabel = new QLabel(QStringLiteral("C&omputed Channels:"), this);
    auto *labelCaption = new QLabel(QStringLiteral("Channel La&bel:"), this);
    analogLabel->setBuddy(analog_);
    computedLabel->setBuddy(computed_);
    labelCaption->setBuddy(label_);

    auto *grid = new QGridLayout;
    grid->addWidget(analogLabel, 0, 0);
    grid->addWidget(analog_, 1, 0, 2, 1);
    grid->addWidget(computedLabel, 0, 1);
    grid->addWidget(computed_, 1, 1);
    auto *label = new QHBoxLayout;
    label->addWidget(labelCaption);
    label->addWidget(label_, 1);
    label->addWidget(applyLabel_);
    auto *lowerDialogs = new QHBoxLayout;
    for (QPushButton *button : {function_, mxb_, alarms_}) lowerDialogs->addWidget(button);
    auto *side = new QVBoxLayout;
    side->addLayout(label);
    side->addLayout(lowerDialogs);
    side->addStretch();
    grid->addLayout(side, 2, 1);
    controls_.bind(ChannelsControl::AnalogChannels, {analog_});
    controls_.bind(ChannelsControl::ComputedChannels, {computed_});
    controls_.bind(ChannelsControl::Label, {label_, labelCaption});
    controls_.bind(ChannelsControl::ApplyLabel, {applyLabel_});
    controls_.bind(ChannelsControl::Function, {function_});
    controls_.bind(ChannelsControl::Mxb, {mxb_});
    controls_.bind(ChannelsControl::Alarms, {alarms_});
    layOut(grid);

    bindSelection(analog_, [this](std::vector<int> rows) { model_.selectAnalog(channelsOf(rows, 1)); });
    bindSelection(computed_,
                  [this](std::vector<int> rows) { model_.selectComputed(channelsOf(rows, kFirstComputedChannel)); });
    bindText(label_, [this](std::string text) { model_.setLabelText(std::move(text)); });
    bindClick(applyLabel_, [this] { model_.applyLabel(); });
    bindClick(function_, [this] { chooseFunction(); });
    bindClick(mxb_, [this] { scale(); });
    bindClick(alarms_, [this] { setAlarms(); });
    // A double click on a channel is the quick way to its function.
    for (QListWidget *list : {analog_, computed_}) {
        connect(list, &QListWidget::itemDoubleClicked, function_, &QPushButton::click);
    }
    refresh();
    if (QListWidget *first = model_.computedSelected() ? computed_ : analog_; first->currentItem() != nullptr)
        first->scrollToItem(first->currentItem());
}

QPushButton &ChannelsConfigurationDialog::button(ChannelsControl control) const {
    return *qobject_cast<QPushButton *>(controls_.widget(control));
}

void ChannelsConfigurationDialog::showModel() {
    rewriteLines(*analog_, model_.analogLines());
    rewriteLines(*computed_, model_.computedLines());
    const std::vector<int> &selection = model_.selection();
    showRows(*analog_, rowsOf(selection, 1, kAnalogChannels));
    showRows(*computed_, rowsOf(selection, kFirstComputedChannel, kChannelCount));
    // The current line follows a selection made elsewhere, and stays put
    // while the user extends one.
    if (!selection.empty()) {
        QListWidget &list = model_.computedSelected() ? *computed_ : *analog_;
        const int first = model_.computedSelected() ? kFirstComputedChannel : 1;
        if (list.currentItem() == nullptr || !list.currentItem()->isSelected())
            list.setCurrentRow(selection.front() - first, QItemSelectionModel::NoUpdate);
    }
    showText(*label_, model_.labelText());
    controls_.showEnabled(model_);
}

void ChannelsConfigurationDialog::chooseFunction() {
    if (model_.computedSelected()) {
        ComputedFunctionDialog dialog(model_.computedFunction(), link_, ui(), this);
        if (dialog.exec() != QDialog::Accepted) return;
        if (const auto refused = model_.applyComputed(dialog.model().definition())) refuseComputed(*refused);
        return;
    }
    FunctionSelectionDialog dialog(model_.functionSelection(), ui(), this);
    if (dialog.exec() != QDialog::Accepted) return;
    if (const auto refused = model_.applyFunction(dialog.model().result())) {
        refresh(); // the other channels took the function
        showRefused(*refused, controls_);
    }
}

void ChannelsConfigurationDialog::scale() {
    MxbConfigurationDialog dialog(model_.mxbConfiguration(), ui(), this);
    if (dialog.exec() == QDialog::Accepted) model_.applyMxb(dialog.model());
}

void ChannelsConfigurationDialog::setAlarms() {
    AlarmsConfigurationDialog dialog(model_.alarmsConfiguration(), ui(), this);
    if (dialog.exec() == QDialog::Accepted) model_.applyAlarms(dialog.model());
}

void ChannelsConfigurationDialog::tryAccept() {
    if (const auto refused = model_.accept()) {
        refuseComputed(*refused);
        return;
    }
    accept();
}

void ChannelsConfigurationDialog::refuseComputed(const ComputedChannelRefusal &refusal) {
    if (isComputedChannel(refusal.channel)) model_.selectComputed({refusal.channel});
    refresh();
    showRefused(refusal.text, computed_);
}

} // namespace korvel
