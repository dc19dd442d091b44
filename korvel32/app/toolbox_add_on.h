// The developers' toolbox add-on as the logger has it loaded: what the
// logging tells it (runs, scans, error reports, remote command replies) and
// what the setup tells it (queues, channels, deleted instruments, the setup
// file). Every call is made on the main loop's thread; only the command
// channel's post function is called from the add-on's own thread, and it
// merely queues the command until the logging tick takes it. While nothing is
// loaded every call does nothing, as the base link does.
#pragma once

#include "app/toolbox_library.h"
#include "logging/toolbox_link.h"
#include "platform/user_interface.h"
#include "setup/instrument_table.h"

#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <utility>

namespace korvel {

class ToolboxAddOn final : public ToolboxLink {
public:
    explicit ToolboxAddOn(InstrumentTable &table) : table_(table) { table_.addObserver(deletions_); }
    ~ToolboxAddOn() override {
        table_.removeObserver(deletions_);
        unload();
    }
    ToolboxAddOn(const ToolboxAddOn &) = delete;
    ToolboxAddOn &operator=(const ToolboxAddOn &) = delete;

    // Loads the add-on and checks its interface version, telling the user
    // why when it cannot be used; false then, and nothing stays loaded.
    bool load(const std::string &programDirectory, UserInterface &ui,
              const std::string &fileName = kToolboxLibraryName);
    // Tells the add-on to shut down, then unloads it.
    void unload();
    bool loaded() const { return library_ != nullptr; }

    // The end of start-up: the command channel, over which the add-on's
    // clients reach the logger.
    void openCommandChannel();
    // The setup file's path, when a setup is opened or saved.
    void setupFile(const std::string &path);

    // The instrument's scan queue of this many bytes (0: none), then its
    // channels; false when the add-on cannot have the queue.
    bool setQueue(unsigned bcn, std::uint32_t bytes);
    // setQueue with the size the slot's setup keeps; a queue the add-on
    // cannot have leaves the setup with none.
    bool announceInstrument(int slot);
    // announceInstrument for every instrument of the setup; false when some
    // queue could not be had.
    bool announceInstruments();
    // The instrument's channels changed: the add-on's clients name its
    // readings anew.
    void channelsChanged(int slot);
    // A new size from the settings dialog; false when the add-on cannot have
    // it, keeping the old queue.
    bool changeQueue(unsigned bcn, std::uint32_t bytes);

    void loggingChanged(int slot, bool on) override;
    void queueScans(int slot, const ScanBuffer &buffer) override;
    void reportError(int slot, int code) override;
    std::string filePath(ToolboxPath kind) override;
    void reply(std::uint16_t bcn, ToolboxReply code) override;
    void bcnChanged(unsigned oldBcn, unsigned newBcn) override;
    bool takePostedCommand(std::uint32_t &code, std::uint32_t &argument) override;

private:
    void remoteModeChanged(bool on) override;
    // The command channel's post function: any thread.
    static std::int32_t post(void *context, std::uint32_t code, std::uint32_t argument);
    const ToolboxEntryPoints &call() const { return library_->call(); }
    static std::int32_t bcnOf(unsigned bcn) { return static_cast<std::int32_t>(bcn); }
    std::int32_t bcnOfSlot(int slot) const { return bcnOf(table_.slot(slot).bcn); }

    // An instrument deleted in any way (its icon, Delete All of the
    // communications configuration, another setup) is gone for the add-on too.
    class Deletions final : public InstrumentTableObserver {
    public:
        explicit Deletions(ToolboxAddOn &addOn) : addOn_(addOn) {}
        void instrumentAdded(int, bool) override {}
        void instrumentDeleted(int slot, unsigned bcn) override;

    private:
        ToolboxAddOn &addOn_;
    };

    InstrumentTable &table_;
    Deletions deletions_{*this};
    std::unique_ptr<ToolboxLibrary> library_;
    std::mutex postedLock_;
    std::deque<std::pair<std::uint32_t, std::uint32_t>> posted_; // code, argument
};

} // namespace korvel
