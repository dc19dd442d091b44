#include "trend_link_commands.h"

#include "app/application_settings.h"
#include "datafiles/trend_link_settings.h"
#include "platform/string_table.h"

#include <trend_window_link.h>

#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace korvel {
namespace {

constexpr char kDirectoryCaption[] = "Trend Link Directory";
constexpr char kDirectoryPrompt[] = "Directory where Trend Link is installed:";
constexpr char kBrowseCaption[] = "&Browse...";

QString chooseDirectory(QWidget *parent, const QString &current) {
    return QFileDialog::getExistingDirectory(parent, QString::fromLatin1(kDirectoryCaption), current);
}

// Keeps the window disabled while it lives.
class DisabledWindow {
public:
    explicit DisabledWindow(QWidget *window) : window_(window) { window_->setEnabled(false); }
    ~DisabledWindow() { window_->setEnabled(true); }
    DisabledWindow(const DisabledWindow &) = delete;
    DisabledWindow &operator=(const DisabledWindow &) = delete;

private:
    QWidget *window_;
};

bool bringForwardOrStart(const ChartProgramStart &start) {
    const bool shown = start.windowTitle.empty()
                           ? tl32::bringAnyTrendWindowForward()
                           : tl32::bringTrendWindowForward(QString::fromStdString(start.windowTitle));
    if (shown) return true;
    QStringList arguments;
    if (!start.chartFile.empty()) arguments << QStringLiteral("-F") << QString::fromStdString(start.chartFile);
    return QProcess::startDetached(QString::fromStdString(start.program), arguments);
}

} // namespace

void connectTrendLinkToWindows(TrendLinkInterface &trendLink, QWidget *parent) {
    trendLink.setDirectoryChooser([parent](const std::string &current) -> std::optional<std::string> {
        const QString chosen = chooseDirectory(parent, QString::fromStdString(current));
        if (chosen.isEmpty()) return std::nullopt;
        return chosen.toStdString();
    });
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        trendLink.setScreenSize({screen->size().width(), screen->size().height()});
}

void editTrendLinkDirectory(TrendLinkInterface &trendLink, UserInterface &ui, QWidget *parent) {
    QDialog dialog(parent);
    dialog.setObjectName(QStringLiteral("TrendLinkDirectoryDialog"));
    dialog.setWindowTitle(QString::fromLatin1(kDirectoryCaption));
    auto *path = new QLineEdit(QString::fromStdString(trendLink.directorySetting()), &dialog);
    path->setObjectName(QStringLiteral("directory"));
    path->setMaxLength(static_cast<int>(trend_link_settings::kDirectoryBufferSize) - 1);
    path->setMinimumWidth(360);
    auto *browse = new QPushButton(QString::fromLatin1(kBrowseCaption), &dialog);
    QObject::connect(browse, &QPushButton::clicked, &dialog, [&dialog, path] {
        const QString chosen = chooseDirectory(&dialog, path->text());
        if (!chosen.isEmpty()) path->setText(chosen);
    });
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    auto *row = new QHBoxLayout;
    row->addWidget(path);
    row->addWidget(browse);
    auto *layout = new QVBoxLayout(&dialog);
    layout->addWidget(new QLabel(QString::fromLatin1(kDirectoryPrompt), &dialog));
    layout->addLayout(row);
    layout->addWidget(buttons);
    if (dialog.exec() != QDialog::Accepted) return;
    if (!trendLink.writeDirectorySetting(path->text().toStdString()))
        ui.showMessage(kCannotWriteSettings, MessageIcon::Exclamation, MessageButtons::Ok);
}

void showTrendLink(const TrendLinkInterface &trendLink, const DataFileSetup *file, UserInterface &ui, QWidget *window) {
    bool shown = false;
    {
        const BusyCursor busy(ui);
        const DisabledWindow disabled(window);
        shown = bringForwardOrStart(trendLink.chartProgramStart(file));
    }
    if (!shown) showError(ui, message::kTrendLinkStartFailed);
}

} // namespace korvel
