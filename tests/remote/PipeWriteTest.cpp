// A frame goes into the stream straight from the caller only when the pipe takes it at once;
// otherwise the channel's writer sends it later, in order, and the caller never waits.
#include "phone/remote/Framing.h"
#include "phone/remote/PipeStream.h"
#include "phone/remote/WatchedChannel.h"

#include <gtest/gtest.h>

#include <limits.h>
#include <poll.h>
#include <unistd.h>

#include <cstddef>
#include <vector>

using namespace std::chrono_literals;
using namespace phone::remote;

namespace {

std::vector<std::byte> bytes(std::size_t count, unsigned char fill)
{
    return std::vector<std::byte>(count, std::byte{fill});
}

bool readable(const Handle &handle)
{
    pollfd fd{handle.native(), POLLIN, 0};
    return ::poll(&fd, 1, 0) == 1;
}

// Reads what is in the pipe now.
std::size_t drain(const Handle &handle)
{
    std::size_t total = 0;
    std::vector<std::byte> buffer(64 * 1024);
    while (readable(handle)) {
        const ssize_t got = ::read(handle.native(), buffer.data(), buffer.size());
        if (got <= 0)
            break;
        total += static_cast<std::size_t>(got);
    }
    return total;
}

struct LoosePipe
{
    Pipe toReader = makePipe();
    Pipe unused = makePipe();
    PipeStream stream{std::move(unused.readEnd), std::move(toReader.writeEnd)};
};

TEST(PipeTryWrite, TakesASmallWriteWhole)
{
    LoosePipe pipe;
    EXPECT_TRUE(pipe.stream.tryWrite(bytes(PIPE_BUF, 1)));
    EXPECT_EQ(drain(pipe.toReader.readEnd), std::size_t{PIPE_BUF});
}

TEST(PipeTryWrite, RefusesMoreThanThePipeTakesAtOnceAndWritesNothing)
{
    LoosePipe pipe;
    EXPECT_FALSE(pipe.stream.tryWrite(bytes(PIPE_BUF + 1, 1)));
    EXPECT_FALSE(readable(pipe.toReader.readEnd));
}

TEST(PipeTryWrite, RefusesAFullPipeWholeAndTakesAgainOnceRead)
{
    LoosePipe pipe;
    std::size_t written = 0;
    for (int i = 0; i < 10000 && pipe.stream.tryWrite(bytes(1000, 2)); ++i)
        written += 1000;
    ASSERT_GT(written, 0u);
    ASSERT_LT(written, 10000u * 1000u) << "the pipe never filled";
    // Nothing of the refused write went in.
    EXPECT_EQ(drain(pipe.toReader.readEnd), written);
    EXPECT_TRUE(pipe.stream.tryWrite(bytes(1000, 3)));
}

// The host reads nothing until the bench has sent far more than a pipe holds.
TEST(WatchedChannelSend, NeverWaitsAndKeepsTheOrderWhenThePipeFills)
{
    Pipe toHost = makePipe();
    Pipe fromHost = makePipe();
    PipeStream benchStream(std::move(fromHost.readEnd), std::move(toHost.writeEnd));
    PipeStream hostStream(std::move(toHost.readEnd), std::move(fromHost.writeEnd));
    WatchedChannel channel(benchStream, 5s);
    constexpr int count = 300; // 300 kB: several times what the pipe holds
    for (int i = 0; i < count; ++i)
        channel.send(bytes(i % 2 ? 1000 : 100, static_cast<unsigned char>(i)));
    BufferedReader reader(hostStream);
    for (int i = 0; i < count; ++i) {
        const auto frame = readFrame(reader);
        ASSERT_TRUE(frame);
        EXPECT_EQ(*frame, bytes(i % 2 ? 1000 : 100, static_cast<unsigned char>(i))) << i;
    }
}

} // namespace
