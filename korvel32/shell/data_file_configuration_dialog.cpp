#include "shell/data_file_configuration_dialog.h"

#include "datafiles/trend_link_names.h"

#include "setup/dialog_text_limits.h"
#include "shell/auto_rollover_dialog.h"
#include "shell/batch_options_dialog.h"
#include "shell/deadband_values_dialog.h"
#include "shell/file_dialog.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace korvel {

namespace {

constexpr int kPathCharacters = 48;

} // namespace

DataFileConfigurationDialog::DataFileConfigurationDialog(DataFileConfigurationModel model, UserInterface &ui,
                                                         QWidget *parent)
        : ModelDialog(ui, parent), model_(std::move(model)), format_(new QComboBox(this)),
          path_(limitedField(text_limit::kDataFilePath, this)),
          selectFile_(commandButton(QStringLiteral("&Select Data File..."))),
          comment_(limitedField(text_limit::kDataFileComment, this)),
          append_(new QRadioButton(QStringLiteral("A&ppend"), this)),
          overwrite_(new QRadioButton(QStringLiteral("O&verwrite"), this)),
          rollover_(commandButton(QStringLiteral("Auto &Rollover..."))),
          deadband_(commandButton(QStringLiteral("&Deadband Values..."))),
          batches_(commandButton(QStringLiteral("&Batch Options..."))) {
    // Two instruments logging into one Trend Link data set would mix their tags.
    model_.setTrendLinkDataSetOf(trendLinkDataSetOf);
    setWindowTitle(qText(model_.caption()));
    fillList(*format_, DataFileConfigurationModel::formatItems());
    path_->setMinimumWidth(path_->fontMetrics().averageCharWidth() * kPathCharacters);
    auto *modes = new QButtonGroup(this);
    modes->addButton(append_);
    modes->addButton(overwrite_);

    auto *form = new QFormLayout;
    const auto row = [this, form](const char *text, QWidget *buddy, QLayout *fields) {
        auto *label = new QLabel(QString::fromUtf8(text), this);
        label->setBuddy(buddy);
        form->addRow(label, fields);
        return label;
    };
    const auto line = [](std::initializer_list<QWidget *> widgets) {
        auto *layout = new QHBoxLayout;
        for (QWidget *widget : widgets) layout->addWidget(widget);
        layout->addStretch();
        return layout;
    };
    auto *pathRow = new QHBoxLayout;
    pathRow->addWidget(path_, 1);
    pathRow->addWidget(selectFile_);
    QLabel *formatLabel = row("File &Format:", format_, line({format_}));
    QLabel *pathLabel = row("File &Name:", path_, pathRow);
    QLabel *commentLabel = row("&Comment:", comment_, line({comment_}));
    QLabel *modeLabel = row("File &Mode:", append_, line({append_, overwrite_}));
    comment_->setMinimumWidth(path_->minimumWidth());
    using enum DataFileControl;
    controls_.bind(Format, {format_, formatLabel});
    controls_.bind(Path, {path_, pathLabel});
    controls_.bind(SelectFile, {selectFile_});
    controls_.bind(Comment, {comment_, commentLabel});
    controls_.bind(Append, {append_, modeLabel});
    controls_.bind(Overwrite, {overwrite_});
    auto *lowerDialogs = new QHBoxLayout;
    for (QPushButton *button : {rollover_, deadband_, batches_}) lowerDialogs->addWidget(button);
    lowerDialogs->addStretch();
    controls_.bind(AutoRollover, {rollover_});
    controls_.bind(Deadband, {deadband_});
    controls_.bind(BatchOptions, {batches_});
    auto *controls = new QVBoxLayout;
    controls->addLayout(form);
    controls->addLayout(lowerDialogs);
    controls->addStretch();
    layOut(controls);
    controls_.bind(Ok, {okButton()});

    bindIndex(format_, [this](int index) { model_.chooseFormat(index); });
    bindText(path_, [this](std::string text) { model_.setPath(std::move(text)); });
    bindClick(selectFile_, [this] { selectFile(); });
    bindText(comment_, [this](std::string text) { model_.setComment(std::move(text)); });
    bindChoice(append_, [this] { model_.setOverwrite(false); });
    bindChoice(overwrite_, [this] { model_.setOverwrite(true); });
    bindClick(rollover_, [this] { editRollover(); });
    bindClick(deadband_, [this] { editDeadbands(); });
    bindClick(batches_, [this] { editBatches(); });
    refresh();
}

void DataFileConfigurationDialog::showModel() {
    format_->setCurrentIndex(model_.formatIndex());
    showText(*path_, model_.path());
    showText(*comment_, model_.comment());
    (model_.overwrite() ? overwrite_ : append_)->setChecked(true);
    controls_.showEnabled(model_);
}

void DataFileConfigurationDialog::selectFile() {
    if (const auto chosen = chooseFile(model_.selectFileDialog(), model_.path(), this)) model_.setPath(*chosen);
}

void DataFileConfigurationDialog::editDeadbands() {
    DeadbandValuesDialog dialog(model_.deadband(), ui(), this);
    if (dialog.exec() == QDialog::Accepted) model_.acceptDeadband(dialog.model());
}

void DataFileConfigurationDialog::editRollover() {
    AutoRolloverDialog dialog(model_.autoRollover(), ui(), this);
    if (dialog.exec() == QDialog::Accepted) model_.acceptAutoRollover(dialog.model());
}

void DataFileConfigurationDialog::editBatches() {
    BatchOptionsDialog dialog(model_.batchOptions(), ui(), this);
    if (dialog.exec() == QDialog::Accepted) model_.acceptBatchOptions(dialog.model());
}

void DataFileConfigurationDialog::reject() {
    if (model_.mayCancel(ui())) QDialog::reject();
}

} // namespace korvel
