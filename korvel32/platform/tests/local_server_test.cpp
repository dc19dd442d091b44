// The local-socket service helper against real sockets in a private runtime
// directory: who may connect, how names are taken, and how clients that
// misbehave are bounded.
#include "platform/local_client.h"
#include "platform/local_name_claim.h"
#include "platform/local_server.h"
#include "platform/local_service_directory.h"
#include "platform/local_socket.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <system_error>
#include <vector>

#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "temp_dir.h"
#include "wait_for.h"

namespace korvel {
namespace {

constexpr int kBoundMs = 10000;
constexpr uid_t kNobody = 65534;

// Answers every line with "echo <line>" and keeps a record of its clients.
class EchoService : public LocalServerHandler {
public:
    void connected(LocalConnectionId id) override { clients.insert(id); }
    void lineReceived(LocalConnectionId id, const std::string &line) override {
        lines.push_back(line);
        server->send(id, "echo " + line);
    }
    void disconnected(LocalConnectionId id) override {
        clients.erase(id);
        ++disconnects;
    }

    LocalServer *server = nullptr;
    std::set<LocalConnectionId> clients;
    std::vector<std::string> lines;
    int disconnects = 0;
};

class LocalServerTest : public ::testing::Test {
protected:
    void SetUp() override { ::setenv("XDG_RUNTIME_DIR", runtime.path().c_str(), 1); }
    void TearDown() override { ::unsetenv("XDG_RUNTIME_DIR"); }

    LocalServer &startServer(LocalServerLimits limits = {}) {
        server = std::make_unique<LocalServer>("service", echo, limits);
        echo.server = server.get();
        return *server;
    }

    // The one thread of these tests drives the server between its client calls.
    void pump(int timeoutMs = 10) {
        std::vector<pollfd> descriptors;
        server->appendDescriptors(descriptors);
        ::poll(descriptors.data(), descriptors.size(), timeoutMs);
        server->serve(descriptors);
    }
    bool pumpUntil(const std::function<bool()> &condition) {
        return kvtest::waitFor(
            [&] {
                pump();
                return condition();
            },
            kBoundMs);
    }
    // The client's next line, or what ended the wait.
    LocalClient::Read reply(LocalClient &client, std::string &line) {
        LocalClient::Read result = LocalClient::Read::TimedOut;
        pumpUntil([&] { return (result = client.readLine(line, 0)) != LocalClient::Read::TimedOut; });
        return result;
    }
    // The client is served: what it sends comes back.
    void expectEcho(LocalClient &client, const std::string &text) {
        ASSERT_TRUE(client.sendLine(text));
        std::string line;
        ASSERT_EQ(reply(client, line), LocalClient::Read::Line);
        EXPECT_EQ(line, "echo " + text);
    }

