// The dialog of a Utilities conversion: the source and target files ("None"
// until chosen), a button to choose each, Convert once both are chosen, and
// Close. Convert ends the dialog accepted; the command converts and shows the
// dialog again.
#pragma once

#include "app/conversion_dialog_model.h"

#include <QDialog>

#include <functional>
#include <string>

class QLabel;
class QPushButton;

namespace korvel {

// Shows a file dialog over parent; the file chosen, or an empty text when
// cancelled.
using FileChooser =
    std::function<std::string(QWidget *parent, const FileDialogTexts &texts, const std::string &proposed)>;

class ConversionDialog : public QDialog {
    Q_OBJECT

public:
    ConversionDialog(ConversionDialogModel &model, FileChooser chooser, QWidget *parent = nullptr);

    QPushButton &sourceButton() { return *sourceButton_; }
    QPushButton &targetButton() { return *targetButton_; }
    QPushButton &convertButton() { return *convertButton_; }
    QPushButton &closeButton() { return *closeButton_; }
    QString sourceText() const;
    QString targetText() const;

private:
    void chooseSource();
    void chooseTarget();
    void refresh();

    ConversionDialogModel &model_;
    FileChooser chooser_;
    QLabel *source_;
    QLabel *target_;
    QPushButton *sourceButton_;
    QPushButton *targetButton_;
    QPushButton *convertButton_;
    QPushButton *closeButton_;
};

} // namespace korvel
