#include "app/program_directory.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace korvel {

std::string directoryOf(const std::string &programFile) {
    const std::size_t slash = programFile.rfind('/');
    return slash == std::string::npos ? std::string() : programFile.substr(0, slash + 1);
}

std::string programDirectory() {
    if (const char *home = std::getenv("KORVEL32_HOME"); home != nullptr && *home != '\0') {
        std::string directory(home);
        if (directory.back() != '/') directory += '/';
        return directory;
    }
    std::error_code error;
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::string() : directoryOf(program.string());
}

} // namespace korvel
