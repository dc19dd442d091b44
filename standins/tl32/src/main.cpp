// tl32, the Trend Link chart program.
//   tl32 [-F CHART.cht]          the chart window; when one with this title runs, that one comes forward
//   tl32 --export DATASET_DIR    every data set in the directory as CSV on standard output
#include <QApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QThread>

#include <cstring>
#include <iostream>
#include <memory>
#include <string>

#include "chart_file.h"
#include "csv_export.h"
#include "data_set_registry.h"
#include "trend_window.h"
#include "trend_window_link.h"

namespace {

constexpr char kUsage[] = "usage: tl32 [-F CHART.cht]\n"
                          "       tl32 --export DATASET_DIR\n";

int usage(std::ostream &out, int code) {
    out << kUsage;
    return code;
}

// The export needs no display, so it runs before anything of Qt.
int exportTable(int argc, char **argv) {
    if (argc != 3) return usage(std::cerr, 2);
    std::string problem;
    if (tl32::exportDataSets(argv[2], std::cout, problem)) return 0;
    std::cerr << "tl32: " << problem << "\n";
    return 1;
}

// How long a chart window that holds its title is given to answer: it may
// still be starting, on a busy machine for some seconds.
constexpr int kStartingWindowWaitMs = 30000;
constexpr int kRetryMs = 50;

// The title is this program's to show, or the window of another that holds it
// is asked to come forward (nullptr, with the exit code).
std::unique_ptr<tl32::TrendWindowServer> claimOrBringForward(const QString &title, int &exitCode) {
    const QDeadlineTimer patience(kStartingWindowWaitMs);
    for (;;) {
        if (std::unique_ptr<tl32::TrendWindowServer> server = tl32::TrendWindowServer::claim(title)) return server;
        exitCode = 0;
        if (tl32::bringTrendWindowForward(title)) return nullptr;
        exitCode = 1;
        if (patience.hasExpired()) {
            std::cerr << "tl32: the window \"" << title.toStdString() << "\" runs but does not answer\n";
            return nullptr;
        }
        QThread::msleep(kRetryMs);
    }
}

} // namespace

int main(int argc, char **argv) {
    if (argc >= 2 && std::strcmp(argv[1], "--export") == 0) return exportTable(argc, argv);
    if (argc >= 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0))
        return usage(std::cout, 0);
    QString chartPath;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "-F") == 0 && i + 1 < argc)
            chartPath = QFile::decodeName(argv[++i]);
        else if (std::strncmp(argv[i], "-F", 2) == 0 && argv[i][2] != '\0')
            chartPath = QFile::decodeName(argv[i] + 2);
        else
            return usage(std::cerr, 2);
    }

    QApplication app(argc, argv);
    const tbase::Registry registry = tbase::Registry::located();
    const QString applicationTitle = QString::fromStdString(tl32::applicationTitle(
        registry.path(), QFile::encodeName(QCoreApplication::applicationDirPath()).toStdString()));
    int exitCode = 0;
    std::unique_ptr<tl32::TrendWindowServer> server =
        claimOrBringForward(tl32::TrendWindow::titleFor(applicationTitle, chartPath), exitCode);
    if (!server) return exitCode;
    tl32::TrendWindow window(registry, applicationTitle, chartPath, std::move(server));
    window.show();
    return app.exec();
}
