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

struct Member
{
    std::int32_t dispId;
    std::string_view name;
    MemberKind kind;
};

inline constexpr std::array<Member, 10> members{{
    {dispid::PopUp, "PopUp", MemberKind::Property},
    {dispid::ConnectionCount, "ConnectionCount", MemberKind::Property},
    {dispid::IncomingCallID, "IncomingCallID", MemberKind::Property},
    {dispid::LatestText, "LatestText", MemberKind::Property},
    {dispid::Dial, "Dial", MemberKind::Method},
    {dispid::SendShortMessage, "SendShortMessage", MemberKind::Method},
    {dispid::SendDTMF, "SendDTMF", MemberKind::Method},
    {dispid::AcceptCall, "AcceptCall", MemberKind::Method},
    {dispid::HangUp, "HangUp", MemberKind::Method},
    {dispid::ConvertNumber, "ConvertNumber", MemberKind::Method},
}};

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

} // namespace phone
