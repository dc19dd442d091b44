#include "file_conversion_command.h"

#include "main_window_input.h"
#include "platform/user_interface.h"

#include <QCoreApplication>
#include <QMainWindow>

#include <utility>

namespace korvel {
namespace {

class WindowConversionProgress final : public ConversionProgress {
public:
    WindowConversionProgress(QMainWindow &window, UserInterface &ui) : window_(window), ui_(ui) {}

    void begin() override { setMainWindowInputEnabled(window_, false); }
    void showPercent(int percent) override { ui_.showProgress(convertingFileText(percent)); }

    // The progress window's Abort and everything else waiting, the logging
    // timer's ticks included.
    bool abortRequested() override {
        QCoreApplication::processEvents();
        return ui_.abortRequested();
    }

    void end() override {
        ui_.hideProgress();
        setMainWindowInputEnabled(window_, true);
    }

private:
    QMainWindow &window_;
    UserInterface &ui_;
};

} // namespace

FileConversionCommand::FileConversionCommand(QMainWindow &window, const ConversionContext &context, FileChooser chooser)
        : window_(window), context_(context), chooser_(std::move(chooser)) {}

// The dialog steps aside while the file converts, so that, modal as it is,
// it leaves the progress window's Abort within reach.
void FileConversionCommand::run(ConversionKind kind) {
    ConversionDialogModel model(kind);
    ConversionDialog dialog(model, chooser_, &window_);
    while (dialog.exec() == QDialog::Accepted) convert(kind, model.files());
}

ConversionOutcome FileConversionCommand::convert(ConversionKind kind, const ConversionFiles &files) {
    WindowConversionProgress progress(window_, context_.ui);
    return convertFile(kind, files, context_, progress);
}

} // namespace korvel
