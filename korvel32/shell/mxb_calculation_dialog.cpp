#include "shell/mxb_calculation_dialog.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>

namespace korvel {

MxbCalculationDialog::MxbCalculationDialog(MxbCalculationModel model, UserInterface &ui, QWidget *parent)
        : ModelDialog(ui, parent), model_(std::move(model)) {
    setWindowTitle(qText(model_.caption()));
    using enum MxbCalculationControl;
    // Each field has a shortcut of its own.
    const auto group = [this](const char *title, std::pair<MxbCalculationControl, const char *> minimum,
                              std::pair<MxbCalculationControl, const char *> maximum) {
        auto *box = new QGroupBox(QString::fromUtf8(title), this);
        auto *form = new QFormLayout(box);
        for (const auto &[control, text] : {minimum, maximum}) {
            auto *field = new QLineEdit(box);
            auto *label = new QLabel(QString::fromUtf8(text), box);
            label->setBuddy(field);
            form->addRow(label, field);
            fields_[static_cast<std::size_t>(control)] = field;
            controls_.bind(control, {field});
            bindText(field, [this, control](std::string typed) { model_.setText(control, std::move(typed)); });
        }
        return box;
    };
    auto *groups = new QHBoxLayout;
    groups->addWidget(group("Input Range", {InputMinimum, "Mi&nimum:"}, {InputMaximum, "Ma&ximum:"}));
    groups->addWidget(group("Scaled Range", {ScaledMinimum, "M&inimum:"}, {ScaledMaximum, "Maxim&um:"}));
    layOut(groups);
    refresh();
}

void MxbCalculationDialog::showModel() {
    for (std::size_t index = 0; index < fields_.size(); ++index)
        showText(*fields_[index], model_.text(static_cast<MxbCalculationControl>(index)));
}

void MxbCalculationDialog::tryAccept() { acceptUnless(model_.accept(), controls_); }

} // namespace korvel
