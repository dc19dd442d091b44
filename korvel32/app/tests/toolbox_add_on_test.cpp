// The logger's side of the toolbox add-on in this process, with the real
// add-on and its socket: start-up loads it and opens its command channel at
// the end, the instruments of each setup get their queues and channels, and
// an add-on that cannot be used leaves the logger without it, saying why.
#include "app/application_startup.h"
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

constexpr int kM100A = 1; // ccf.cfg's model code

// What the add-on tells a client about the logger.
std::vector<std::string> addOnStatus() {
    ToolboxClient client;
    client.send("status");
    return client.linesUntil("status end");
}

bool says(const std::vector<std::string> &lines, const std::string &line) {
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

bool serviceListens() {
    try {
        ToolboxClient client;
        return true;
    } catch (const std::exception &) {
        return false;
    }
}

class ToolboxAddOnTest : public ::testing::Test {
protected:
    void SetUp() override {
        ::setenv("KVLINK32_CCF_DIR", ccfDir.path().c_str(), 1);
        ::setenv("XDG_RUNTIME_DIR", runtime.path().c_str(), 1);
        kvtest::writeCcfFile(ccfDir.path(), 2, 4369, {{5, "0.0.0.0", kM100A}, {6, "0.0.0.0", kM100A}});
        host.attachToolbox(toolbox);
    }
    void TearDown() override {
        toolbox.unload();
        kvxLibExit();
        ::unsetenv("KVLINK32_CCF_DIR");
        ::unsetenv("XDG_RUNTIME_DIR");
        ::unsetenv("QPEXT32_QUEUE_MEMORY");
    }

    // A program directory whose add-on is the file at library (none: no add-on).
    std::string programDirectory(const std::string &name, const std::optional<std::string> &library) {
        const std::string directory = programHome.path() + "/" + name + "/";
        std::filesystem::create_directory(directory);
        std::ofstream(directory + "korvel32.ini", std::ios::binary) << "[Defaults]\r\nDevelopersToolbox=True\r\n";
        if (library) std::filesystem::create_symlink(*library, directory + kToolboxLibraryName);
        return directory;
    }

    bool start(const std::string &directory) {
        startup.emplace(StartupTarget{link, setupTemplate, table, options, document, regional, settings, toolbox},
                        windows, ui, CommandLine{}, StartupPaths{directory, directory + "win.ini"});
        return startup->start();
    }

    kvtest::TempDir ccfDir;
    kvtest::TempDir programHome;
    kvtest::TempDir runtime;
    InstrumentLink link;
    SetupTemplate setupTemplate;
    InstrumentTable table{setupTemplate};
    LoggerOptions options;
    PlotSettings plot;
    ToolboxSetupHost host;
    RegionalFormats regional;
    ApplicationSettings settings;
    ScriptedUserInterface ui;
    CSetupDoc document{SetupTarget{table, options, plot, host, bcnResolver(link)}, ui, regional};
    ToolboxAddOn toolbox{table};
    StartupWindowSteps windows;
    std::optional<ApplicationStartup> startup;
};

TEST_F(ToolboxAddOnTest, StartUpLoadsTheAddOnOpensItsChannelLastAndShutdownUnloadsIt) {
    ASSERT_TRUE(start(programDirectory("program", QPEXT32_PATH)));
    EXPECT_TRUE(ui.messages().empty());
    EXPECT_TRUE(startup->toolboxEnabled());
    const auto status = addOnStatus();
    EXPECT_TRUE(says(status, "status channel DideradevUzevuvoLoggerCmdMessage"));
    EXPECT_TRUE(says(status, "status setup ")) << "a setup without a file";
    // The first instrument of the configuration, with the template's three
    // channels and no queue of its own.
    EXPECT_TRUE(says(status, "status instrument 5 stopped queue 0 record 40 lost 0"));

    startup->shutDown();
    EXPECT_FALSE(startup->toolboxEnabled());
    EXPECT_FALSE(toolbox.loaded());
    EXPECT_FALSE(serviceListens());
}

TEST_F(ToolboxAddOnTest, AnAddOnThatCannotBeUsedLeavesTheLoggerWithoutItAndSaysWhy) {
    const std::string garbage = programHome.path() + "/garbage.so";
    std::ofstream(garbage) << "not a library\n";
    const struct {
        const char *name;
        std::string library;
        int message;
    } cases[] = {
        {"garbage", garbage, message::kToolboxCannotLoad},
        {"no-entry-points", KVLINK32_LIBRARY_PATH, message::kToolboxCannotLoad},
        {"other-version", QPEXT32_OTHER_VERSION_PATH, message::kToolboxIncompatible},
    };
    for (const auto &[name, library, messageId] : cases) {
        ui = ScriptedUserInterface{};
        const std::string directory = programDirectory(name, library);
        ASSERT_TRUE(start(directory)) << name;
        EXPECT_EQ(ui.messageTexts(), std::vector<std::string>{resourceString(messageId)}) << name;
        EXPECT_FALSE(startup->toolboxEnabled()) << name;
        EXPECT_FALSE(serviceListens()) << name;
        EXPECT_EQ(readProfileString(directory + "korvel32.ini", "Defaults", "DevelopersToolbox", "", 30), "True")
            << "off for this run only";
        startup->shutDown();
    }

    // Neither beside the program nor anywhere the system looks.
    ui = ScriptedUserInterface{};
    EXPECT_FALSE(toolbox.load(programDirectory("missing", std::nullopt), ui, "libqpext32-absent.so"));
    EXPECT_EQ(ui.messageTexts(), std::vector<std::string>{resourceString(message::kToolboxNotFound)});
}

TEST_F(ToolboxAddOnTest, EachSetupsInstrumentsGetTheQueuesTheAddOnCanGive) {
    ::setenv("QPEXT32_QUEUE_MEMORY", "1000", 1);
    ASSERT_EQ(link.libInit(true), KVX_OK);
    ASSERT_TRUE(toolbox.load(programDirectory("program", QPEXT32_PATH), ui));
    toolbox.openCommandChannel();
    setupTemplate.completeFromStringTable();
    ASSERT_TRUE(table.add(1, 5, ModelCode::M100A));
    ASSERT_TRUE(table.add(2, 6, ModelCode::M100A));
    table.slot(1).setup->toolboxQueueSize = 65440;
    table.slot(2).setup->toolboxQueueSize = 148;
    const std::string path = programHome.path() + "/two.stp";
    ASSERT_TRUE(document.save(path));
    EXPECT_TRUE(says(addOnStatus(), "status setup " + path)) << "told when saved";

    ASSERT_TRUE(document.open(path));
    EXPECT_EQ(ui.messageTexts(), std::vector<std::string>{resourceString(message::kToolboxQueueShortage)});
    EXPECT_EQ(table.slot(1).setup->toolboxQueueSize, 0u) << "more than the add-on's memory";
    EXPECT_EQ(table.slot(2).setup->toolboxQueueSize, 148u);
    EXPECT_TRUE(document.modified());
    auto status = addOnStatus();
    EXPECT_TRUE(says(status, "status instrument 5 stopped queue 0 record 40 lost 0"));
    EXPECT_TRUE(says(status, "status instrument 6 stopped queue 148 record 40 lost 0"));

    // Closing the setup leaves every instrument without a queue.
    document.clear();
    status = addOnStatus();
    EXPECT_TRUE(says(status, "status instrument 6 stopped queue 0 record 40 lost 0"));
}

} // namespace
} // namespace korvel