    kvtest::TempDir runtime;
    EchoService echo;
    std::unique_ptr<LocalServer> server;
};

TEST_F(LocalServerTest, TheDirectoryIsPrivateToTheUser) {
    startServer();
    const std::string directory = runtime.path() + "/korvel32";
    EXPECT_EQ(server->path(), directory + "/service");
    struct stat status {};
    ASSERT_EQ(::stat(directory.c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 07777, 0700u);
    EXPECT_EQ(status.st_uid, ::geteuid());
    ASSERT_EQ(::lstat(server->path().c_str(), &status), 0);
    EXPECT_TRUE(S_ISSOCK(status.st_mode));
    server.reset();
    EXPECT_NE(::access((directory + "/service").c_str(), F_OK), 0) << "the socket goes with its server";
}

TEST_F(LocalServerTest, ADirectoryOthersMayEnterIsRefused) {
    const std::string directory = runtime.path() + "/korvel32";
    ASSERT_EQ(::mkdir(directory.c_str(), 0700), 0);
    ASSERT_EQ(::chmod(directory.c_str(), 0755), 0);
    EXPECT_THROW(startServer(), std::system_error);

    ASSERT_EQ(::rmdir(directory.c_str()), 0);
    const std::string elsewhere = runtime.path() + "/elsewhere";
    ASSERT_EQ(::mkdir(elsewhere.c_str(), 0700), 0);
    ASSERT_EQ(::symlink(elsewhere.c_str(), directory.c_str()), 0);
    EXPECT_THROW(startServer(), std::system_error) << "a link could lead anywhere";

    if (::geteuid() == 0) {
        ASSERT_EQ(::unlink(directory.c_str()), 0);
        ASSERT_EQ(::mkdir(directory.c_str(), 0700), 0);
        ASSERT_EQ(::chown(directory.c_str(), kNobody, kNobody), 0);
        EXPECT_THROW(startServer(), std::system_error) << "another user's directory";
    }
}

TEST_F(LocalServerTest, WithoutARuntimeDirectoryTheUsersTmpDirectoryServes) {
    const std::string fallback = "/tmp/korvel32-" + std::to_string(::geteuid());
    ::setenv("XDG_RUNTIME_DIR", (runtime.path() + "/missing").c_str(), 1);
    EXPECT_EQ(localServiceDirectory(), fallback);
    ::unsetenv("XDG_RUNTIME_DIR");
    EXPECT_EQ(localServicePath("toolbox"), fallback + "/toolbox");
    ::setenv("XDG_RUNTIME_DIR", "relative/dir", 1);
    EXPECT_EQ(localServiceDirectory(), fallback);
}

TEST_F(LocalServerTest, AClientOfTheSameUserExchangesLines) {
    startServer();
    LocalClient client("service");
    ASSERT_TRUE(pumpUntil([&] { return echo.clients.size() == 1; }));
    ASSERT_TRUE(client.sendLine("first"));
    ASSERT_TRUE(client.sendLine("second\r")); // a line ended CR LF loses both
    std::string line;
    ASSERT_EQ(reply(client, line), LocalClient::Read::Line);
    EXPECT_EQ(line, "echo first");
    ASSERT_EQ(reply(client, line), LocalClient::Read::Line);
    EXPECT_EQ(line, "echo second");
}

TEST_F(LocalServerTest, AClientThatHasSaidAllStillGetsItsAnswers) {
    startServer();
    LocalClient client("service");
    ASSERT_TRUE(client.sendLine("last words"));
    ASSERT_EQ(::shutdown(client.descriptor(), SHUT_WR), 0);
    std::string line;
    ASSERT_EQ(reply(client, line), LocalClient::Read::Line);
    EXPECT_EQ(line, "echo last words");
    EXPECT_EQ(reply(client, line), LocalClient::Read::Closed);
    EXPECT_EQ(echo.disconnects, 1);
}

TEST_F(LocalServerTest, APeerOfAnotherUserIsRefused) {
    if (::geteuid() != 0) GTEST_SKIP() << "needs root to run a peer as another user";
    startServer();
    // Only the directories keep other users out; open them up to reach the
    // credentials check behind them.
    ASSERT_EQ(::chmod(runtime.path().c_str(), 0755), 0);
    ASSERT_EQ(::chmod((runtime.path() + "/korvel32").c_str(), 0755), 0);
    ASSERT_EQ(::chmod(server->path().c_str(), 0777), 0);
    const sockaddr_un address = localSocketAddress(server->path());
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        // Only async-signal-safe calls here. Exit 0: connected, and the
        // server closed without a word.
        if (::setgid(kNobody) != 0 || ::setuid(kNobody) != 0) ::_exit(3);
        const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
        if (::connect(fd, reinterpret_cast<const sockaddr *>(&address), sizeof(address)) != 0) ::_exit(4);
        const char request[] = "hello\n";
        if (::send(fd, request, sizeof(request) - 1, MSG_NOSIGNAL) < 0) ::_exit(0); // already closed
        char answer[64];
        ::_exit(::recv(fd, answer, sizeof(answer), 0) <= 0 ? 0 : 5);
    }
    int status = -1;
    ASSERT_TRUE(pumpUntil([&] { return ::waitpid(child, &status, WNOHANG) == child; }));
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_TRUE(echo.lines.empty());
    EXPECT_TRUE(echo.clients.empty());
    EXPECT_EQ(echo.disconnects, 0) << "a refused peer never became a client";
}

TEST_F(LocalServerTest, ASocketLeftByAProcessThatEndedIsTakenOver) {
    const std::string directory = privateLocalServiceDirectory();
    const sockaddr_un address = localSocketAddress(directory + "/service");
    const int abandoned = ::socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_EQ(::bind(abandoned, reinterpret_cast<const sockaddr *>(&address), sizeof(address)), 0);
    ::close(abandoned); // the socket file stays behind, as after a crash

    startServer();
    LocalClient client("service");
    expectEcho(client, "alive");
}

TEST_F(LocalServerTest, ANameInUseByARunningServerIsRefused) {
    startServer();
    EchoService second;
    try {
        LocalServer intruder("service", second);
        FAIL() << "a second server took a live name";
    } catch (const std::system_error &error) {
        EXPECT_EQ(error.code().value(), EADDRINUSE);
    }
    // The first server is untouched.
    LocalClient client("service");
    expectEcho(client, "still here");
}

TEST_F(LocalServerTest, ANameClaimedOutsideAServerIsFreeOnceItsHolderLetsGo) {
    const std::string path = privateLocalServiceDirectory() + "/window";
    std::optional<LocalNameClaim> held = LocalNameClaim::tryClaim(path);
    ASSERT_TRUE(held);
    EXPECT_FALSE(LocalNameClaim::tryClaim(path)) << "two holders of one name";
    held.reset();
    EXPECT_TRUE(LocalNameClaim::tryClaim(path));
}

TEST_F(LocalServerTest, SomethingElseAtTheSocketsPathIsLeftAlone) {
    const std::string path = privateLocalServiceDirectory() + "/service";
    { std::unique_ptr<FILE, int (*)(FILE *)> file(std::fopen(path.c_str(), "w"), std::fclose); }
    EXPECT_THROW(startServer(), std::system_error);
    EXPECT_EQ(::access(path.c_str(), F_OK), 0);
}

TEST_F(LocalServerTest, AnOverlongLineEndsOnlyItsConnection) {
    startServer({.maxLineBytes = 64});
    LocalClient polite("service");
    LocalClient rude("service");
    ASSERT_TRUE(pumpUntil([&] { return echo.clients.size() == 2; }));
    ASSERT_TRUE(rude.sendLine(std::string(64, 'x')));
    std::string line;
    ASSERT_EQ(reply(rude, line), LocalClient::Read::Line) << "a line at the bound is served";
    ASSERT_TRUE(rude.sendLine(std::string(65, 'y')));
    EXPECT_EQ(reply(rude, line), LocalClient::Read::Closed);
    EXPECT_EQ(echo.lines.size(), 1u);

    expectEcho(polite, "fine");
}

TEST_F(LocalServerTest, AClientThatNeverReadsIsDroppedNotWaitedFor) {
    startServer({.maxPendingBytes = 64 * 1024});
    LocalClient deaf("service");
    LocalClient listening("service");
    ASSERT_TRUE(pumpUntil([&] { return echo.clients.size() == 2; }));
    const LocalConnectionId deafId = *echo.clients.begin();
    const std::string chunk(1000, 'z');
    // Every send returns at once; the kernel's buffers fill first, then ours,
    // and then the client is let go.
    int sends = 0;
    while (server->send(deafId, chunk)) ASSERT_LT(++sends, 100000);
    EXPECT_EQ(echo.clients.size(), 1u);
    EXPECT_EQ(echo.disconnects, 1);

    expectEcho(listening, "served");
}

TEST_F(LocalServerTest, ConnectionsBeyondTheLimitAreClosedAtOnce) {
    startServer({.maxConnections = 1});
    LocalClient first("service");
    ASSERT_TRUE(pumpUntil([&] { return echo.clients.size() == 1; }));
    LocalClient second("service");
    std::string line;
    EXPECT_EQ(reply(second, line), LocalClient::Read::Closed);
    expectEcho(first, "one");
}

TEST_F(LocalServerTest, AClientTurnedAwayHearsWhyWhenTheServiceSaysSo) {
    startServer({.maxConnections = 1, .refusal = "busy"});
    LocalClient first("service");
    ASSERT_TRUE(pumpUntil([&] { return echo.clients.size() == 1; }));
    LocalClient second("service");
    std::string line;
    ASSERT_EQ(reply(second, line), LocalClient::Read::Line);
    EXPECT_EQ(line, "busy");
    EXPECT_EQ(reply(second, line), LocalClient::Read::Closed);
    EXPECT_EQ(echo.clients.size(), 1u);
}

TEST_F(LocalServerTest, NothingListeningMeansNoClient) {
    try {
        LocalClient client("nobody-here");
        FAIL() << "connected to nothing";
    } catch (const std::system_error &error) {
        EXPECT_EQ(error.code().value(), ENOENT);
    }
}

} // namespace
} // namespace korvel
