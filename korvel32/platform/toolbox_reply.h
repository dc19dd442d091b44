// The reply code that ends every remote command of the toolbox: 0 when the
// command was carried out, else why it was refused. The toolbox receives it
// sign-extended; the Mx+B load's codes are the same 16-bit values.
#pragma once

#include <cstdint>

namespace korvel {

enum class ToolboxReply : std::int16_t {
    Done = 0,
    ModalDialogOpen = -6000,
    RemoteModeAlreadyOn = -6001,
    RemoteModeAlreadyOff = -6002,
    NoSuchInstrument = -6003,
    Slave = -6004,
    InstrumentLogging = -6005, // the instrument, or for a setup command any instrument, logs
    NotLogging = -6006,        // or already stopping
    UnsavedChanges = -6007,
    NoSuchMxbFile = -6025,
    NoSuchSetupFile = -6026,
    CannotCreateSetupFile = -6027,
    UnableToStop = -6038, // scanning could not be disabled
};

} // namespace korvel
