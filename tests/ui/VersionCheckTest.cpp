// The version check against a small HTTP server of the test's own on 127.0.0.1, and the
// latest-version text.
#include "CheckVerThread.h"
#include "TallywickFrame.h"
#include "UiTestSupport.h"

#include <arpa/inet.h>
#include <atomic>
#include <chrono>
#include <netinet/in.h>
#include <string>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

namespace {
const char* const CHECK_FAILED = "An unknown error occurred while checking for updates.";

// Answers every connection with one fixed reply, after an optional delay, then closes it.
class TinyHttpServer {
public:
    explicit TinyHttpServer(const std::string& reply, int delayMs = 0) {
        m_fd = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in addr{};
        addr.sin_family = AF_INET;
        addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof addr;
        if (bind(m_fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 ||
            listen(m_fd, 4) != 0 ||
            getsockname(m_fd, reinterpret_cast<sockaddr*>(&addr), &length) != 0)
            ADD_FAILURE() << "the test server could not listen";
        m_port = ntohs(addr.sin_port);
        m_thread = std::thread([this, reply, delayMs] {
            for (int client; (client = accept(m_fd, nullptr, nullptr)) >= 0; close(client)) {
                std::string request;
                for (char c;
                     request.find("\r\n\r\n") == std::string::npos && recv(client, &c, 1, 0) == 1;)
                    request += c;
                // Only the program's own request counts.
                m_requests += request.rfind("GET /corvanes HTTP/1.", 0) == 0 ? 1 : 100;
                std::this_thread::sleep_for(std::chrono::milliseconds(delayMs));
                // A blocking send takes the whole reply, or fails when the client has gone.
                send(client, reply.data(), reply.size(), MSG_NOSIGNAL);
                m_answered = true;
            }
        });
    }
    ~TinyHttpServer() {
        shutdown(m_fd, SHUT_RDWR); // ends the accept
        m_thread.join();
        close(m_fd);
    }
    int m_fd = -1;
    unsigned short m_port = 0;
    std::thread m_thread;
    std::atomic<int> m_requests{0};
    std::atomic<bool> m_answered{false};
};

// A port on which nothing listens.
unsigned short ClosedPort() {
    return TinyHttpServer("").m_port;
}

using Thread = std::unique_ptr<CheckVerThread, CheckVerThread::Joiner>;

Thread StartCheck(TallywickFrame* frame, unsigned short port) {
    Thread thread(new CheckVerThread(frame));
    thread->m_strHost = "127.0.0.1";
    thread->m_nPort = port;
    EXPECT_EQ(thread->Run(), wxTHREAD_NO_ERROR);
    return thread;
}

wxString LatestVersion(TallywickFrame* frame) {
    wxMutexLocker lock(frame->m_mutexVersion);
    return frame->m_strLatestVersion;
}

class VersionCheckTest : public uitest::ProgramTest {};

// Only a well-formed marker in the first 64 KB of a 200 reply is stored; failures are told.
TEST_F(VersionCheckTest, OnlyAWellFormedVersionInAGoodReplyIsStoredAndAClosingWaitsForIt) {
    const std::string ok = "HTTP/1.1 200 OK\r\nContent-Type: text/html\r\n\r\n";
    struct Case {
        std::string reply;
        const char* version;
        wxString message;
    };
    const Case cases[] = {
        {ok + "<html>\n<p>Latest: $4.1.0.0$ stable</p>\n<p>$5.0$</p>\n", "4.1.0.0", ""},
        {ok + "<script>$(function() { $('#v').text('$'); });</script>\n<p>$4.2$</p>", "4.2", ""},
        {ok + "<html>no version</html>", "before", ""},
        {ok + std::string(64 * 1024, 'x') + "$7.7$", "before", ""},
        {"HTTP/1.1 301 Moved Permanently\r\nLocation: http://a.example/\r\n\r\n$9.9$", "before",
         ""},
        {"HTTP/1.1 404 Not Found\r\n\r\n$9.9$", "before", CHECK_FAILED},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.reply.substr(0, 80));
        frame->SetLatestVersion("before");
        TinyHttpServer server(c.reply);
        Thread thread = StartCheck(frame, server.m_port);
        thread->Wait();
        EXPECT_EQ(LatestVersion(frame), c.version);
        if (c.message.empty())
            uitest::Idle(); // any message would fail the test
        else
            wxTEST_DIALOG(uitest::Idle(), uitest::ExpectMessage(c.message));
        EXPECT_EQ(server.m_requests, 1);
    }

    frame->SetLatestVersion("before");
    Thread thread = StartCheck(frame, ClosedPort());
    thread->Wait();
    wxTEST_DIALOG(uitest::Idle(),
                  uitest::ExpectMessage(wxString(CHECK_FAILED) + "\nPlease check your internet "
                                                                 "connection and try again."));
    EXPECT_EQ(LatestVersion(frame), "before");

    // An empty version stays empty.
    frame->SetLatestVersion("");
    frame->PrefixLatestVersion();
    EXPECT_EQ(LatestVersion(frame), "");
    frame->SetLatestVersion("4.1.0.0");
    frame->PrefixLatestVersion();
    EXPECT_EQ(LatestVersion(frame), "Latest Version - 4.1.0.0");

    // Closing the window waits for a running check instead of leaving it a dead frame.
    TinyHttpServer slow("HTTP/1.0 200 OK\r\n\r\n$4.3$", 600);
    frame->m_pCheckVerThread = StartCheck(frame, slow.m_port);
    ASSERT_TRUE(uitest::WaitFor([&] { return slow.m_requests > 0; }));
    uitest::CloseProgram(frame);
    frame = nullptr;
    EXPECT_TRUE(slow.m_answered);
}

TEST(FindVersionTest, TakesTheFirstMarkerOfTwoToFourNumbers) {
    const char* const cases[][2] = {{"Latest: $4.1.0.0$ stable\n$5.0$", "4.1.0.0"},
                                    {"$x$4.10$", "4.10"}};
    for (const auto& [reply, version] : cases)
        EXPECT_EQ(CheckVerThread::FindVersion(reply), version) << reply;
    for (const char* reply : {"$$", "one $ only", "$4$", "$4.1.0.0.0$", "$4.1.$", "$.4.1$", "$4.1"})
        EXPECT_EQ(CheckVerThread::FindVersion(reply), "") << reply;
}

} // namespace
