#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace phone {

// The programmatic identifier the real control is registered under.
inline constexpr std::u16string_view tervaniProgId = u"TervaniActiveX.axTervani";

// Dispatch identifiers of the control's members. The bench reaches the control only by
// these numbers, so they must match the control's type library exactly.
namespace dispid {
inline constexpr std::int32_t PopUp = 0x68030001;
inline constexpr std::int32_t ConnectionCount = 0x68030002;
inline constexpr std::int32_t IncomingCallID = 0x68030004;
inline constexpr std::int32_t LatestText = 0x68030007;
inline constexpr std::int32_t Dial = 0x6003000a;
inline constexpr std::int32_t SendShortMessage = 0x6003000b;
inline constexpr std::int32_t SendDTMF = 0x6003000c;
inline constexpr std::int32_t AcceptCall = 0x6003000e;
inline constexpr std::int32_t HangUp = 0x6003000f;
inline constexpr std::int32_t ConvertNumber = 0x60030010;
} // namespace dispid

enum class MemberKind { Property, Method };

// How the window takes a value the control answers. The platform converts a value of a type
// the bench's values lack (a date) straight to this, so a date taken as an integer is its
// day number, not an error about its text.
enum class Taken { Int32, Bool, Text };

struct Member
{
    std::int32_t dispId;
    std::string_view name;
    MemberKind kind;
    // For a method whose result the window ignores, Text.
    Taken taken;
};

inline constexpr std::array<Member, 10> members{{
    {dispid::PopUp, "PopUp", MemberKind::Property, Taken::Bool},
    {dispid::ConnectionCount, "ConnectionCount", MemberKind::Property, Taken::Int32},
    {dispid::IncomingCallID, "IncomingCallID", MemberKind::Property, Taken::Int32},
    {dispid::LatestText, "LatestText", MemberKind::Property, Taken::Text},
    {dispid::Dial, "Dial", MemberKind::Method, Taken::Text},
    {dispid::SendShortMessage, "SendShortMessage", MemberKind::Method, Taken::Text},
    {dispid::SendDTMF, "SendDTMF", MemberKind::Method, Taken::Text},
    {dispid::AcceptCall, "AcceptCall", MemberKind::Method, Taken::Text},
    {dispid::HangUp, "HangUp", MemberKind::Method, Taken::Text},
    {dispid::ConvertNumber, "ConvertNumber", MemberKind::Method, Taken::Text},
}};

// How the window takes a call event's arguments, in call order: CallingNumber, CalledMSN,
// CallID.
inline constexpr std::array<Taken, 3> eventArgumentsTaken{Taken::Text, Taken::Text, Taken::Int32};

// The events the window handles, by the names the control gives them; it may raise others,
// which change nothing. The capitals matter: "OnDisConnected", but "OnDisconnecting".
namespace event {
inline constexpr std::string_view OnRing = "OnRing";
inline constexpr std::string_view OnConnecting = "OnConnecting";
inline constexpr std::string_view OnConnected = "OnConnected";
inline constexpr std::string_view OnOffering = "OnOffering";
inline constexpr std::string_view OnDisConnected = "OnDisConnected";
inline constexpr std::string_view OnDisconnecting = "OnDisconnecting";
inline constexpr std::string_view OnIdle = "OnIdle";
} // namespace event

inline constexpr std::array<std::string_view, 7> handledEvents{
    event::OnRing,         event::OnConnecting,    event::OnConnected, event::OnOffering,
    event::OnDisConnected, event::OnDisconnecting, event::OnIdle,
};

constexpr const Member *findMember(std::string_view name)
{
    for (const Member &member : members) {
        if (member.name == name)
            return &member;
    }
    return nullptr;
}

constexpr const Member *findMember(std::int32_t dispId)
{
    for (const Member &member : members) {
        if (member.dispId == dispId)
            return &member;
    }
    return nullptr;
}

// A member outside the contract is taken as text, which keeps every digit of any number.
constexpr Taken takenAs(std::int32_t dispId)
{
    const Member *member = findMember(dispId);
    return member ? member->taken : Taken::Text;
}

} // namespace phone
