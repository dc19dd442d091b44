#include "platform/display_presence.h"

#include <gtest/gtest.h>

#include <map>

using namespace korvel;

namespace {

struct Case {
    const char *what;
    std::map<std::string, std::string> environment;
    std::vector<std::string> arguments;
    bool available;
};

TEST(DisplayPresence, FollowsThePlatformQtWouldStart) {
    const Case cases[] = {
        {"nothing set", {}, {}, false},
        {"an X display", {{"DISPLAY", ":0"}}, {}, true},
        {"a Wayland display", {{"WAYLAND_DISPLAY", "wayland-0"}}, {}, true},
        {"an empty DISPLAY", {{"DISPLAY", ""}}, {}, false},
        {"offscreen needs none", {{"QT_QPA_PLATFORM", "offscreen"}}, {}, true},
        {"a platform with options", {{"QT_QPA_PLATFORM", "vnc:size=800x600"}}, {}, true},
        {"xcb named, no display", {{"QT_QPA_PLATFORM", "xcb"}, {"WAYLAND_DISPLAY", "wayland-0"}}, {}, false},
        {"wayland named, no display", {{"QT_QPA_PLATFORM", "wayland"}, {"DISPLAY", ":0"}}, {}, false},
        {"a list falls back", {{"QT_QPA_PLATFORM", "wayland;xcb"}, {"DISPLAY", ":0"}}, {}, true},
        {"a list of none", {{"QT_QPA_PLATFORM", "wayland;xcb"}}, {}, false},
        {"-platform wins", {{"QT_QPA_PLATFORM", "xcb"}}, {"/S", "-platform", "offscreen"}, true},
        {"--platform too", {}, {"--platform", "minimal"}, true},
        {"-display for xcb", {}, {"-display", ":1", "setup.stp"}, true},
        {"a platform unknown here is Qt's to judge", {{"QT_QPA_PLATFORM", "directfb"}}, {}, true},
    };
    for (const Case &c : cases) {
        const auto lookup = [&c](const char *name) {
            const auto found = c.environment.find(name);
            return found == c.environment.end() ? std::string() : found->second;
        };
        EXPECT_EQ(displayAvailable(c.arguments, lookup), c.available) << c.what;
    }
}

} // namespace
