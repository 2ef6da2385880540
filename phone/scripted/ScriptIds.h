#pragma once

// The scripted double's test-only members, which the scenario tool calls from Linux through
// the control host: plain numbers, free of Windows headers.

#include <cstdint>

namespace phone::scripted::ids {

inline constexpr wchar_t progId[] = L"Tervani.TestDoubleScripted";
inline constexpr char16_t progIdText[] = u"Tervani.TestDoubleScripted";

// ScriptAnswer(dispId, value): the member answers value from now on; ends its failure.
inline constexpr std::int32_t Answer = 0x60030110;
// ScriptFailing(dispId): every access of the member fails from now on.
inline constexpr std::int32_t Failing = 0x60030111;
// ScriptRaise(name, callingNumber, calledMSN, callId): the event, inside this call.
inline constexpr std::int32_t Raise = 0x60030112;
// ScriptRaiseMany(name, count, callingNumber, calledMSN, callId): the event count times.
inline constexpr std::int32_t RaiseMany = 0x60030113;
// ScriptHang(): never answers.
inline constexpr std::int32_t Hang = 0x60030114;
// ScriptExit(code): ends the host process inside the call.
inline constexpr std::int32_t Exit = 0x60030115;
// ScriptGarbage(): writes bytes that are no frame onto standard output.
inline constexpr std::int32_t Garbage = 0x60030116;

// ScriptFaultOn(dispId, fault): the next access of the member does one of the three above
// instead of answering, so the fault strikes in the middle of the window's handler.
inline constexpr std::int32_t FaultOn = 0x60030117;
enum Fault : std::int32_t { HangFault = 1, ExitFault = 2, GarbageFault = 3 };

// ScriptPost(name, count, callingNumber, calledMSN, callId): posts the event count times to the
// control's window; each is raised from the host's message loop, never inside a call.
inline constexpr std::int32_t Post = 0x60030118;
// ScriptTimer(name, milliseconds, callingNumber, calledMSN, callId): a timer of the control's
// window that raises the event once, from the host's message loop.
inline constexpr std::int32_t Timer = 0x60030119;

} // namespace phone::scripted::ids
