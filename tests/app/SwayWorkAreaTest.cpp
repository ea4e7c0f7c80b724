#include "SwayWorkArea.h"

#include <QElapsedTimer>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <ostream>
#include <thread>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

struct RepliesCase
{
    const char *name;
    const char *workspaces;
    const char *outputs;
    std::optional<SwayWorkArea::Area> expected;
};

void PrintTo(const RepliesCase &c, std::ostream *out)
{
    *out << c.name;
}

class SwayRepliesTest : public ::testing::TestWithParam<RepliesCase>
{
};

TEST_P(SwayRepliesTest, TheFocusedWorkspaceGivesTheArea)
{
    const RepliesCase &c = GetParam();
    const auto area = SwayWorkArea::fromReplies(c.workspaces, c.outputs);
    ASSERT_EQ(area.has_value(), c.expected.has_value());
    if (area) {
        EXPECT_EQ(area->output, c.expected->output);
        EXPECT_EQ(area->workArea, c.expected->workArea);
    }
}

// As sway 1.7 answers with waybar on top: the workspace's rectangle is what
// the bar's exclusive zone leaves.
constexpr char kTwoOutputs[] = R"([
  {"name": "HEADLESS-1", "active": true, "rect": {"x": 0, "y": 0, "width": 1280, "height": 800}},
  {"name": "HEADLESS-2", "active": true, "rect": {"x": 1280, "y": 0, "width": 1024, "height": 768}}])";

INSTANTIATE_TEST_SUITE_P(Replies, SwayRepliesTest,
    ::testing::Values(RepliesCase{"FocusedOnTheFirst",
                          R"([{"num": 1, "focused": true, "output": "HEADLESS-1",
                 "rect": {"x": 0, "y": 26, "width": 1280, "height": 774}},
                {"num": 2, "focused": false, "output": "HEADLESS-2",
                 "rect": {"x": 1280, "y": 0, "width": 1024, "height": 740}}])",
                          kTwoOutputs, SwayWorkArea::Area{{0, 0, 1280, 800}, {0, 26, 1280, 774}}},
        RepliesCase{"FocusedOnTheSecond",
            R"([{"num": 1, "focused": false, "output": "HEADLESS-1",
                 "rect": {"x": 0, "y": 26, "width": 1280, "height": 774}},
                {"num": 2, "focused": true, "output": "HEADLESS-2",
                 "rect": {"x": 1280, "y": 0, "width": 1024, "height": 740}}])",
            kTwoOutputs, SwayWorkArea::Area{{1280, 0, 1024, 768}, {1280, 0, 1024, 740}}},
        RepliesCase{"NotLaidOutYet",
            R"([{"focused": true, "output": "HEADLESS-1", "rect": {"x": 0, "y": 0, "width": 0, "height": 0}}])",
            kTwoOutputs, SwayWorkArea::Area{{0, 0, 1280, 800}, {0, 0, 1280, 800}}},
        RepliesCase{"NoFocusedWorkspace",
            R"([{"focused": false, "output": "HEADLESS-1", "rect": {"x": 0, "y": 26, "width": 1280, "height": 774}}])",
            kTwoOutputs, std::nullopt},
        RepliesCase{"OutputGone",
            R"([{"focused": true, "output": "DP-3", "rect": {"x": 0, "y": 26, "width": 1280, "height": 774}}])",
            kTwoOutputs, std::nullopt},
        RepliesCase{"NotJson", "i3-ipc", "{", std::nullopt},
        RepliesCase{"AnErrorReply", R"({"success": false, "error": "unknown"})", kTwoOutputs, std::nullopt}),
    [](const ::testing::TestParamInfo<RepliesCase> &info) { return std::string(info.param.name); });

// A sway that answers one connection the way `how` says: in order, a
// workspace under a top bar and its output, for requests it checks byte by
// byte.
enum class Sway { Answers, Silent, AnswersAnotherType, ClosesAtOnce };

struct ServerCase
{
    const char *name;
    Sway how;
    bool answered;
};

void PrintTo(const ServerCase &c, std::ostream *out)
{
    *out << c.name;
}

