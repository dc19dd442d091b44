#include "platform/display_presence.h"

#include <cstdlib>
#include <string_view>

namespace korvel {
namespace {

// Platforms that draw without a display server: into memory, a framebuffer
// device or a VNC connection.
constexpr std::string_view kServerless[] = {"offscreen", "minimal", "minimalegl",  "linuxfb",
                                            "eglfs",     "vnc",     "vkkhrdisplay"};

// The value of a Qt option such as -platform or -display (Qt takes "--" too).
std::string optionValue(const std::vector<std::string> &arguments, std::string_view option) {
    for (std::size_t i = 0; i + 1 < arguments.size(); ++i) {
        std::string_view argument = arguments[i];
        if (argument.starts_with("--")) argument.remove_prefix(1);
        if (argument == option) return arguments[i + 1];
    }
    return {};
}

bool platformFindsDisplay(std::string_view platform, const std::vector<std::string> &arguments,
                          const EnvironmentLookup &environment) {
    platform = platform.substr(0, platform.find(':')); // options follow the name
    if (platform == "xcb") return !environment("DISPLAY").empty() || !optionValue(arguments, "-display").empty();
    if (platform.starts_with("wayland")) return !environment("WAYLAND_DISPLAY").empty();
    for (const std::string_view serverless : kServerless) {
        if (platform == serverless) return true;
    }
    // A platform unknown here: Qt itself says whether it can start it.
    return true;
}

} // namespace

std::string processEnvironment(const char *name) {
    const char *value = std::getenv(name);
    return value != nullptr ? value : "";
}

bool displayAvailable(const std::vector<std::string> &arguments, const EnvironmentLookup &environment) {
    std::string platforms = optionValue(arguments, "-platform");
    if (platforms.empty()) platforms = environment("QT_QPA_PLATFORM");
    if (platforms.empty())
        return platformFindsDisplay("xcb", arguments, environment) ||
               platformFindsDisplay("wayland", arguments, environment);
    std::string_view rest = platforms;
    while (!rest.empty()) {
        const std::size_t end = rest.find(';');
        const std::string_view platform = rest.substr(0, end);
        if (!platform.empty() && platformFindsDisplay(platform, arguments, environment)) return true;
        rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
    }
    return false;
}

} // namespace korvel
