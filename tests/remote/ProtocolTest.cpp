#include "phone/remote/Protocol.h"
#include "phone/Error.h"
#include "phone/Members.h"
#include "phone/remote/Framing.h"
#include "tests/support/ChunkedByteStream.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <initializer_list>
#include <limits>
#include <string>
#include <vector>

using namespace phone::remote;
using phone::Argument;
using phone::ErrorKind;
using phone::EventArguments;
using phone::Value;

namespace {

Frame bytes(std::initializer_list<unsigned> values)
{
    Frame frame;
    for (unsigned v : values)
        frame.push_back(static_cast<std::byte>(v));
    return frame;
}

std::string decodeError(const Frame &frame)
{
    try {
        decode(frame);
    } catch (const phone::Error &error) {
        EXPECT_EQ(error.kind(), ErrorKind::Component);
        return error.description();
    }
    return "(accepted)";
}

struct RoundTrip
{
    const char *name;
    Message message;
};

const std::u16string awkwardText{u'a', 0xd800, u'\0', u'b', 0xdfff, 0xd83d, 0xde00};

std::vector<RoundTrip> roundTrips()
{
    const double nanWithPayload = std::bit_cast<double>(std::uint64_t{0x7ff8000000012345});
    std::vector<RoundTrip> cases = {
        {"hello", Hello{protocolVersion}},
        {"hello_other_version", Hello{0xfffffffe}},
        {"create", Create{u"TervaniActiveX.axTervani"}},
        {"create_empty", Create{u""}},
        {"get", Invoke{1, phone::dispid::ConnectionCount, InvokeKind::Get, {}}},
        {"put", Invoke{2, phone::dispid::PopUp, InvokeKind::Put, {Argument{false, false}}}},
        {"call_no_arguments", Invoke{3, phone::dispid::HangUp, InvokeKind::Call, {}}},
        {"call_by_ref", Invoke{0xffffffff,
                               -5,
                               InvokeKind::Call,
                               {Argument{std::int32_t{7}, true}, Argument{awkwardText, false}}}},
        {"event_done", EventDone{42}},
        {"close", Close{}},
        {"failure", Failure{9, ErrorKind::Component, "Ungültige Rufnummer „x“"}},
        {"failure_create", Failure{createRequestId, ErrorKind::Null, ""}},
        {"failure_with_code", Failure{4, ErrorKind::Component, "E_FAIL", std::int32_t(0x80004005)}},
        {"idle", Idle{}},
        {"event", Event{5, 17, "OnConnecting",
                        EventArguments{std::u16string(u"4711"), awkwardText, std::int32_t{3}}}},
        {"event_empty_values", Event{6, notInsideRequest, "OnIdle", EventArguments{}}},
    };
    const std::vector<std::pair<const char *, Value>> values = {
        {"empty", phone::Empty{}},
        {"null", phone::Null{}},
        {"true", true},
        {"false", false},
        {"int16_min", std::numeric_limits<std::int16_t>::min()},
        {"int16_max", std::numeric_limits<std::int16_t>::max()},
        {"int32_min", std::numeric_limits<std::int32_t>::min()},
        {"int32_max", std::numeric_limits<std::int32_t>::max()},
        {"double", 2.5},
        {"double_negative_zero", -0.0},
        {"double_infinity", std::numeric_limits<double>::infinity()},
        {"double_nan_payload", nanWithPayload},
        {"double_denormal", std::numeric_limits<double>::denorm_min()},
        {"text", std::u16string(u"Wähle 0171")},
        {"text_empty", std::u16string()},
        {"text_surrogates_and_nul", awkwardText},
    };
    for (const auto &[name, value] : values)
        cases.push_back({name, Result{17, value}});
    return cases;
}

class ProtocolRoundTrip : public testing::TestWithParam<RoundTrip>
{
};

TEST_P(ProtocolRoundTrip, DecodesToWhatWasEncodedBitForBit)
{
    const Frame encoded = encode(GetParam().message);
    const Message decoded = decode(encoded);
    EXPECT_EQ(decoded.index(), GetParam().message.index());
    // The layout is injective, so equal bytes mean equal messages, NaN payloads included.
    EXPECT_EQ(encode(decoded), encoded);
}

TEST_P(ProtocolRoundTrip, RejectsEveryTruncation)
{
    const Frame encoded = encode(GetParam().message);
    for (std::size_t size = 0; size < encoded.size(); ++size) {
        const Frame cut(encoded.begin(), encoded.begin() + static_cast<std::ptrdiff_t>(size));
        EXPECT_NE(decodeError(cut), "(accepted)") << "cut to " << size << " bytes";
    }
}

TEST_P(ProtocolRoundTrip, RejectsATrailingByte)
{
    Frame encoded = encode(GetParam().message);
    encoded.push_back(std::byte{0});
    EXPECT_EQ(decodeError(encoded), "1 überzählige Bytes am Ende der Nachricht");
}

INSTANTIATE_TEST_SUITE_P(Messages, ProtocolRoundTrip, testing::ValuesIn(roundTrips()),
                         [](const auto &info) { return std::string(info.param.name); });

TEST(Protocol, KeepsTheFieldsOfAnInvoke)
{
    const Message decoded = decode(
        encode(Invoke{7, phone::dispid::Dial, InvokeKind::Call, {Argument{awkwardText, true}}}));
    const auto &invoke = std::get<Invoke>(decoded);
    EXPECT_EQ(invoke.requestId, 7u);
    EXPECT_EQ(invoke.dispId, phone::dispid::Dial);
    EXPECT_EQ(invoke.kind, InvokeKind::Call);
    ASSERT_EQ(invoke.arguments.size(), 1u);
    EXPECT_EQ(std::get<std::u16string>(invoke.arguments[0].value), awkwardText);
    EXPECT_TRUE(invoke.arguments[0].byRef);
}

TEST(Protocol, KeepsTheFieldsOfAnEvent)
{
    const Message decoded = decode(
        encode(Event{3, 9, "OnRing", EventArguments{std::u16string(u"0171"), phone::Null{}, 2.5}}));
    const auto &event = std::get<Event>(decoded);
    EXPECT_EQ(event.eventId, 3u);
    EXPECT_EQ(event.insideRequest, 9u);
    EXPECT_EQ(event.name, "OnRing");
    EXPECT_EQ(std::get<std::u16string>(event.arguments.callingNumber), u"0171");
    EXPECT_TRUE(std::holds_alternative<phone::Null>(event.arguments.calledMSN));
    EXPECT_EQ(std::get<double>(event.arguments.callID), 2.5);
}

struct Layout
{
    const char *name;
    Message message;
    Frame bytes;
};

class ProtocolLayout : public testing::TestWithParam<Layout>
{
};

TEST_P(ProtocolLayout, IsTheDocumentedByteLayout)
{
    EXPECT_EQ(encode(GetParam().message), GetParam().bytes);
}

INSTANTIATE_TEST_SUITE_P(
    Messages, ProtocolLayout,
    testing::Values(
        Layout{"hello", Hello{1}, bytes({0x01, 1, 0, 0, 0})},
        Layout{"create", Create{u"A"}, bytes({0x02, 1, 0, 0, 0, 'A', 0})},
        Layout{"invoke",
               Invoke{7, 0x6003000a, InvokeKind::Call, {Argument{std::u16string(u"01"), true}}},
               bytes({0x03, 7, 0, 0, 0, 0x0a, 0, 0x03, 0x60, 3,   1, 0,
                      0,    0, 6, 2, 0, 0,    0, '0',  0,    '1', 0, 1})},
        Layout{"put", Invoke{8, 1, InvokeKind::Put, {Argument{std::int16_t{-1}, false}}},
               bytes({0x03, 8, 0, 0, 0, 1, 0, 0, 0, 2, 1, 0, 0, 0, 3, 0xff, 0xff, 0})},
        Layout{"event_done", EventDone{0x01020304}, bytes({0x04, 4, 3, 2, 1})},
        Layout{"close", Close{}, bytes({0x05})}, Layout{"idle", Idle{}, bytes({0x06})},
        Layout{"result_int32", Result{3, std::int32_t{-2}},
               bytes({0x81, 3, 0, 0, 0, 4, 0xfe, 0xff, 0xff, 0xff})},
        Layout{"result_double", Result{1, 1.0},
               bytes({0x81, 1, 0, 0, 0, 5, 0, 0, 0, 0, 0, 0, 0xf0, 0x3f})},
        Layout{"result_bool_null_empty", Result{2, true}, bytes({0x81, 2, 0, 0, 0, 2, 1})},
        Layout{"failure", Failure{0, ErrorKind::Overflow, "ü"},
               bytes({0x82, 0, 0, 0, 0, 1, 2, 0, 0, 0, 0xc3, 0xbc, 0})},
        Layout{"failure_with_code", Failure{0, ErrorKind::Component, "", -2147352567},
               bytes({0x82, 0, 0, 0, 0, 4, 0, 0, 0, 0, 1, 0x09, 0x00, 0x02, 0x80})},
        Layout{
            "event",
            Event{1, 0x0a0b0c0d, "On", EventArguments{phone::Empty{}, phone::Null{}, false}},
            bytes({0x83, 1, 0, 0, 0, 0x0d, 0x0c, 0x0b, 0x0a, 2, 0, 0, 0, 'O', 'n', 0, 1, 2, 0})}),
    [](const auto &info) { return std::string(info.param.name); });

struct Malformed
{
    const char *name;
    Frame bytes;
    std::string error;
};

class ProtocolRejects : public testing::TestWithParam<Malformed>
{
};

TEST_P(ProtocolRejects, NamesWhatIsWrong)
{
    EXPECT_EQ(decodeError(GetParam().bytes), GetParam().error);
}

INSTANTIATE_TEST_SUITE_P(
    Frames, ProtocolRejects,
    testing::Values(
        Malformed{"empty", {}, "leerer Rahmen"},
        Malformed{"unknown_type", bytes({0x7f}), "unbekannter Nachrichtentyp 0x7f"},
        Malformed{"host_type_from_nowhere", bytes({0x80}), "unbekannter Nachrichtentyp 0x80"},
        Malformed{"short_hello", bytes({0x01, 1, 0, 0}), "Nachricht endet vor „version“"},
        Malformed{"unknown_value_tag", bytes({0x81, 1, 0, 0, 0, 9}),
                  "unbekannte Wertkennung 0x09 in „value“"},
        Malformed{"bool_two", bytes({0x81, 1, 0, 0, 0, 2, 2}),
                  "„value“ ist weder 0 noch 1, sondern 0x02"},
        Malformed{"text_longer_than_frame", bytes({0x81, 1, 0, 0, 0, 6, 5, 0, 0, 0, 'a', 0}),
                  "„value“ sagt 5, aber die Nachricht endet vorher"},
        Malformed{"text_count_huge", bytes({0x81, 1, 0, 0, 0, 6, 0xff, 0xff, 0xff, 0xff}),
                  "„value“ zu groß: 4294967295 (höchstens 67108864)"},
        Malformed{"too_many_arguments", bytes({0x03, 1, 0, 0, 0, 1, 0, 0, 0, 3, 65, 0, 0, 0}),
                  "„argumentCount“ zu groß: 65 (höchstens 64)"},
        Malformed{"argument_count_huge",
                  bytes({0x03, 1, 0, 0, 0, 1, 0, 0, 0, 3, 0xff, 0xff, 0xff, 0xff}),
                  "„argumentCount“ zu groß: 4294967295 (höchstens 64)"},
        Malformed{"arguments_missing", bytes({0x03, 1, 0, 0, 0, 1, 0, 0, 0, 3, 2, 0, 0, 0, 0, 0}),
                  "„argumentCount“ sagt 2, aber die Nachricht endet vorher"},
        Malformed{"by_ref_flag_bad", bytes({0x03, 1, 0, 0, 0, 1, 0, 0, 0, 3, 1, 0, 0, 0, 0, 7}),
                  "„byRef“ ist weder 0 noch 1, sondern 0x07"},
        Malformed{"unknown_invoke_kind", bytes({0x03, 1, 0, 0, 0, 1, 0, 0, 0, 4, 0, 0, 0, 0}),
                  "unbekannte Zugriffsart 0x04"},
        Malformed{"get_with_argument", bytes({0x03, 1, 0, 0, 0, 1, 0, 0, 0, 1, 1, 0, 0, 0, 0, 0}),
                  "Invoke get mit 1 Argumenten"},
        Malformed{"put_without_value", bytes({0x03, 1, 0, 0, 0, 1, 0, 0, 0, 2, 0, 0, 0, 0}),
                  "Invoke put mit 0 statt einem Argument"},
        Malformed{"put_by_ref", bytes({0x03, 1, 0, 0, 0, 1, 0, 0, 0, 2, 1, 0, 0, 0, 0, 1}),
                  "Invoke put mit einem Wert als Referenz"},
        Malformed{"invoke_request_zero", bytes({0x03, 0, 0, 0, 0, 1, 0, 0, 0, 3, 0, 0, 0, 0}),
                  "Invoke mit der Anfragenummer 0, die Create vorbehalten ist"},
        Malformed{"unknown_error_kind", bytes({0x82, 1, 0, 0, 0, 9, 0, 0, 0, 0}),
                  "unbekannte Fehlerart 0x09"},
        Malformed{"description_not_utf8", bytes({0x82, 1, 0, 0, 0, 4, 2, 0, 0, 0, 0xc3, 0x28}),
                  "„description“ ist kein gültiges UTF-8"},
        Malformed{"name_surrogate_in_utf8",
                  bytes({0x83, 1, 0, 0, 0, 0, 0, 0, 0, 3, 0, 0, 0, 0xed, 0xa0, 0x80, 0, 0, 0}),
                  "„name“ ist kein gültiges UTF-8"},
        Malformed{"name_too_long", bytes({0x83, 1, 0, 0, 0, 0, 0, 0, 0, 0x01, 0x04, 0, 0}),
                  "„name“ zu groß: 1025 (höchstens 1024)"},
        Malformed{"close_with_payload", bytes({0x05, 0, 0}),
                  "2 überzählige Bytes am Ende der Nachricht"}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(Protocol, RepairsInvalidUtf8WhenEncoding)
{
    const Message decoded = decode(encode(Failure{1, ErrorKind::Component,
                                                  std::string("a\xff"
                                                              "b\xc3",
                                                              4)}));
    EXPECT_EQ(std::get<Failure>(decoded).description, "a\xef\xbf\xbd"
                                                      "b\xef\xbf\xbd");
}

std::string frameError(Frame bytes)
{
    testsupport::ChunkedByteStream stream(std::move(bytes), 3);
    try {
        readFrame(stream);
    } catch (const phone::Error &error) {
        return error.description();
    }
    return "(accepted)";
}

TEST(Framing, ReadsFramesBackToBackInSmallPieces)
{
    testsupport::ChunkedByteStream out({}, 1);
    writeFrame(out, encode(Hello{1}));
    writeFrame(out, encode(Close{}));
    EXPECT_EQ(out.written, bytes({5, 0, 0, 0, 0x01, 1, 0, 0, 0, 1, 0, 0, 0, 0x05}));

    testsupport::ChunkedByteStream in(out.written, 1);
    EXPECT_EQ(readFrame(in), encode(Hello{1}));
    EXPECT_EQ(readFrame(in), encode(Close{}));
    EXPECT_EQ(readFrame(in), std::nullopt);
}

TEST(Framing, BufferedReaderTakesFramesThatCameTogetherInOneRead)
{
    testsupport::ChunkedByteStream out({}, 1);
    for (std::uint32_t id = 1; id <= 100; ++id)
        writeFrame(out, encode(Hello{id}));
    // One frame larger than the reader's buffer, so that it spans several reads.
    const Frame large(200 * 1024, std::byte{0x2a});
    writeFrame(out, large);

    testsupport::ChunkedByteStream raw(out.written, out.written.size());
    BufferedReader in(raw);
    for (std::uint32_t id = 1; id <= 100; ++id)
        ASSERT_EQ(readFrame(in), encode(Hello{id})) << id;
    EXPECT_EQ(raw.reads, 1);
    EXPECT_EQ(readFrame(in), large);
    EXPECT_EQ(readFrame(in), std::nullopt);
    EXPECT_LE(raw.reads, 6);
}

TEST(Framing, BufferedReaderReportsAFrameCutByTheEndOfTheStream)
{
    testsupport::ChunkedByteStream raw(bytes({5, 0, 0, 0, 1, 1}), 2);
    BufferedReader in(raw);
    EXPECT_THROW(readFrame(in), phone::Error);
}

TEST(Framing, RejectsBadLengthsAndCutFrames)
{
    EXPECT_EQ(frameError(bytes({0xff, 0xff, 0xff, 0xff})),
              "Rahmen zu groß (4294967295 Bytes, höchstens 67108864)");
    EXPECT_EQ(frameError(bytes({0x01, 0x00, 0x00, 0x04})),
              "Rahmen zu groß (67108865 Bytes, höchstens 67108864)");
    EXPECT_EQ(frameError(bytes({0, 0, 0, 0})), "Rahmen ohne Inhalt");
    EXPECT_EQ(frameError(bytes({5, 0})), "Datenstrom endet mitten im Rahmen");
    EXPECT_EQ(frameError(bytes({5, 0, 0, 0, 1, 1})), "Datenstrom endet mitten im Rahmen");
}

TEST(Framing, RefusesToWriteAnEmptyFrame)
{
    testsupport::ChunkedByteStream out({}, 1);
    EXPECT_THROW(writeFrame(out, Frame{}), phone::Error);
    EXPECT_TRUE(out.written.empty());
}

} // namespace
