// "Data File Configuration": the format, path, comment and mode of the
// instrument's data file, and the lower dialogs for its deadbands, rollover
// and batches.
#pragma once

#include "setup/data_file_rules.h"
#include "shell/model_dialog.h"

class QRadioButton;

namespace korvel {

class DataFileConfigurationDialog : public ModelDialog {
    Q_OBJECT
public:
    DataFileConfigurationDialog(DataFileConfigurationModel model, UserInterface &ui, QWidget *parent);

    const DataFileConfigurationModel &model() const { return model_; }
    QWidget *control(DataFileControl control) const { return controls_.widget(control); }
    QComboBox &formatList() const { return *format_; }
    QLineEdit &pathField() const { return *path_; }
    QLineEdit &commentField() const { return *comment_; }
    QRadioButton &overwriteButton() const { return *overwrite_; }

    void reject() override; // asks first when a lower dialog was accepted

private:
    void showModel() override;
    void tryAccept() override { acceptUnless(model_.accept(), controls_); }
    void selectFile();
    void editDeadbands();
    void editRollover();
    void editBatches();

    DataFileConfigurationModel model_;
    ControlWidgets<DataFileControl> controls_;
    QComboBox *format_;
    QLineEdit *path_;
    QPushButton *selectFile_;
    QLineEdit *comment_;
    QRadioButton *append_;
    QRadioButton *overwrite_;
    QPushButton *rollover_;
    QPushButton *deadband_;
    QPushButton *batches_;
};

} // namespace korvel
