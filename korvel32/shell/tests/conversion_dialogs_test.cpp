// The Utilities conversions on real windows: the dialog's names and buttons,
// a conversion that keeps the main window from taking input while its share
// shows in the progress window, the real Abort button, the dialog coming
// back after each Convert until it is closed, and the Trend Link conversion
// asking for the historian's directory when it is not where korvel32.ini says.
#include "datafiles/data_file.h"
#include "datafiles/scan_time.h"
#include "datafiles/trend_link_interface.h"
#include "datafiles/trend_link_settings.h"
#include "platform/ini_profile.h"
#include "scripted_user_interface.h"
#include "shell/conversion_dialog.h"
#include "shell/file_conversion_command.h"
#include "shell/file_dialog.h"
#include "shell/main_window_input.h"
#include "shell/progress_window.h"
#include "shell/qt_user_interface.h"
#include "shell/tests/window_probe.h"

#include <file_bytes.h>
#include <scoped_time_zone.h>
#include <temp_dir.h>
#include <trend_link_store.h>

#include <QApplication>
#include <QMainWindow>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>
#include <QToolBar>

#include <deque>
#include <filesystem>
#include <memory>

using namespace korvel;

namespace {

// A Fast data file of one instrument with two channels, a scan a second.
void logBinaryFile(const std::string &path, int scans) {
    InstrumentSetup setup;
    setup.channel(1).function = ChannelFunction::Vdc;
    setup.channel(2).function = ChannelFunction::Vdc;
    setup.dataFile.path = path;
    setup.dataFile.format = FileFormat::FastBinary;
    setup.dataFile.mode = FileMode::Overwrite;
    DataFile data({instrumentPart(1, setup), false, {}}, RegionalFormats{});
    QCOMPARE(data.open(1719849600), DataFileOpen::Opened);
    DaylightStates daylight;
    for (int i = 0; i < scans; ++i) {
        ScanRecord scan{};
        scan.time = {12, static_cast<std::uint8_t>(i / 60 % 60), static_cast<std::uint8_t>(i % 60), 7, 0, 1, 24, 0};
        scan.readings[0] = static_cast<float>(i);
        scan.readings[1] = 0.5f;
        QVERIFY(data.writeMerged(scan, {}, daylight));
    }
    QVERIFY(data.close());
}

// Notes, at each progress line, whether the main window took input and
// whether a modal dialog stood in the way of the progress window.
class WatchingUserInterface : public ScriptedUserInterface {
public:
    explicit WatchingUserInterface(QMainWindow &window) : window_(window) {}

    void showProgress(const std::string &text) override {
        ScriptedUserInterface::showProgress(text);
        inputWhileShown.push_back(mainWindowInputEnabled(window_));
        modalWhileShown.push_back(QApplication::activeModalWidget() != nullptr);
    }

    std::vector<bool> inputWhileShown;
    std::vector<bool> modalWhileShown;

private:
    QMainWindow &window_;
};

// The real progress window, with the messages noted instead of shown.
class RecordingQtUserInterface : public QtUserInterface {
public:
    MessageAnswer showMessage(const std::string &text, MessageIcon, MessageButtons) override {
        said.push_back(text);
        return MessageAnswer::Ok;
    }

    std::vector<std::string> said;
};

// A main window with the parts whose input a conversion turns off.
std::unique_ptr<QMainWindow> mainWindow() {
    auto window = std::make_unique<QMainWindow>();
    window->menuBar()->addMenu(QStringLiteral("&Utilities"));
    window->addToolBar(QStringLiteral("Tools"));
    window->setCentralWidget(new QWidget);
    return window;
}

// Hands out the files queued, and records what each file dialog was asked.
struct ScriptedChooser {
    std::deque<std::string> answers;
    std::vector<std::string> titles;
    std::vector<std::string> proposals;

    FileChooser chooser() {
        return [this](QWidget *, const FileDialogTexts &texts, const std::string &proposed) {
            titles.push_back(texts.title);
            proposals.push_back(proposed);
            std::string answer = answers.empty() ? std::string() : answers.front();
            if (!answers.empty()) answers.pop_front();
            return answer;
        };
    }
};

} // namespace

