// korvel-sim: serves simulated Korvel instruments over the wire protocol
// for tests and demonstrations. See --help.
#include <csignal>
#include <cstdlib>
#include <iostream>
#include <memory>
#include <stdexcept>

#include "calibration_control.h"
#include "calibration_port.h"
#include "control_channel.h"
#include "options.h"
#include "served_instruments.h"
#include "server.h"

int main(int argc, char **argv) {
    using namespace korvelsim;
    std::signal(SIGPIPE, SIG_IGN);
    try {
        const Options options = parseOptions(std::vector<std::string>(argv + 1, argv + argc));
        if (options.help) {
            std::cout << usageText();
            return EXIT_SUCCESS;
        }
        ServedInstruments served = resolveInstruments(options, std::getenv("KVLINK32_ISOLATED_PREFIX"));
        Server server(served.instruments);
        ControlChannel control(served.instruments, server);
        CalibrationInstrument calibrationInstrument;
        std::unique_ptr<CalibrationPort> calibrationPort;
        std::unique_ptr<CalibrationControl> calibrationControl;
        if (options.serial) {
            calibrationPort = std::make_unique<CalibrationPort>(calibrationInstrument);
            calibrationControl = std::make_unique<CalibrationControl>(*calibrationPort, calibrationInstrument);
            server.addPeer(*calibrationPort);
            control.attachCalibrationPort(*calibrationControl);
        }
        for (const std::string &fault : options.faults) {
            const std::string reply = control.executeFault(fault);
            if (reply.rfind("ok", 0) != 0) {
                throw std::invalid_argument("--fault \"" + fault + "\": " + reply);
            }
        }
        std::string error;
        if (!server.listen(served.port, error)) {
            throw std::runtime_error(error);
        }
        if (calibrationPort) {
            std::cout << "serial " << calibrationPort->path() << "\n";
        }
        std::cout << "ready port=" << server.basePort() << std::endl;
        server.run([&control](const std::string &line) { return control.execute(line); });
        return EXIT_SUCCESS;
    } catch (const std::exception &problem) {
        std::cerr << "korvel-sim: " << problem.what() << "\n";
        return 2;
    }
}
