// A control host for the tests: serves the scripted control on standard input and output,
// or misbehaves at the first Dial as its first argument says:
//   serve            behaves
//   exit-at-start    ends before reading anything
//   exit-mid-call    ends without answering
//   silent-mid-call  never answers, and reads nothing more
//   garbage-mid-call sends a frame of no known type, then answers
//   huge-frame       announces a frame of 4 GiB, then answers
// LatestText answers $TERVANI_TEST_TEXT when set. At a clean end it writes "released" or
// "kept" (the control) into $TERVANI_TEST_EXIT_FILE.
#include "ScriptedHostControl.h"
#include "cli/CommandLine.h"

#include "phone/Error.h"
#include "phone/Members.h"
#include "phone/remote/HostServer.h"
#include "phone/remote/PipeStream.h"
#include "phone/remote/StreamChannel.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>
#include <thread>

using namespace phone::remote;
using remote_test::IdleChannel;
using remote_test::ScriptedHostControl;

namespace {

class MisbehavingControl final : public phone::Dispatch
{
public:
    MisbehavingControl(std::string mode, ByteStream &stream, bool *released)
        : m_mode(std::move(mode))
        , m_stream(stream)
        , m_owned(std::make_unique<ScriptedHostControl>(released))
        , m_inner(*m_owned)
    {}

    ScriptedHostControl &inner() { return m_inner; }

    phone::Value getProperty(std::int32_t dispId) override
    {
        const char *text = std::getenv("TERVANI_TEST_TEXT");
        if (dispId == phone::dispid::LatestText && text)
            return std::u16string(text, text + std::char_traits<char>::length(text));
        return m_inner.getProperty(dispId);
    }
    void putProperty(std::int32_t dispId, const phone::Value &value) override
    {
        m_inner.putProperty(dispId, value);
    }
    phone::Value invoke(std::int32_t dispId, std::span<phone::Argument> arguments) override
    {
        if (dispId == phone::dispid::Dial)
            misbehave();
        return m_inner.invoke(dispId, arguments);
    }
    void connectEvents(phone::EventSink *sink) override { m_inner.connectEvents(sink); }

private:
    void misbehave()
    {
        if (m_mode == "exit-mid-call")
            std::_Exit(4);
        if (m_mode == "silent-mid-call") {
            for (;;)
                std::this_thread::sleep_for(std::chrono::seconds(1));
        }
        if (m_mode == "garbage-mid-call") {
            const std::byte garbage[] = {std::byte{3},    std::byte{0}, std::byte{0}, std::byte{0},
                                         std::byte{0xee}, std::byte{1}, std::byte{2}};
            m_stream.write(garbage);
        }
        if (m_mode == "huge-frame") {
            const std::byte prefix[] = {std::byte{0xff}, std::byte{0xff}, std::byte{0xff},
                                        std::byte{0xff}};
            m_stream.write(prefix);
        }
    }

    std::string m_mode;
    ByteStream &m_stream;
    std::unique_ptr<ScriptedHostControl> m_owned;
    ScriptedHostControl &m_inner;
};

} // namespace

int main(int argc, char **argv)
{
    constexpr cli::Usage usage{"tervani_test_host",
                               "tervani_test_host [MODE]\n"
                               "       tervani_test_host --help | --version\n"
                               "A control host for the tests: serves the protocol on standard "
                               "input and output, misbehaving as MODE says (default serve).\n"};
    if (const auto answered = cli::answerCommonOptions(usage, argc, argv))
        return *answered;
    const std::string mode = argc > 1 ? argv[1] : "serve";
    if (mode == "exit-at-start")
        return 3;

    const std::unique_ptr<PipeStream> stream = PipeStream::standardStreams();
    StreamChannel channel(*stream);
    bool released = false;
    ScriptedHostControl *current = nullptr;
    IdleChannel idle(channel, [&] {
        if (current && !released)
            current->fireDeferred();
    });
    HostServer server(idle, [&](std::u16string_view) -> std::unique_ptr<phone::Dispatch> {
        auto control = std::make_unique<MisbehavingControl>(mode, *stream, &released);
        current = &control->inner();
        return control;
    });
    try {
        server.run();
    } catch (const phone::Error &error) {
        std::fprintf(stderr, "tervani_test_host: %s\n", error.what());
        return 2;
    }
    if (const char *file = std::getenv("TERVANI_TEST_EXIT_FILE"))
        std::ofstream(file) << (released ? "released" : "kept");
    return 0;
}