class ConversionDialogsTest : public QObject {
    Q_OBJECT

private:
    kvtest::TempDir dir;
    const ScopedTimeZone zone{"America/New_York"};
    const RegionalFormats formats;

private slots:
    void theDialogShowsNoneUntilChosenAndConvertsOnceBothAre() {
        ConversionDialogModel model(ConversionKind::BinaryToAscii);
        ScriptedChooser files;
        files.answers = {"/data/run.bin", "", "/out/run.csv"};
        ConversionDialog dialog(model, files.chooser());
        dialog.show();
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Binary to ASCII Conversion"));
        QCOMPARE(dialog.sourceText(), QStringLiteral("None"));
        QCOMPARE(dialog.targetText(), QStringLiteral("None"));
        QVERIFY(!dialog.convertButton().isEnabled());

        QTest::mouseClick(&dialog.sourceButton(), Qt::LeftButton);
        QCOMPARE(dialog.sourceText(), QStringLiteral("/data/run.bin"));
        QVERIFY(!dialog.convertButton().isEnabled());
        QTest::mouseClick(&dialog.targetButton(), Qt::LeftButton); // cancelled
        QCOMPARE(dialog.targetText(), QStringLiteral("None"));
        QVERIFY(!dialog.convertButton().isEnabled());
        QTest::mouseClick(&dialog.targetButton(), Qt::LeftButton);
        QCOMPARE(dialog.targetText(), QStringLiteral("/out/run.csv"));
        QVERIFY(dialog.convertButton().isEnabled());
        QCOMPARE(files.titles,
                 (std::vector<std::string>{"Binary File Selection", "ASCII File Selection", "ASCII File Selection"}));
        QCOMPARE(files.proposals[1], std::string("/data/run.csv"));
        QVERIFY(test::saveSnapshot(dialog, dir.path().c_str(), QStringLiteral("binary_to_ascii_dialog")));

        QTest::mouseClick(&dialog.convertButton(), Qt::LeftButton);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
    }

    void theFileDialogsFiltersReadAsQtReadsThem() {
        QCOMPARE(fileDialogFilters(kAsciiFilesFilter), (QStringList{"ASCII Files (*.CSV)", "All Files (*)"}));
        QCOMPARE(fileDialogFilters(kTextFilesFilter), (QStringList{"Text Files (*.TXT)", "All Files (*)"}));
    }

    void aConversionTakesTheMainWindowsInputAndShowsItsShare() {
        const auto window = mainWindow();
        WatchingUserInterface ui(*window);
        const std::string source = dir.path() + "/share.bin";
        logBinaryFile(source, 12000);
        FileConversionCommand command(*window, {formats, ui}, {});

        QCOMPARE(command.convert(ConversionKind::BinaryToAscii, {source, dir.path() + "/share.csv"}),
                 ConversionOutcome::Complete);
        const std::vector<std::string> &lines = ui.progressTexts();
        QVERIFY(lines.size() > 2);
        QCOMPARE(lines.front(), std::string("Converting File:  0%"));
        QCOMPARE(lines.back(), std::string("Converting File:  100%"));
        for (const bool input : ui.inputWhileShown) QVERIFY(!input);
        QVERIFY(mainWindowInputEnabled(*window));
        QVERIFY(!ui.progressShown());
        QCOMPARE(ui.messageTexts(), std::vector<std::string>{"Conversion is complete!"});
        QCOMPARE(ui.messages().back().icon, MessageIcon::Information);
    }

    void abortInTheProgressWindowStopsTheConversionWithoutAWord() {
        const auto window = mainWindow();
        RecordingQtUserInterface ui;
        ui.setMainWindow(window.get());
        window->show();
        const std::string source = dir.path() + "/abort.bin";
        const std::string target = dir.path() + "/abort.csv";
        logBinaryFile(source, 12000);
        FileConversionCommand command(*window, {formats, ui}, {});

        // Pressed as soon as the window's events run between two chunks.
        QTimer::singleShot(0, window.get(), [this, &window] {
            auto *progress = window->findChild<ProgressWindow *>();
            QVERIFY(progress != nullptr && progress->isVisible());
            QVERIFY(test::saveSnapshot(*progress, dir.path().c_str(), QStringLiteral("conversion_progress")));
            QTest::mouseClick(progress->findChild<QPushButton *>(QStringLiteral("abort")), Qt::LeftButton);
        });
        QCOMPARE(command.convert(ConversionKind::BinaryToAscii, {source, target}), ConversionOutcome::Aborted);
        const std::uintmax_t written = std::filesystem::file_size(target);
        QVERIFY(written > 0);
        QVERIFY(written < std::filesystem::file_size(source));
        QVERIFY(ui.said.empty());
        QVERIFY(!ui.progressShown());
        QVERIFY(mainWindowInputEnabled(*window));
    }

