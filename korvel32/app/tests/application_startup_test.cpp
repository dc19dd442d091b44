// Start-up against the real communications library and a ccf.cfg in a
// temporary directory; the window steps are recorded instead of shown. The
// toolbox add-on is the real one, whose clients see what the logger told it.
#include "app/application_startup.h"
#include "app/program_directory.h"
#include "app/toolbox_add_on.h"
#include "app/toolbox_setup_host.h"
#include "link/instrument_link.h"
#include "platform/ini_profile.h"
#include "platform/string_table.h"
#include "scripted_user_interface.h"
#include "setup/bcn_lookup.h"
#include "setup/plot_settings.h"

#include <kvlink32.h>
#include <sim_process.h>
#include <toolbox_client.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>

namespace korvel {
namespace {

using qpext32_test::ToolboxClient;

// What the toolbox add-on tells a client about the logger.
std::vector<std::string> addOnStatus() {
    ToolboxClient client;
    client.send("status");
    return client.linesUntil("status end");
}

bool says(const std::vector<std::string> &lines, const std::string &line) {
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

bool addOnListens() {
    try {
        ToolboxClient client;
        return true;
    } catch (const std::exception &) {
        return false;
    }
}

class RecordedWindowSteps : public StartupWindowSteps {
public:
    std::vector<std::string> steps;
    std::string failingStep;

    bool registerWindowClasses() override { return step("registerWindowClasses"); }
    bool anotherCopyBroughtForward() override { return !step("anotherCopyBroughtForward"); }
    void loadRecentFileList() override { step("loadRecentFileList"); }
    bool startDdeServer() override { return step("startDdeServer"); }
    bool loadResourceLibrary(const std::string &) override { return step("loadResourceLibrary"); }
    void showSplash() override { step("showSplash"); }
    bool createSetupWindow() override { return step("createSetupWindow"); }
    void firstInstrumentAdded(int slot) override { step("firstInstrumentAdded " + std::to_string(slot)); }
    void acceptDroppedFiles() override { step("acceptDroppedFiles"); }
    void adjustMenus(bool calibration, bool toolbox) override {
        step(std::string("adjustMenus") + (calibration ? " calibration" : "") + (toolbox ? " toolbox" : ""));
    }
    void startAllInstruments() override { step("startAllInstruments"); }
    void unloadResourceLibrary() override { step("unloadResourceLibrary"); }
    void stopDdeServer() override { step("stopDdeServer"); }
    void shutDownTrendLink() override { step("shutDownTrendLink"); }
    void finishFrameworkExit() override { step("finishFrameworkExit"); }

private:
    bool step(const std::string &name) {
        steps.push_back(name);
        return name != failingStep;
    }
};

class ApplicationStartupTest : public ::testing::Test {
protected:
    ApplicationStartupTest() { host.attachToolbox(toolbox); }
    void SetUp() override {
        ::setenv("KVLINK32_CCF_DIR", ccfDir.path().c_str(), 1);
        ::setenv("XDG_RUNTIME_DIR", runtime.path().c_str(), 1);
    }
    void TearDown() override {
        toolbox.unload();
        kvxLibExit();
        ::unsetenv("KVLINK32_CCF_DIR");
        ::unsetenv("XDG_RUNTIME_DIR");
        ::unsetenv("QPEXT32_QUEUE_MEMORY");
    }

    bool start(std::string_view commandLine = {}) {
        startup.emplace(
            StartupTarget{link, trendLink, setupTemplate, instruments, options, document, regional, settings, toolbox},
            windows, ui, parseCommandLine(commandLine), StartupPaths{programDir, programDir + "win.ini"});
        return startup->start();
    }
    void writeProgramFile(const std::string &name, const std::string &content) {
        std::ofstream(programDir + name, std::ios::binary) << content;
    }
    // The toolbox turned on, with the file at library as its add-on beside the program.
    void useToolbox(const std::string &library) {
        writeProgramFile("korvel32.ini", "[Defaults]\r\nDevelopersToolbox=True\r\n");
        std::filesystem::remove(programDir + kToolboxLibraryName);
        std::filesystem::create_symlink(library, programDir + kToolboxLibraryName);
    }

    kvtest::TempDir ccfDir;
    kvtest::TempDir programHome;
    kvtest::TempDir runtime; // where the toolbox add-on listens
    std::string programDir = programHome.path() + "/";
    std::string ccfPath = ccfDir.path() + "/ccf.cfg";

    InstrumentLink link;
    SetupTemplate setupTemplate;
    InstrumentTable instruments{setupTemplate};
    LoggerOptions options;
    PlotSettings plot;
    ToolboxSetupHost host;
    RegionalFormats regional;
    ApplicationSettings settings;
    ScriptedUserInterface ui;
    TrendLinkLibrary trendLinkLibrary;
    TrendLinkInterface trendLink{trendLinkLibrary, ui};
    CSetupDoc document{SetupTarget{instruments, options, plot, host, bcnResolver(link)}, ui, regional};
    ToolboxAddOn toolbox{instruments};
    RecordedWindowSteps windows;
    std::optional<ApplicationStartup> startup;
};

TEST_F(ApplicationStartupTest, WithoutArgumentsTheLowestConfiguredBcnBecomesInstrumentOne) {
    kvtest::writeCcfFile(ccfDir.path(), 4, 4369, {{7, "127.0.0.7", 0}, {3, "127.0.0.3", 1}});
    ASSERT_TRUE(start());
    EXPECT_TRUE(ui.messages().empty());
    EXPECT_EQ(instruments.count(), 1);
    EXPECT_EQ(instruments.slot(1).bcn, 3);
    EXPECT_EQ(instruments.slot(1).model, ModelCode::M100A);
    EXPECT_EQ(instruments.slot(1).setup->channels[1].function, ChannelFunction::Vdc)
        << "the template was completed before the instrument was added";
    EXPECT_FALSE(document.modified());
    EXPECT_FALSE(startup->networkModeNotGeneral());
    std::int32_t timeout = 0;
    ASSERT_EQ(kvxTimeoutGet(&timeout), KVX_OK);
    EXPECT_EQ(timeout, 10) << "the general network's default time-out reached the library";
}

TEST_F(ApplicationStartupTest, EveryStepRunsInOrderAndShutdownStopsTheLibrary) {
    kvtest::writeCcfFile(ccfDir.path(), 2, 4369, {{5, "0.0.0.0", 0}});
    writeProgramFile("korvel32.ini", "[Defaults]\r\nMemoryWrapAround=F\r\nCommTimeout=2\r\n");
    writeProgramFile("win.ini", "[intl]\r\nsList=;\r\nsDecimal=,\r\nsShortDate=dd/MM/yyyy\r\n");
    ASSERT_TRUE(start("/c"));
    EXPECT_EQ(windows.steps,
              (std::vector<std::string>{"registerWindowClasses", "anotherCopyBroughtForward", "loadRecentFileList",
                                        "startDdeServer", "loadResourceLibrary", "showSplash", "createSetupWindow",
                                        "firstInstrumentAdded 1", "acceptDroppedFiles", "adjustMenus calibration"}));
    EXPECT_TRUE(startup->networkModeNotGeneral());
    EXPECT_FALSE(options.memoryWrapAround);
    EXPECT_EQ(settings.commTimeout, 3u);
    EXPECT_EQ(regional.decimalSymbol, ',');
    EXPECT_EQ(regional.dateOrder, 1);
    EXPECT_TRUE(regional.fourDigitYear);

    windows.steps.clear();
    startup->shutDown();
    EXPECT_EQ(windows.steps, (std::vector<std::string>{"unloadResourceLibrary", "stopDdeServer", "shutDownTrendLink",
                                                       "finishFrameworkExit"}));
    EXPECT_EQ(kvxCCFgetNetMode(), KVX_E_NOT_INIT);
}

TEST_F(ApplicationStartupTest, AMissingConfigurationIsCreatedInTheModeGeneralTxtAsksFor) {
    writeProgramFile("general.txt", "");
    ASSERT_TRUE(start());
    EXPECT_EQ(kvxCCFgetNetMode(), KVX_NET_GENERAL);
    EXPECT_EQ(kvxCCFgetTCPport(), 4369);
    EXPECT_EQ(instruments.count(), 0);
    EXPECT_FALSE(startup->networkModeNotGeneral());
    EXPECT_EQ(settings.commTimeout, 10u);
}

TEST_F(ApplicationStartupTest, AMissingConfigurationIsIsolatedWithoutGeneralTxt) {
    ASSERT_TRUE(start());
    EXPECT_EQ(kvxCCFgetNetMode(), KVX_NET_ISOLATED);
    EXPECT_TRUE(startup->networkModeNotGeneral());
    EXPECT_EQ(settings.commTimeout, 5u);
}

TEST_F(ApplicationStartupTest, AQuotedSetupWithABlankOpensWithoutSplashAndStartsAll) {
    kvtest::writeCcfFile(ccfDir.path(), 2, 4369, {{4, "0.0.0.0", 1}, {9, "0.0.0.0", 0}});
    const std::string setupDir = programDir + "plant setups";
    std::filesystem::create_directory(setupDir);
    setupTemplate.completeFromStringTable();
    ASSERT_TRUE(instruments.add(1, 9, ModelCode::M200A));
    ASSERT_TRUE(document.save(setupDir + "/line 1.stp"));
    document.clear();
    instruments.removeAll();

    ASSERT_TRUE(start("\"" + setupDir + "/line 1.stp\" /g /s"));
    EXPECT_TRUE(ui.messages().empty());
    EXPECT_EQ(document.pathName(), setupDir + "/line 1.stp");
    EXPECT_EQ(instruments.count(), 1);
    EXPECT_EQ(instruments.slot(1).bcn, 9) << "not the lowest BCN of the configuration";
    EXPECT_EQ(std::count(windows.steps.begin(), windows.steps.end(), "showSplash"), 0);
    EXPECT_EQ(windows.steps.back(), "startAllInstruments");
}

TEST_F(ApplicationStartupTest, ASetupThatCannotBeOpenedLeavesAnEmptySetup) {
    kvtest::writeCcfFile(ccfDir.path(), 2, 4369, {{4, "0.0.0.0", 1}});
    ASSERT_TRUE(start("missing.stp"));
    EXPECT_EQ(ui.messages().size(), 1u);
    EXPECT_EQ(instruments.count(), 0) << "the configuration's BCN is not added when a file was named";
    EXPECT_EQ(document.pathName(), "");
}

TEST_F(ApplicationStartupTest, AFailingStepEndsStartUpWithItsMessage) {
    const std::pair<std::string, std::vector<std::string>> cases[] = {
        {"registerWindowClasses", {"Error registering window class!"}},
        {"anotherCopyBroughtForward", {}},
        {"startDdeServer", {"Unable to initialize DDE!"}},
        {"loadResourceLibrary", {"Unable to access library \"KORRES32.DLL\""}},
        {"createSetupWindow", {"Window creation failed!"}},
    };
    for (const auto &[step, messages] : cases) {
        windows = RecordedWindowSteps{};
        windows.failingStep = step;
        ui = ScriptedUserInterface{};
        EXPECT_FALSE(start()) << step;
        EXPECT_EQ(ui.messageTexts(), messages) << step;
        EXPECT_EQ(windows.steps.back(), step) << "nothing after the failing step";
        kvxLibExit();
    }
}

TEST_F(ApplicationStartupTest, TheLibraryMustStartAndReadItsConfiguration) {
    ASSERT_EQ(kvxLibInit(0), KVX_OK);
    EXPECT_FALSE(start());
    EXPECT_EQ(ui.messageTexts(), (std::vector<std::string>{"Korvel Logger Communications Library already in use!"}));
    EXPECT_FALSE(std::filesystem::exists(programDir + "korvel32.ini")) << "settings come after the library";
    kvxLibExit();

    std::ofstream(ccfPath, std::ios::binary) << "Please DO NOT edit this file\r\n2\r\n";
    ui = ScriptedUserInterface{};
    EXPECT_FALSE(start());
    EXPECT_EQ(ui.messageTexts(), (std::vector<std::string>{"Unable to open Communications Configuration File!"}));
    EXPECT_EQ(std::count(windows.steps.begin(), windows.steps.end(), "showSplash"), 0);
}

TEST(ProgramDirectory, TheHomeVariableWinsAndEndsInASlash) {
    EXPECT_EQ(directoryOf("/opt/korvel/bin/korvel32"), "/opt/korvel/bin/");
    EXPECT_EQ(directoryOf("korvel32"), "");
    ::setenv("KORVEL32_HOME", "/srv/korvel", 1);
    EXPECT_EQ(programDirectory(), "/srv/korvel/");
    ::setenv("KORVEL32_HOME", "", 1);
    EXPECT_EQ(programDirectory(), directoryOf(std::filesystem::read_symlink("/proc/self/exe").string()));
    ::unsetenv("KORVEL32_HOME");
}

TEST_F(ApplicationStartupTest, TheToolboxIsLoadedItsChannelOpenedLastAndShutdownUnloadsIt) {
    kvtest::writeCcfFile(ccfDir.path(), 2, 4369, {{5, "0.0.0.0", 1}});
    useToolbox(QPEXT32_PATH);
    ASSERT_TRUE(start());
    EXPECT_TRUE(ui.messages().empty());
    EXPECT_TRUE(startup->toolboxEnabled());
    EXPECT_EQ(windows.steps.back(), "adjustMenus toolbox");
    const auto status = addOnStatus();
    EXPECT_TRUE(says(status, "status channel DideradevUzevuvoLoggerCmdMessage"));
    EXPECT_TRUE(says(status, "status setup ")) << "a setup without a file";
    // The first instrument of the configuration, with the template's three
    // channels and no queue of its own.
    EXPECT_TRUE(says(status, "status instrument 5 stopped queue 0 record 40 lost 0"));

    startup->shutDown();
    EXPECT_FALSE(startup->toolboxEnabled());
    EXPECT_FALSE(toolbox.loaded());
    EXPECT_FALSE(addOnListens());
}

TEST_F(ApplicationStartupTest, TheToolboxFollowsAnInstrumentThroughANewBcnUntilItIsDeleted) {
    kvtest::writeCcfFile(ccfDir.path(), 2, 4369, {{5, "0.0.0.0", 1}});
    useToolbox(QPEXT32_PATH);
    ASSERT_TRUE(start());
    ToolboxClient client;
    client.send("subscribe 5");
    ASSERT_FALSE(client.next("subscribed 5 ").empty());

    // As the communications configuration tells it, through the logging's link.
    ToolboxLink &asLogged = toolbox;
    asLogged.bcnChanged(5, 8);
    EXPECT_FALSE(client.next("renamed 5 8").empty());
    EXPECT_TRUE(says(addOnStatus(), "status instrument 8 stopped queue 0 record 40 lost 0"));
    // Delete All of the communications configuration empties the table at once.
    instruments.changeBcn(instruments.find(5), 8);
    instruments.removeAll();
    EXPECT_FALSE(client.next("removed 8").empty());
    EXPECT_FALSE(says(addOnStatus(), "status instrument 8 stopped queue 0 record 40 lost 0"));
}

TEST_F(ApplicationStartupTest, AToolboxThatCannotBeUsedIsOffForThisRunOnlyAndSaysWhy) {
    const std::string garbage = programHome.path() + "/garbage.so";
    std::ofstream(garbage) << "not a library\n";
    const struct {
        const char *name;
        std::string library;
        int message;
    } cases[] = {
        {"other version", QPEXT32_OTHER_VERSION_PATH, message::kToolboxIncompatible},
        {"garbage", garbage, message::kToolboxCannotLoad},
        // Last: the loader goes on knowing the library, already loaded, by this path.
        {"no entry points", KVLINK32_LIBRARY_PATH, message::kToolboxCannotLoad},
    };
    for (const auto &[name, library, messageId] : cases) {
        ui = ScriptedUserInterface{};
        useToolbox(library);
        ASSERT_TRUE(start()) << name;
        EXPECT_EQ(ui.messageTexts(), std::vector<std::string>{resourceString(messageId)}) << name;
        EXPECT_FALSE(startup->toolboxEnabled()) << name;
        EXPECT_EQ(windows.steps.back(), "adjustMenus") << name;
        EXPECT_FALSE(addOnListens()) << name;
        EXPECT_EQ(readProfileString(programDir + "korvel32.ini", "Defaults", "DevelopersToolbox", "", 30), "True")
            << "off for this run only";
        startup->shutDown();
    }

    // Neither beside the program nor anywhere the system looks.
    ui = ScriptedUserInterface{};
    EXPECT_FALSE(toolbox.load(programDir, ui, "libqpext32-absent.so"));
    EXPECT_EQ(ui.messageTexts(), std::vector<std::string>{resourceString(message::kToolboxNotFound)});
}

TEST_F(ApplicationStartupTest, EachSetupsInstrumentsGetTheQueuesTheToolboxCanGive) {
    kvtest::writeCcfFile(ccfDir.path(), 2, 4369, {{5, "0.0.0.0", 1}, {6, "0.0.0.0", 1}});
    ::setenv("QPEXT32_QUEUE_MEMORY", "1000", 1);
    useToolbox(QPEXT32_PATH);
    ASSERT_EQ(link.libInit(true), KVX_OK);
    ASSERT_TRUE(toolbox.load(programDir, ui));
    toolbox.openCommandChannel();
    setupTemplate.completeFromStringTable();
    ASSERT_TRUE(instruments.add(1, 5, ModelCode::M100A));
    ASSERT_TRUE(instruments.add(2, 6, ModelCode::M100A));
    instruments.slot(1).setup->toolboxQueueSize = 65440;
    instruments.slot(2).setup->toolboxQueueSize = 148;
    const std::string path = programDir + "two.stp";
    ASSERT_TRUE(document.save(path));
    EXPECT_TRUE(says(addOnStatus(), "status setup " + path)) << "told when saved";

    ASSERT_TRUE(document.open(path));
    EXPECT_EQ(ui.messageTexts(), std::vector<std::string>{resourceString(message::kToolboxQueueShortage)});
    EXPECT_EQ(instruments.slot(1).setup->toolboxQueueSize, 0u) << "more than the add-on's memory";
    EXPECT_EQ(instruments.slot(2).setup->toolboxQueueSize, 148u);
    EXPECT_TRUE(document.modified());
    auto status = addOnStatus();
    EXPECT_TRUE(says(status, "status instrument 5 stopped queue 0 record 40 lost 0"));
    EXPECT_TRUE(says(status, "status instrument 6 stopped queue 148 record 40 lost 0"));

    // Closing the setup frees every queue and deletes every instrument.
    document.clear();
    status = addOnStatus();
    EXPECT_TRUE(std::none_of(status.begin(), status.end(),
                             [](const std::string &line) { return line.starts_with("status instrument "); }));
}

} // namespace
} // namespace korvel
