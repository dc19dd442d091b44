#include "shell/file_dialog.h"

#include <QFileDialog>

namespace korvel {

namespace {

constexpr const char *kEveryFilePattern = "*.*";

} // namespace

QStringList fileDialogFilters(const std::string &filter) {
    QStringList filters;
    for (const FileFilterEntry &entry : fileFilterEntries(filter)) {
        QString shown = QString::fromStdString(entry.description);
        // The dialog takes its patterns from the parentheses of the text.
        if (entry.pattern == kEveryFilePattern) shown.replace(QStringLiteral("(*.*)"), QStringLiteral("(*)"));
        filters.push_back(shown);
    }
    return filters;
}

std::optional<std::string> chooseFile(const FileDialogTexts &texts, const std::string &start, QWidget *parent) {
    QFileDialog dialog(parent, QString::fromStdString(texts.title), QString::fromStdString(start));
    dialog.setNameFilters(fileDialogFilters(texts.filter));
    dialog.setDefaultSuffix(QString::fromStdString(texts.defaultExtension));
    if (texts.mustExist) {
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::ExistingFile);
    } else {
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        dialog.setOption(QFileDialog::DontConfirmOverwrite, !texts.overwritePrompt);
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return dialog.selectedFiles().front().toStdString();
}

} // namespace korvel
