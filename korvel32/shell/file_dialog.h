// The system's file dialogs shown with Qt: the title, the filter ("ASCII
// Files (*.CSV)|*.csv|All Files (*.*)|*.*||" as the texts write it), the
// default extension, and an open dialog's file that must exist or a save
// dialog's question before a file is replaced.
#pragma once

#include "setup/file_dialogs.h"

#include <QString>

#include <string>

class QWidget;

namespace korvel {

// The filters as Qt takes them.
QString qtFileFilter(const std::string &filter);

// The file chosen, or an empty text when the dialog was cancelled.
std::string askForFile(QWidget *parent, const FileDialogTexts &texts, const std::string &proposed);

} // namespace korvel
