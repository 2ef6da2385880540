#include "phone/remote/Protocol.h"

#include "phone/remote/Utf8.h"

#include <bit>
#include <cstring>
#include <type_traits>
#include <utility>

namespace phone::remote {

namespace {

enum class Type : std::uint8_t {
    Hello = 0x01,
    Create = 0x02,
    Invoke = 0x03,
    EventDone = 0x04,
    Close = 0x05,
    Idle = 0x06,
    Result = 0x81,
    Failure = 0x82,
    Event = 0x83,
};

enum class Tag : std::uint8_t {
    Empty = 0,
    Null = 1,
    Bool = 2,
    Int16 = 3,
    Int32 = 4,
    Double = 5,
    Text = 6,
};

template <typename E>
constexpr std::uint8_t code(E value)
{
    return static_cast<std::uint8_t>(value);
}

std::string hex(unsigned value)
{
    static constexpr char digits[] = "0123456789abcdef";
    return std::string("0x") + digits[(value >> 4) & 0xf] + digits[value & 0xf];
}

[[noreturn]] void malformed(const std::string &what)
{
    throw Error(ErrorKind::Component, what);
}

class Writer
{
public:
    Frame take() { return std::move(m_bytes); }

    template <typename T>
    void integer(T value)
    {
        using U = std::make_unsigned_t<T>;
        const U bits = static_cast<U>(value);
        for (std::size_t i = 0; i < sizeof(T); ++i)
            m_bytes.push_back(static_cast<std::byte>((bits >> (8 * i)) & 0xff));
    }
    void byte(std::uint8_t value) { integer(value); }
    void flag(bool value) { byte(value ? 1 : 0); }

    void count(std::size_t size)
    {
        if (size > maxFrameSize)
            throw Error(ErrorKind::Component, "Text zu lang für einen Rahmen");
        integer(static_cast<std::uint32_t>(size));
    }
    void text(std::u16string_view text)
    {
        count(text.size());
        for (char16_t unit : text)
            integer(static_cast<std::uint16_t>(unit));
    }
    void utf8(std::string_view text)
    {
        const std::string repaired = repairedUtf8(text);
        count(repaired.size());
        for (char c : repaired)
            byte(static_cast<std::uint8_t>(c));
    }

    void value(const Value &value)
    {
        std::visit(
            [this](const auto &v) {
                using T = std::decay_t<decltype(v)>;
                if constexpr (std::is_same_v<T, Empty>) {
                    byte(code(Tag::Empty));
                } else if constexpr (std::is_same_v<T, Null>) {
                    byte(code(Tag::Null));
                } else if constexpr (std::is_same_v<T, bool>) {
                    byte(code(Tag::Bool));
                    flag(v);
                } else if constexpr (std::is_same_v<T, std::int16_t>) {
                    byte(code(Tag::Int16));
                    integer(v);
                } else if constexpr (std::is_same_v<T, std::int32_t>) {
                    byte(code(Tag::Int32));
                    integer(v);
                } else if constexpr (std::is_same_v<T, double>) {
                    byte(code(Tag::Double));
                    integer(std::bit_cast<std::uint64_t>(v));
                } else {
                    static_assert(std::is_same_v<T, std::u16string>);
                    byte(code(Tag::Text));
                    text(v);
                }
            },
            value);
    }

private:
    Frame m_bytes;
};

class Reader
{
public:
    explicit Reader(std::span<const std::byte> bytes)
        : m_bytes(bytes)
    {}

    template <typename T>
    T integer(const char *field)
    {
        need(sizeof(T), field);
        using U = std::make_unsigned_t<T>;
        U bits = 0;
        for (std::size_t i = 0; i < sizeof(T); ++i)
            bits |= static_cast<U>(static_cast<U>(m_bytes[m_at + i]) << (8 * i));
        m_at += sizeof(T);
        return static_cast<T>(bits);
    }
    std::uint8_t byte(const char *field) { return integer<std::uint8_t>(field); }

    bool flag(const char *field)
    {
        const std::uint8_t value = byte(field);
        if (value > 1)
            malformed(std::string("„") + field + "“ ist weder 0 noch 1, sondern " + hex(value));
        return value == 1;
    }

