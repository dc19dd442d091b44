// Creating and deleting instruments against a real ccf.cfg read by the
// communications library, with the answers scripted.
#include "platform/regional_formats.h"
#include "scripted_user_interface.h"
#include "setup/plot_settings.h"
#include "setup/setup_host.h"
#include "setup/setup_template.h"
#include "shell/create_instrument_dialog.h"
#include "shell/instrument_icon_commands.h"
#include "shell/tests/window_probe.h"

#include <ccf_file_writer.h>
#include <kvlink32.h>
#include <temp_dir.h>

#include <QApplication>
#include <QListWidget>
#include <QTest>

#include <cstdio>
#include <cstdlib>
#include <set>

namespace korvel {
namespace {

using Answer = MessageAnswer;

// The table's observer as the main window has it: the bar follows the table.
class BarFollower : public InstrumentTableObserver {
public:
    explicit BarFollower(InstrumentBar &bar) : bar_(bar) {}
    void instrumentAdded(int slot, bool) override { bar_.insertInstrument(slot, false); }
    void instrumentDeleted(int slot, unsigned) override { bar_.removeInstrument(slot); }

private:
    InstrumentBar &bar_;
};

struct CommandsFixture {
    CommandsFixture() {
        setupTemplate.complete("Label", "VDC");
        document.setModified(false);
        table.setObserver(&follower);
    }
    ~CommandsFixture() { table.setObserver(nullptr); }

    void addInstruments(unsigned firstBcn, int count) {
        for (int i = 0; i < count; ++i) {
            const int slot = table.firstFreeSlot();
            table.add(slot, firstBcn + static_cast<unsigned>(i), ModelCode::M100A);
        }
    }
    SetupTemplate setupTemplate;
    InstrumentTable table{setupTemplate};
    LoggerOptions options;
    PlotSettings plot;
    SetupHost host;
    RegionalFormats regional;
    ScriptedUserInterface ui;
    InstrumentLink link;
    CSetupDoc document{SetupTarget{table, options, plot, host, bcnResolver(link)}, ui, regional};
    InstrumentBar bar{table, [](int) { return InstrumentIcon::Idle; }};
    BarFollower follower{bar};
    std::set<int> logging;
    std::vector<unsigned> choice;
    int offered = -1; // the limit the chooser was given; -1 while not asked
    std::function<void()> whileChoosing = [] {};
    InstrumentIconCommands commands{
        table,
        document,
        bar,
        link,
        ui,
        [this](int slot) { return logging.count(slot) > 0; },
        [this](const InstrumentTable &, InstrumentLink &, UserInterface &, int limit, QWidget *) {
            offered = limit;
            whileChoosing();
            return choice;
        }};
};

} // namespace

class InstrumentIconCommandsTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<kvtest::TempDir> ccfDir_;

    void writeCcf(const std::vector<std::tuple<int, std::string, int>> &entries) {
        kvtest::writeCcfFile(ccfDir_->path(), KVX_NET_GENERAL, 4369, entries);
    }
    void removeCcf() { std::remove((ccfDir_->path() + "/ccf.cfg").c_str()); }

private slots:
    void init() {
        ccfDir_ = std::make_unique<kvtest::TempDir>();
        writeCcf({{3, "127.0.0.3", KVX_MODEL_M100A},
                  {7, "127.0.0.7", KVX_MODEL_M200A},
                  {12, "127.0.0.12", KVX_MODEL_M100A}});
        ::setenv("KVLINK32_CCF_DIR", ccfDir_->path().c_str(), 1);
        QCOMPARE(kvxLibInit(1), KVX_OK);
    }
    void cleanup() {
        kvxLibExit();
        ::unsetenv("KVLINK32_CCF_DIR");
        ccfDir_.reset();
    }

    void createAddsEachChosenInstrumentInTheLowestFreeSlot() {
        CommandsFixture f;
        f.choice = {12, 3, 7};
        f.commands.createInstruments(nullptr);
        QCOMPARE(f.offered, 20);
        QCOMPARE(f.table.slot(1).bcn, 12);
        QCOMPARE(f.table.slot(2).bcn, 3);
        QCOMPARE(f.table.slot(3).bcn, 7);
        QCOMPARE(f.table.slot(1).model, ModelCode::M100A);
        QCOMPARE(f.table.slot(3).model, ModelCode::M200A);
        QCOMPARE(f.table.slot(3).role, GroupRole::Async);
        QCOMPARE(test::bcnsShown(f.bar, f.table), (std::vector<unsigned>{3, 7, 12}));
        QCOMPARE(f.bar.selectedSlot(), 3);
        QVERIFY(f.document.modified());
        QVERIFY(f.ui.messages().empty());
    }

