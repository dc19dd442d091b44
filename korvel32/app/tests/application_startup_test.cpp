// Start-up against the real communications library and a ccf.cfg in a
// temporary directory; the window steps are recorded instead of shown.
#include "app/application_startup.h"
#include "app/program_directory.h"
#include "app/toolbox_add_on.h"
#include "link/instrument_link.h"
#include "platform/ini_profile.h"
#include "scripted_user_interface.h"
#include "setup/bcn_lookup.h"
#include "setup/plot_settings.h"

#include <kvlink32.h>
#include <sim_process.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>

namespace korvel {
namespace {

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
    void SetUp() override { ::setenv("KVLINK32_CCF_DIR", ccfDir.path().c_str(), 1); }
    void TearDown() override {
        kvxLibExit();
        ::unsetenv("KVLINK32_CCF_DIR");
    }

    bool start(std::string_view commandLine = {}) {
        startup.emplace(StartupTarget{link, setupTemplate, instruments, options, document, regional, settings, toolbox},
                        windows, ui, parseCommandLine(commandLine), StartupPaths{programDir, programDir + "win.ini"});
        return startup->start();
    }
    void writeProgramFile(const std::string &name, const std::string &content) {
        std::ofstream(programDir + name, std::ios::binary) << content;
    }

    kvtest::TempDir ccfDir;
    kvtest::TempDir programHome;
    std::string programDir = programHome.path() + "/";
    std::string ccfPath = ccfDir.path() + "/ccf.cfg";

    InstrumentLink link;
    SetupTemplate setupTemplate;
    InstrumentTable instruments{setupTemplate};
    LoggerOptions options;
    PlotSettings plot;
    SetupHost host;
    RegionalFormats regional;
    ApplicationSettings settings;
    ScriptedUserInterface ui;
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

} // namespace
} // namespace korvel