    // A count of items of `itemSize` bytes each, checked against what is left before anyone
    // allocates for it.
    std::size_t count(const char *field, std::size_t itemSize, std::size_t limit)
    {
        const std::uint32_t count = integer<std::uint32_t>(field);
        if (count > limit)
            malformed(std::string("„") + field + "“ zu groß: " + std::to_string(count)
                      + " (höchstens " + std::to_string(limit) + ")");
        if (static_cast<std::size_t>(count) * itemSize > left())
            malformed(std::string("„") + field + "“ sagt " + std::to_string(count)
                      + ", aber die Nachricht endet vorher");
        return count;
    }

    std::u16string text(const char *field)
    {
        const std::size_t size = count(field, 2, maxFrameSize);
        std::u16string text;
        text.reserve(size);
        for (std::size_t i = 0; i < size; ++i)
            text.push_back(static_cast<char16_t>(integer<std::uint16_t>(field)));
        return text;
    }

    std::string utf8(const char *field, std::size_t limit)
    {
        const std::size_t size = count(field, 1, limit);
        std::string text(reinterpret_cast<const char *>(m_bytes.data() + m_at), size);
        m_at += size;
        if (!isUtf8(text))
            malformed(std::string("„") + field + "“ ist kein gültiges UTF-8");
        return text;
    }

    Value value(const char *field)
    {
        const std::uint8_t tag = byte(field);
        switch (static_cast<Tag>(tag)) {
        case Tag::Empty:
            return Empty{};
        case Tag::Null:
            return Null{};
        case Tag::Bool:
            return flag(field);
        case Tag::Int16:
            return integer<std::int16_t>(field);
        case Tag::Int32:
            return integer<std::int32_t>(field);
        case Tag::Double:
            return std::bit_cast<double>(integer<std::uint64_t>(field));
        case Tag::Text:
            return text(field);
        }
        malformed(std::string("unbekannte Wertkennung ") + hex(tag) + " in „" + field + "“");
    }

    void end() const
    {
        if (left() != 0)
            malformed(std::to_string(left()) + " überzählige Bytes am Ende der Nachricht");
    }

private:
    std::size_t left() const { return m_bytes.size() - m_at; }
    void need(std::size_t size, const char *field) const
    {
        if (left() < size)
            malformed(std::string("Nachricht endet vor „") + field + "“");
    }

    std::span<const std::byte> m_bytes;
    std::size_t m_at = 0;
};

std::uint8_t errorCode(ErrorKind kind)
{
    switch (kind) {
    case ErrorKind::Range:
        return 0;
    case ErrorKind::Overflow:
        return 1;
    case ErrorKind::Type:
        return 2;
    case ErrorKind::Null:
        return 3;
    case ErrorKind::Stack:
        return 5;
    case ErrorKind::Component:
        break;
    }
    return 4;
}

ErrorKind errorKind(std::uint8_t code)
{
    switch (code) {
    case 0:
        return ErrorKind::Range;
    case 1:
        return ErrorKind::Overflow;
    case 2:
        return ErrorKind::Type;
    case 3:
        return ErrorKind::Null;
    case 4:
        return ErrorKind::Component;
    case 5:
        return ErrorKind::Stack;
    default:
        malformed("unbekannte Fehlerart " + hex(code));
    }
}

InvokeKind invokeKind(std::uint8_t code)
{
    switch (static_cast<InvokeKind>(code)) {
    case InvokeKind::Get:
    case InvokeKind::Put:
    case InvokeKind::Call:
        return static_cast<InvokeKind>(code);
    }
    malformed("unbekannte Zugriffsart " + hex(code));
}

struct Encoder
{
    Writer &out;