    void createOffersOnlyTheRoomLeft() {
        CommandsFixture f;
        f.addInstruments(20, 18);
        f.choice = {3};
        f.commands.createInstruments(nullptr);
        QCOMPARE(f.offered, 2);
        QCOMPARE(f.table.count(), 19);
        QCOMPARE(f.table.slot(19).bcn, 3);
    }

    void createRefusesATwentyFirstInstrument() {
        CommandsFixture f;
        f.addInstruments(20, 20);
        f.choice = {3};
        f.commands.createInstruments(nullptr);
        QCOMPARE(f.offered, -1);
        QCOMPARE(f.ui.messageTexts(), (std::vector<std::string>{"Maximum number of Instruments reached!"}));
        QCOMPARE(f.ui.messages()[0].icon, MessageIcon::Exclamation);
        QVERIFY(!f.document.modified());
    }

    void cancelledCreateChangesNothing() {
        CommandsFixture f;
        f.commands.createInstruments(nullptr);
        QCOMPARE(f.offered, 20);
        QCOMPARE(f.table.count(), 0);
        QVERIFY(!f.document.modified());
    }

    void createStopsWhenTheConfigurationCannotBeRead() {
        CommandsFixture f;
        f.choice = {3, 7};
        f.whileChoosing = [this] { removeCcf(); };
        f.commands.createInstruments(nullptr);
        QCOMPARE(f.ui.messageTexts(), (std::vector<std::string>{"Unable to open Communications Configuration File!"}));
        QCOMPARE(f.table.count(), 0);
        QVERIFY(f.bar.slotsInOrder().empty());
        QVERIFY2(!f.document.modified(), "nothing was added");
    }

    void deleteAsksAndRemovesTheSelectedInstrument() {
        CommandsFixture f;
        f.addInstruments(6, 3);
        f.bar.selectSlot(2);
        f.ui.queueAnswer(Answer::No);
        f.commands.deleteSelected(false);
        QCOMPARE(f.ui.messageTexts(),
                 (std::vector<std::string>{"Instrument 07:  Configuration will be lost!  Delete anyway?"}));
        QCOMPARE(f.ui.messages()[0].buttons, MessageButtons::YesNo);
        QCOMPARE(f.table.count(), 3);
        QVERIFY(!f.document.modified());

        f.ui.queueAnswer(Answer::Yes);
        f.commands.deleteSelected(false);
        QVERIFY(!f.table.slot(2).inUse);
        QCOMPARE(test::bcnsShown(f.bar, f.table), (std::vector<unsigned>{6, 8}));
        QCOMPARE(f.bar.selectedSlot(), 3);
        QVERIFY(f.document.modified());
    }

    void deleteDoesNothingUnderLockoutOrWhileTheInstrumentLogs() {
        CommandsFixture f;
        f.commands.deleteSelected(false); // no instruments
        f.addInstruments(6, 2);
        f.commands.deleteSelected(true);
        f.logging.insert(f.bar.selectedSlot());
        f.commands.deleteSelected(false);
        QVERIFY(f.ui.messages().empty());
        QCOMPARE(f.table.count(), 2);
    }

    void deletingTheMasterWithSlavesAsksTwice() {
        CommandsFixture f;
        f.addInstruments(6, 3);
        f.table.setRole(1, GroupRole::Master);
        f.table.setRole(2, GroupRole::Slave);
        f.table.setRole(3, GroupRole::Slave);
        f.bar.selectSlot(1);

        f.ui.queueAnswer(Answer::No);
        f.commands.deleteSelected(false);
        QCOMPARE(f.ui.messages().size(), std::size_t{1});
        f.ui.queueAnswer(Answer::Yes);
        f.ui.queueAnswer(Answer::No);
        f.commands.deleteSelected(false);
        QCOMPARE(f.ui.messages().size(), std::size_t{3});
        QCOMPARE(f.ui.messages()[2].text, std::string("All Slave instruments will become Async.  Continue?"));
        QCOMPARE(f.table.count(), 3);
        QCOMPARE(f.table.masterSlot(), 1);
        QCOMPARE(f.table.slot(2).role, GroupRole::Slave);
        QVERIFY(!f.document.modified());

        f.ui.queueAnswer(Answer::Yes);
        f.ui.queueAnswer(Answer::Yes);
        f.commands.deleteSelected(false);
        QCOMPARE(f.ui.messages().size(), std::size_t{5});
        QVERIFY(!f.table.slot(1).inUse);
        QCOMPARE(f.table.masterSlot(), 0);
        QCOMPARE(f.table.slot(2).role, GroupRole::Async);
        QCOMPARE(f.table.slot(3).role, GroupRole::Async);
    }

