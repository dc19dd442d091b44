// The file dialogs of the configuration commands, made from their texts:
// title, filters, default extension, and whether the file must exist or is
// asked about before it is replaced.
#pragma once

#include "setup/file_dialogs.h"

#include <QStringList>

#include <optional>
#include <string>

class QFileDialog;
class QWidget;

namespace korvel {

// The filters as the file dialog takes them. "*.*" means every file, as it
// does where the filter texts come from.
QStringList fileDialogFilters(const std::string &filter);

// The chosen file, starting at start (a file or a directory); none when the
// dialog is cancelled.
std::optional<std::string> chooseFile(const FileDialogTexts &texts, const std::string &start, QWidget *parent);

} // namespace korvel
