#include "file_dialog.h"

#include <QFileDialog>
#include <QStringList>

namespace korvel {

// "All Files (*.*)" means every file, with or without a point in its name.
QString qtFileFilter(const std::string &filter) {
    QStringList filters;
    for (const FileFilterEntry &entry : fileFilterEntries(filter)) {
        QString description = QString::fromStdString(entry.description);
        if (entry.pattern == "*.*") description.replace(QStringLiteral("(*.*)"), QStringLiteral("(*)"));
        filters << description;
    }
    return filters.join(QStringLiteral(";;"));
}

std::string askForFile(QWidget *parent, const FileDialogTexts &texts, const std::string &proposed) {
    QFileDialog dialog(parent, QString::fromStdString(texts.title), QString::fromStdString(proposed),
                       qtFileFilter(texts.filter));
    if (texts.mustExist) dialog.setFileMode(QFileDialog::ExistingFile);
    if (texts.overwritePrompt) dialog.setAcceptMode(QFileDialog::AcceptSave);
    if (!texts.defaultExtension.empty()) dialog.setDefaultSuffix(QString::fromStdString(texts.defaultExtension));
    if (dialog.exec() != QDialog::Accepted) return {};
    return dialog.selectedFiles().value(0).toStdString();
}

} // namespace korvel
