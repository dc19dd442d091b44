#include "shell/deadband_values_dialog.h"

#include "setup/dialog_text_limits.h"

#include <algorithm>

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace korvel {

namespace {

constexpr int kLineCharacters = 44;
constexpr int kShownLines = 12;

} // namespace

DeadbandValuesDialog::DeadbandValuesDialog(DeadbandValuesModel model, UserInterface &ui, QWidget *parent)
        : ModelDialog(ui, parent), model_(std::move(model)), channels_(new QListWidget(this)),
          value_(limitedField(text_limit::kDeadbandValue, this)),
          apply_(commandButton(QStringLiteral("Apply &Value"))) {
    setWindowTitle(qText(model_.caption()));
    channels_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    const QFontMetrics metrics = channels_->fontMetrics();
    channels_->setMinimumSize(metrics.averageCharWidth() * kLineCharacters, metrics.lineSpacing() * kShownLines);
    fillList(*channels_, model_.lines());
    auto *listLabel = new QLabel(QStringLiteral("&Channels:"), this);
    auto *valueLabel = new QLabel(QStringLiteral("&Deadband:"), this);
    listLabel->setBuddy(channels_);
    valueLabel->setBuddy(value_);
    auto *value = new QHBoxLayout;
    value->addWidget(valueLabel);
    value->addWidget(value_, 1);
    value->addWidget(apply_);
    auto *controls = new QVBoxLayout;
    controls->addWidget(listLabel);
    controls->addWidget(channels_, 1);
    controls->addLayout(value);
    controls_.bind(DeadbandControl::Channels, {channels_, listLabel});
    controls_.bind(DeadbandControl::Value, {value_, valueLabel});
    controls_.bind(DeadbandControl::ApplyValue, {apply_});
    layOut(controls);

    bindSelection(channels_, [this](std::vector<int> rows) {
        const std::vector<int> listed = model_.channels();
        std::vector<int> selected;
        for (const int row : rows) selected.push_back(listed[static_cast<std::size_t>(row)]);
        model_.select(std::move(selected));
    });
    bindText(value_, [this](std::string text) { model_.setValueText(std::move(text)); });
    connect(apply_, &QPushButton::clicked, this, [this] {
        if (const auto refused = model_.applyValue()) {
            showRefused(*refused, controls_);
        } else {
            refresh();
        }
    });
    refresh();
}

void DeadbandValuesDialog::showModel() {
    rewriteLines(*channels_, model_.lines());
    const std::vector<int> listed = model_.channels();
    std::vector<int> rows;
    for (const int channel : model_.selection()) {
        rows.push_back(static_cast<int>(std::find(listed.begin(), listed.end(), channel) - listed.begin()));
    }
    showRows(*channels_, rows);
    showText(*value_, model_.valueText());
    controls_.showEnabled(model_);
}

} // namespace korvel