    void theDialogStepsAsideForEachConversionAndComesBackUntilClosed() {
        const auto window = mainWindow();
        WatchingUserInterface ui(*window);
        const std::string source = dir.path() + "/times.csv";
        const std::string target = dir.path() + "/times.txt";
        std::ofstream(source, std::ios::binary) << "\"times.csv\"\r\n\"\"\r\n\"\"\r\n5\r\n\"TIME\"\r\n\"01TIME\"\r\n"
                                                   "35503.5, 0, 0, 0, 0\r\n";
        ScriptedChooser files;
        files.answers = {source, target};
        FileConversionCommand command(*window, {formats, ui}, files.chooser());

        int dialogsShown = 0;
        std::function<void(ConversionDialog &)> handle = [&](ConversionDialog &dialog) {
            ++dialogsShown;
            QCOMPARE(dialog.windowTitle(), QStringLiteral("ASCII to Text Timestamp Conversion"));
            if (dialogsShown == 1) {
                QTest::mouseClick(&dialog.sourceButton(), Qt::LeftButton);
                QTest::mouseClick(&dialog.targetButton(), Qt::LeftButton);
                test::whenModalOpens<ConversionDialog>(handle);
                QTest::mouseClick(&dialog.convertButton(), Qt::LeftButton);
            } else {
                QCOMPARE(dialog.sourceText(), QString::fromStdString(source));
                QTest::mouseClick(&dialog.closeButton(), Qt::LeftButton);
            }
        };
        test::whenModalOpens<ConversionDialog>(handle);
        command.run(ConversionKind::AsciiTimestamps);

        QCOMPARE(dialogsShown, 2);
        QCOMPARE(files.titles, (std::vector<std::string>{"ASCII File Selection", "Text File Selection"}));
        for (const bool modal : ui.modalWhileShown) QVERIFY2(!modal, "no modal dialog keeps Abort out of reach");
        QCOMPARE(ui.messageTexts(), std::vector<std::string>{"Conversion is complete!"});
        QVERIFY(fileBytes(target).find("\"03/14/97 12:00:00.000\", 0, 0, 0, 0\r\n") != std::string::npos);
    }

    void aTrendLinkConversionFindsTheHistorianAndStoresTheFile() {
        const auto window = mainWindow();
        WatchingUserInterface ui(*window);
        const std::string source = dir.path() + "/trend.bin";
        const std::string target = dir.path() + "/trend.set";
        logBinaryFile(source, 100);
        ScriptedChooser files;
        files.answers = {source, target};
        qputenv("TBASE32_INFOLINK_DIR", QByteArray::fromStdString(dir.path()));
        const std::string settings = dir.path() + "/korvel32.ini";
        writeProfileString(settings, trend_link_settings::kSection, trend_link_settings::kDirectoryKey,
                           dir.path() + "/moved");
        TrendLinkLibrary library;
        TrendLinkInterface trendLink(library, ui);
        trendLink.setPaths({kvtest::trendLinkDirectory() + "/", settings});
        std::vector<std::string> directoriesAsked;
        trendLink.setDirectoryChooser([&](const std::string &current) -> std::optional<std::string> {
            directoriesAsked.push_back(current);
            return kvtest::trendLinkDirectory();
        });
        FileConversionCommand command(*window, {formats, ui, &trendLink}, files.chooser());

        int dialogsShown = 0;
        std::function<void(ConversionDialog &)> handle = [&](ConversionDialog &dialog) {
            if (++dialogsShown == 1) {
                QTest::mouseClick(&dialog.sourceButton(), Qt::LeftButton);
                QTest::mouseClick(&dialog.targetButton(), Qt::LeftButton);
                QVERIFY(test::saveSnapshot(dialog, dir.path().c_str(), QStringLiteral("binary_to_trend_link_dialog")));
                test::whenModalOpens<ConversionDialog>(handle);
                QTest::mouseClick(&dialog.convertButton(), Qt::LeftButton);
            } else {
                QTest::mouseClick(&dialog.closeButton(), Qt::LeftButton);
            }
        };
        test::whenModalOpens<ConversionDialog>(handle);
        command.run(ConversionKind::BinaryToTrendLink);

        QCOMPARE(files.titles, (std::vector<std::string>{"Binary File Selection", "Trend Link File Selection"}));
        QCOMPARE(files.proposals[1], dir.path() + "/trend.set");
        QCOMPARE(directoriesAsked, std::vector<std::string>{dir.path() + "/moved"});
        const std::vector<std::string> said = ui.messageTexts();
        QCOMPARE(said.size(), std::size_t{2});
        QVERIFY(said[0].starts_with("Unable to load Trend Link DLL!"));
        QCOMPARE(said[1], std::string("Conversion is complete!"));
        QCOMPARE(ui.progressTexts().back(), std::string("Converting File:  100%"));
        for (const bool input : ui.inputWhileShown) QVERIFY(!input);
        QCOMPARE(kvtest::valuesOf("trend", "0102"), std::vector<double>(100, 0.5));
        QCOMPARE(trendLink.directorySetting(), kvtest::trendLinkDirectory());
        library.unload();
        qunsetenv("TBASE32_INFOLINK_DIR");
    }
};

QTEST_MAIN(ConversionDialogsTest)
#include "conversion_dialogs_test.moc"
