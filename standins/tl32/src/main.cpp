// tl32, the Trend Link chart program.
//   tl32 [-F CHART.cht]          the chart window (brought forward when one with this chart runs)
//   tl32 --export DATASET_DIR    every data set in the directory as CSV on standard output
#include <QApplication>
#include <QFile>

#include <cstring>
#include <iostream>
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
    if (!chartPath.isEmpty() && tl32::bringTrendWindowForward(tl32::TrendWindow::titleFor(applicationTitle, chartPath)))
        return 0;
    tl32::TrendWindow window(registry, applicationTitle, chartPath);
    window.show();
    return app.exec();
}