    void operator()(const Hello &m) const
    {
        out.byte(code(Type::Hello));
        out.integer(m.version);
    }
    void operator()(const Create &m) const
    {
        out.byte(code(Type::Create));
        out.text(m.progId);
    }
    void operator()(const Invoke &m) const
    {
        out.byte(code(Type::Invoke));
        out.integer(m.requestId);
        out.integer(m.dispId);
        out.byte(code(m.kind));
        out.integer(static_cast<std::uint32_t>(m.arguments.size()));
        for (const Argument &argument : m.arguments) {
            out.value(argument.value);
            out.flag(argument.byRef);
        }
    }
    void operator()(const EventDone &m) const
    {
        out.byte(code(Type::EventDone));
        out.integer(m.eventId);
    }
    void operator()(const Close &) const { out.byte(code(Type::Close)); }
    void operator()(const Idle &) const { out.byte(code(Type::Idle)); }
    void operator()(const Result &m) const
    {
        out.byte(code(Type::Result));
        out.integer(m.requestId);
        out.value(m.value);
    }
    void operator()(const Failure &m) const
    {
        out.byte(code(Type::Failure));
        out.integer(m.requestId);
        out.byte(errorCode(m.kind));
        out.utf8(m.description);
        out.flag(m.code.has_value());
        if (m.code)
            out.integer(*m.code);
    }
    void operator()(const Event &m) const
    {
        out.byte(code(Type::Event));
        out.integer(m.eventId);
        out.integer(m.insideRequest);
        out.utf8(m.name);
        out.value(m.arguments.callingNumber);
        out.value(m.arguments.calledMSN);
        out.value(m.arguments.callID);
    }
};

Invoke decodeInvoke(Reader &in)
{
    Invoke m;
    m.requestId = in.integer<std::uint32_t>("requestId");
    if (m.requestId == createRequestId)
        malformed("Invoke mit der Anfragenummer 0, die Create vorbehalten ist");
    m.dispId = in.integer<std::int32_t>("dispId");
    m.kind = invokeKind(in.byte("kind"));
    // Each argument takes at least a tag and its flag.
    const std::size_t count = in.count("argumentCount", 2, maxArguments);
    if (m.kind == InvokeKind::Get && count != 0)
        malformed("Invoke get mit " + std::to_string(count) + " Argumenten");
    if (m.kind == InvokeKind::Put && count != 1)
        malformed("Invoke put mit " + std::to_string(count) + " statt einem Argument");
    m.arguments.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        Argument argument;
        argument.value = in.value("argument");
        argument.byRef = in.flag("byRef");
        m.arguments.push_back(std::move(argument));
    }
    if (m.kind == InvokeKind::Put && m.arguments.front().byRef)
        malformed("Invoke put mit einem Wert als Referenz");
    return m;
}

Message decodeBody(Reader &in)
{
    const std::uint8_t type = in.byte("type");
    switch (static_cast<Type>(type)) {
    case Type::Hello:
        return Hello{in.integer<std::uint32_t>("version")};
    case Type::Create:
        return Create{in.text("progId")};
    case Type::Invoke:
        return decodeInvoke(in);
    case Type::EventDone:
        return EventDone{in.integer<std::uint32_t>("eventId")};
    case Type::Close:
        return Close{};
    case Type::Idle:
        return Idle{};
    case Type::Result: {
        Result m;
        m.requestId = in.integer<std::uint32_t>("requestId");
        m.value = in.value("value");
        return m;
    }
    case Type::Failure: {
        Failure m;
        m.requestId = in.integer<std::uint32_t>("requestId");
        m.kind = errorKind(in.byte("errorKind"));
        m.description = in.utf8("description", maxFrameSize);
        if (in.flag("hasCode"))
            m.code = in.integer<std::int32_t>("code");
        return m;
    }
    case Type::Event: {
        Event m;
        m.eventId = in.integer<std::uint32_t>("eventId");
        m.insideRequest = in.integer<std::uint32_t>("insideRequest");
        m.name = in.utf8("name", maxEventNameSize);
        m.arguments.callingNumber = in.value("callingNumber");
        m.arguments.calledMSN = in.value("calledMSN");
        m.arguments.callID = in.value("callID");
        return m;
    }
    }
    malformed("unbekannter Nachrichtentyp " + hex(type));
}

} // namespace

Frame encode(const Message &message)
{
    Writer out;
    std::visit(Encoder{out}, message);
    Frame frame = out.take();
    if (frame.size() > maxFrameSize)
        throw Error(ErrorKind::Component, "Nachricht zu groß für einen Rahmen ("
                                              + std::to_string(frame.size()) + " Bytes)");
    return frame;
}

Message decode(std::span<const std::byte> payload)
{
    if (payload.empty())
        malformed("leerer Rahmen");
    if (payload.size() > maxFrameSize)
        malformed("Rahmen zu groß (" + std::to_string(payload.size()) + " Bytes)");
    Reader in(payload);
    Message message = decodeBody(in);
    in.end();
    return message;
}

const char *messageName(const Message &message)
{
    static constexpr const char *names[] = {"Hello", "Create", "Invoke",  "EventDone", "Close",
                                            "Idle",  "Result", "Failure", "Event"};
    return names[message.index()];
}

} // namespace phone::remote