    void deletingAMasterWithoutSlavesAsksOnce() {
        CommandsFixture f;
        f.addInstruments(6, 2);
        f.table.setRole(1, GroupRole::Master);
        f.bar.selectSlot(1);
        f.commands.deleteSelected(false);
        QCOMPARE(f.ui.messages().size(), std::size_t{1});
        QCOMPARE(f.table.count(), 1);
    }

    void theDialogListsOnlyInstrumentsTheSetupLacks() {
        CommandsFixture f;
        const int slot = f.table.firstFreeSlot();
        f.table.add(slot, 7, ModelCode::M200A);
        CreateInstrumentDialog dialog(f.table);
        QVERIFY(dialog.listAvailable(f.link, f.ui));
        QListWidget &list = dialog.list();
        QCOMPARE(list.count(), 2);
        QCOMPARE(list.item(0)->text(), QStringLiteral("03  M100A"));
        QCOMPARE(list.item(1)->text(), QStringLiteral("12  M100A"));
        QCOMPARE(list.selectionMode(), QAbstractItemView::ExtendedSelection);
        QCOMPARE(dialog.chosenBcns(20), (std::vector<unsigned>{3}));

        list.selectAll();
        QCOMPARE(dialog.chosenBcns(20), (std::vector<unsigned>{3, 12}));
        QCOMPARE(dialog.chosenBcns(1), (std::vector<unsigned>{3}));
        list.clearSelection();
        QVERIFY(dialog.chosenBcns(20).empty());
        QVERIFY(f.ui.messages().empty());
    }

    void theDialogHasNothingToOfferWhenEveryBcnIsUsed() {
        CommandsFixture f;
        f.addInstruments(3, 1);
        f.table.add(f.table.firstFreeSlot(), 7, ModelCode::M200A);
        f.table.add(f.table.firstFreeSlot(), 12, ModelCode::M100A);
        CreateInstrumentDialog dialog(f.table);
        QVERIFY(!dialog.listAvailable(f.link, f.ui));

        writeCcf({});
        CreateInstrumentDialog emptyDialog(f.table);
        QVERIFY(!emptyDialog.listAvailable(f.link, f.ui));

        QCOMPARE(f.ui.messages().size(), std::size_t{2});
        for (const auto &message : f.ui.messages()) {
            QCOMPARE(message.text, std::string("No instruments are available for association!"));
            QCOMPARE(message.icon, MessageIcon::Information);
        }
    }

    void theDialogReportsAnUnreadableConfiguration() {
        CommandsFixture f;
        removeCcf();
        QVERIFY(chooseInstrumentsInDialog(f.table, f.link, f.ui, 20, nullptr).empty());
        QCOMPARE(f.ui.messageTexts(), (std::vector<std::string>{"Unable to open Communications Configuration File!"}));
        QCOMPARE(f.ui.messages()[0].icon, MessageIcon::Exclamation);
    }

    void theShownDialogReturnsTheLinesChosenWithOk() {
        CommandsFixture f;
        bool answered = false;
        test::whenModalOpens<CreateInstrumentDialog>([&answered](CreateInstrumentDialog &dialog) {
            QCOMPARE(dialog.windowTitle(), QStringLiteral("Create Instrument Icon"));
            dialog.list().selectAll();
            dialog.accept();
            answered = true;
        });
        QCOMPARE(chooseInstrumentsInDialog(f.table, f.link, f.ui, 2, nullptr), (std::vector<unsigned>{3, 7}));
        QVERIFY(answered);
    }
};

} // namespace korvel

QTEST_MAIN(korvel::InstrumentIconCommandsTest)
#include "instrument_icon_commands_test.moc"