class FakeSway
{
public:
    FakeSway(const QString &path, Sway how)
    {
        m_listener = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        const QByteArray name = path.toLocal8Bit();
        std::memcpy(address.sun_path, name.constData(), static_cast<std::size_t>(name.size()));
        m_ready = ::bind(m_listener, reinterpret_cast<const sockaddr *>(&address), sizeof address) == 0
            && ::listen(m_listener, 1) == 0;
        if (m_ready)
            m_thread = std::thread([this, how] { serve(how); });
    }
    ~FakeSway()
    {
        finish();
        ::close(m_listener);
    }
    bool ready() const { return m_ready; }
    // Waits for the connection to end; what the client sent that a sway
    // would refuse.
    std::string finish()
    {
        if (m_thread.joinable())
            m_thread.join();
        return complaint;
    }

private:
    void serve(Sway how)
    {
        const int peer = ::accept(m_listener, nullptr, nullptr);
        if (peer < 0)
            return;
        static const char *const replies[] = {
            R"([{"focused": true, "output": "HEADLESS-1", "rect": {"x": 0, "y": 26, "width": 1280, "height": 774}}])",
            R"([{"name": "HEADLESS-1", "rect": {"x": 0, "y": 0, "width": 1280, "height": 800}}])"};
        const std::uint32_t expectedTypes[] = {1, 3};
        for (int step = 0; step < 2 && how != Sway::ClosesAtOnce; ++step) {
            char header[14];
            const ssize_t got = ::recv(peer, header, sizeof header, MSG_WAITALL);
            if (got <= 0)
                break; // the client gave up (closed, or reset the connection)
            if (got != sizeof header) {
                complaint = "short header";
                break;
            }
            std::uint32_t length = 0;
            std::uint32_t type = 0;
            std::memcpy(&length, header + 6, 4);
            std::memcpy(&type, header + 10, 4);
            if (std::memcmp(header, "i3-ipc", 6) != 0 || length != 0 || type != expectedTypes[step]) {
                complaint = "bad request " + std::to_string(step);
                break;
            }
            if (how == Sway::Silent) {
                char rest;
                ::recv(peer, &rest, 1, 0); // until the client gives up
                break;
            }
            const auto replyLength = static_cast<std::uint32_t>(std::strlen(replies[step]));
            const std::uint32_t replyType = how == Sway::AnswersAnotherType ? 4 : type;
            std::memcpy(header + 6, &replyLength, 4);
            std::memcpy(header + 10, &replyType, 4);
            ::send(peer, header, sizeof header, MSG_NOSIGNAL);
            ::send(peer, replies[step], replyLength, MSG_NOSIGNAL);
        }
        ::close(peer);
    }

    std::string complaint;
    int m_listener = -1;
    bool m_ready = false;
    std::thread m_thread;
};

class SwayIpcTest : public ::testing::TestWithParam<ServerCase>
{
};

TEST_P(SwayIpcTest, AsksOverTheSocketAndGivesUpInTime)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("sway-ipc.sock"));
    std::optional<SwayWorkArea::Area> area;
    QElapsedTimer took;
    {
        FakeSway sway(path, GetParam().how);
        ASSERT_TRUE(sway.ready());
        took.start();
        area = SwayWorkArea::query(path, 300);
        EXPECT_LT(took.elapsed(), 2000);
        EXPECT_EQ(sway.finish(), "");
    }
    ASSERT_EQ(area.has_value(), GetParam().answered);
    if (area) {
        EXPECT_EQ(area->output, QRect(0, 0, 1280, 800));
        EXPECT_EQ(area->workArea, QRect(0, 26, 1280, 774));
    }
}

INSTANTIATE_TEST_SUITE_P(Servers, SwayIpcTest,
    ::testing::Values(ServerCase{"Answers", Sway::Answers, true}, ServerCase{"Silent", Sway::Silent, false},
        ServerCase{"AnswersAnotherType", Sway::AnswersAnotherType, false},
        ServerCase{"ClosesAtOnce", Sway::ClosesAtOnce, false}),
    [](const ::testing::TestParamInfo<ServerCase> &info) { return std::string(info.param.name); });

TEST(SwayIpc, NoSocketThereNoArea)
{
    EXPECT_FALSE(SwayWorkArea::query(QStringLiteral("/nonexistent/sway-ipc.sock")));
    EXPECT_FALSE(SwayWorkArea::query(QString()));
}

} // namespace
