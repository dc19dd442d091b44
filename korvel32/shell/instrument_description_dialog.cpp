#include "shell/instrument_description_dialog.h"

#include "setup/dialog_text_limits.h"

#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace korvel {

namespace {

constexpr int kFieldCharacters = 60;

} // namespace

InstrumentDescriptionDialog::InstrumentDescriptionDialog(InstrumentDescriptionModel model, UserInterface &ui,
                                                         QWidget *parent)
        : ModelDialog(ui, parent), model_(std::move(model)), field_(limitedField(text_limit::kDescription, this)) {
    setWindowTitle(qText(model_.caption()));
    field_->setMinimumWidth(field_->fontMetrics().averageCharWidth() * kFieldCharacters);
    auto *label = new QLabel(QStringLiteral("&Description:"), this);
    label->setBuddy(field_);
    auto *controls = new QVBoxLayout;
    controls->addWidget(label);
    controls->addWidget(field_);
    controls->addStretch();
    layOut(controls);
    bindText(field_, [this](std::string text) { model_.setText(std::move(text)); });
    refresh();
}

void InstrumentDescriptionDialog::showModel() { showText(*field_, model_.text()); }

} // namespace korvel
