#include "shell/computed_function_dialog.h"

#include "setup/dialog_text_limits.h"

#include <algorithm>

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>

namespace korvel {

namespace {

constexpr int kEquationCharacters = 60;

// List row i is channel i + 1.
std::vector<int> rowsOf(const ComputedFunctionModel &model) {
    std::vector<int> rows;
    for (int channel = 1; channel <= kChannelCount; ++channel) {
        if (model.averaged(channel)) rows.push_back(channel - 1);
    }
    return rows;
}

} // namespace

ComputedFunctionDialog::ComputedFunctionDialog(ComputedFunctionModel model, InstrumentLink &link, UserInterface &ui,
                                               QWidget *parent)
        : ModelDialog(ui, parent), model_(std::move(model)), link_(link), functions_(new QListWidget(this)),
          channelA_(new QComboBox(this)), channelB_(new QComboBox(this)), groupAverage_(new QListWidget(this)),
          equation_(limitedField(text_limit::kEquation, this)),
          unitsLabel_(limitedField(text_limit::kUnitsLabel, this)) {
    setWindowTitle(qText(model_.caption()));
    fillList(*functions_, model_.functionItems());
    fillList(*channelA_, model_.channelItems());
    fillList(*channelB_, model_.channelItems());
    fillList(*groupAverage_, model_.channelItems());
    groupAverage_->setSelectionMode(QAbstractItemView::MultiSelection);
    equation_->setMinimumWidth(equation_->fontMetrics().averageCharWidth() * kEquationCharacters);

    auto *grid = new QGridLayout;
    const auto label = [this](const char *text, QWidget *buddy) {
        auto *shown = new QLabel(QString::fromUtf8(text), this);
        shown->setBuddy(buddy);
        return shown;
    };
    QLabel *functionLabel = label("&Function:", functions_);
    QLabel *aLabel = label("Chan &A:", channelA_);
    QLabel *bLabel = label("Chan &B:", channelB_);
    QLabel *averageLabel = label("&Group Average:", groupAverage_);
    QLabel *equationLabel = label("&Equation:", equation_);
    QLabel *unitsLabel = label("&Units Label:", unitsLabel_);
    grid->addWidget(functionLabel, 0, 0);
    grid->addWidget(functions_, 1, 0, 4, 1);
    grid->addWidget(aLabel, 0, 1);
    grid->addWidget(channelA_, 1, 1);
    grid->addWidget(bLabel, 2, 1);
    grid->addWidget(channelB_, 3, 1);
    grid->addWidget(averageLabel, 0, 2);
    grid->addWidget(groupAverage_, 1, 2, 4, 1);
    grid->setRowStretch(4, 1);
    grid->addWidget(equationLabel, 5, 0, 1, 3);
    grid->addWidget(equation_, 6, 0, 1, 3);
    auto *units = new QHBoxLayout;
    units->addWidget(unitsLabel);
    units->addWidget(unitsLabel_);
    units->addStretch();
    grid->addLayout(units, 7, 0, 1, 3);
    controls_.bind(ComputedFunctionControl::Function, {functions_, functionLabel});
    controls_.bind(ComputedFunctionControl::ChannelA, {channelA_, aLabel});
    controls_.bind(ComputedFunctionControl::ChannelB, {channelB_, bLabel});
    controls_.bind(ComputedFunctionControl::GroupAverage, {groupAverage_, averageLabel});
    controls_.bind(ComputedFunctionControl::Equation, {equation_, equationLabel});
    controls_.bind(ComputedFunctionControl::UnitsLabel, {unitsLabel_, unitsLabel});
    layOut(grid);

    bindSelection(functions_, [this](std::vector<int> rows) {
        if (!rows.empty()) model_.chooseFunction(rows.front());
    });
    bindIndex(channelA_, [this](int row) { model_.chooseChannelA(row + 1); });
    bindIndex(channelB_, [this](int row) { model_.chooseChannelB(row + 1); });
    bindSelection(groupAverage_, [this](std::vector<int> rows) {
        for (int channel = 1; channel <= kChannelCount; ++channel) {
            model_.setAveraged(channel, std::find(rows.begin(), rows.end(), channel - 1) != rows.end());
        }
    });
    bindText(equation_, [this](std::string text) { model_.setEquation(std::move(text)); });
    bindText(unitsLabel_, [this](std::string text) { model_.setUnitsLabel(std::move(text)); });
    refresh();
}

void ComputedFunctionDialog::showModel() {
    showRow(*functions_, model_.functionIndex());
    channelA_->setCurrentIndex(model_.channelA() - 1);
    channelB_->setCurrentIndex(model_.channelB() - 1);
    showRows(*groupAverage_, rowsOf(model_));
    showText(*equation_, model_.equation());
    showText(*unitsLabel_, model_.unitsLabel());
    controls_.showEnabled(model_);
}

// A refused equation keeps its text as typed, with the caret where the
// compiler stopped.
void ComputedFunctionDialog::tryAccept() {
    const auto refused = model_.accept(link_);
    if (!refused) {
        accept();
        return;
    }
    const bool equation = refused->focus == ComputedChannelField::Equation;
    showRefused(refused->text, equation ? static_cast<QWidget *>(equation_) : groupAverage_);
    if (equation) {
        showText(*equation_, model_.equation());
        equation_->deselect();
        equation_->setCursorPosition(refused->caret);
    }
}

} // namespace korvel
