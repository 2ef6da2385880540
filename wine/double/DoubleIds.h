#pragma once

// What the tests and the test double agree on: identifiers, registration names and the
// members only the tests use. The contract members themselves come from phone/Members.h.

#include "phone/scripted/ScriptIds.h"

#include <guiddef.h>

#include <cstdint>

namespace tervani_double {

// {EF08D23D-62F5-46F9-B7DD-79DE6A320C80}
inline constexpr GUID libraryId = {
    0xef08d23d, 0x62f5, 0x46f9, {0xb7, 0xdd, 0x79, 0xde, 0x6a, 0x32, 0x0c, 0x80}};
// {24397B68-03D4-4653-BF43-35AA662ADC36}: describes itself through IProvideClassInfo2.
inline constexpr GUID controlClassId = {
    0x24397b68, 0x03d4, 0x4653, {0xbf, 0x43, 0x35, 0xaa, 0x66, 0x2a, 0xdc, 0x36}};
// {CBA4307F-750D-43BE-80D8-C0C0337FD0B9}: offers no IProvideClassInfo, only its type library.
inline constexpr GUID plainClassId = {
    0xcba4307f, 0x750d, 0x43be, {0x80, 0xd8, 0xc0, 0xc0, 0x33, 0x7f, 0xd0, 0xb9}};
// {2705ED7C-167E-4960-85B4-EFD7AEC68F24}: refuses to initialise, a control that fails to start.
inline constexpr GUID brokenClassId = {
    0x2705ed7c, 0x167e, 0x4960, {0x85, 0xb4, 0xef, 0xd7, 0xae, 0xc6, 0x8f, 0x24}};
// {0C557371-C39D-4DE7-90C4-DC9BA5116773}: a windowed control that needs in-place activation,
// offering IQuickActivate.
inline constexpr GUID windowedClassId = {
    0x0c557371, 0xc39d, 0x4de7, {0x90, 0xc4, 0xdc, 0x9b, 0xa5, 0x11, 0x67, 0x73}};
// {F79FEF72-E0B5-4293-8089-3C7357AA9893}: the same without IQuickActivate, and initialised
// before its site (no OLEMISC_SETCLIENTSITEFIRST).
inline constexpr GUID stepwiseClassId = {
    0xf79fef72, 0xe0b5, 0x4293, {0x80, 0x89, 0x3c, 0x73, 0x57, 0xaa, 0x98, 0x93}};
// {432EB81C-3441-4B1C-BE70-D987CFD6609F}: windowed like windowedClassId, but answering what the
// tests script instead of keeping a softphone's state (see the script members below).
inline constexpr GUID scriptedClassId = {
    0x432eb81c, 0x3441, 0x4b1c, {0xbe, 0x70, 0xd9, 0x87, 0xcf, 0xd6, 0x60, 0x9f}};
// {AA27BEA2-037E-44B4-B928-F67EDEA2846C}: windowed like windowedClassId, and a line that plays
// a call as a softphone does: dialled, it posts OnConnecting, OnRing and OnConnected; hung up,
// OnDisConnected. For sessions driven by hand, which have nobody to raise events.
inline constexpr GUID lineClassId = {
    0xaa27bea2, 0x037e, 0x44b4, {0xb9, 0x28, 0xf6, 0x7e, 0xde, 0xa2, 0x84, 0x6c}};
// {5C0E5B1D-7A43-4F8E-9B2C-61D4A7E3C915}: the line of lineClassId, and a caller who rings it a
// second after the container first reads the control: OnOffering, then OnRing; accepted, the
// call is connected.
inline constexpr GUID callerClassId = {
    0x5c0e5b1d, 0x7a43, 0x4f8e, {0x9b, 0x2c, 0x61, 0xd4, 0xa7, 0xe3, 0xc9, 0x15}};
// {9E4B2F63-1C8D-4A57-B0E6-3D7F58C2A104}: the described double as a newer control version
// might be: Dial declared, and answered, at driftedDialId instead of the contract's identifier.
inline constexpr GUID driftedClassId = {
    0x9e4b2f63, 0x1c8d, 0x4a57, {0xb0, 0xe6, 0x3d, 0x7f, 0x58, 0xc2, 0xa1, 0x04}};
inline constexpr std::int32_t driftedDialId = 0x6003001a;
// {A2A844B3-9E04-4DDD-990B-218E79E8659D}
inline constexpr GUID interfaceId = {
    0xa2a844b3, 0x9e04, 0x4ddd, {0x99, 0x0b, 0x21, 0x8e, 0x79, 0xe8, 0x65, 0x9d}};
// {01F1C464-F514-485B-872E-42357F50FDE6}
inline constexpr GUID eventsId = {
    0x01f1c464, 0xf514, 0x485b, {0x87, 0x2e, 0x42, 0x35, 0x7f, 0x50, 0xfd, 0xe6}};

inline constexpr wchar_t controlProgId[] = L"Tervani.TestDouble";
inline constexpr wchar_t plainProgId[] = L"Tervani.TestDoublePlain";
inline constexpr wchar_t brokenProgId[] = L"Tervani.TestDoubleBroken";
inline constexpr wchar_t windowedProgId[] = L"Tervani.TestDoubleWindowed";
inline constexpr wchar_t stepwiseProgId[] = L"Tervani.TestDoubleWindowedStepwise";
inline constexpr wchar_t lineProgId[] = L"Tervani.TestDoubleLine";
inline constexpr wchar_t callerProgId[] = L"Tervani.TestDoubleCaller";
inline constexpr wchar_t driftedProgId[] = L"Tervani.TestDoubleDrifted";
// The bench's side names it in phone/scripted/ScriptIds.h, free of Windows headers.
inline constexpr const wchar_t *scriptedProgId = phone::scripted::ids::progId;

// How the windowed doubles refuse every member until they are active in place.
inline constexpr char16_t inactiveDescription[] = u"Das Steuerelement ist nicht aktiviert.";

// What the broken double's IPersistStreamInit::InitNew returns.
inline constexpr long startFailure = static_cast<long>(0x80070015); // ERROR_NOT_READY

// Members for the tests only.
namespace dispid {
// Text: the last member the double received with each argument's type and value, such as
// "SendDTMF(ref I4 7, BSTR 12#)".
inline constexpr std::int32_t LastCall = 0x60030100;
// Fail(mode): fails in the way FailMode names.
inline constexpr std::int32_t Fail = 0x60030101;
// Raise(event, CallingNumber, CalledMSN, CallID): raises the event named by text, or the
// raw dispatch identifier given as a number, with by-reference copies of the three values.
// LastCall then tells whether a sink wrote into them.
inline constexpr std::int32_t Raise = 0x60030102;
// The ambient UserMode the client site reports, Empty without a site.
inline constexpr std::int32_t SiteUserMode = 0x60030103;
// True when InitNew came after SetClientSite, as OLEMISC_SETCLIENTSITEFIRST asks.
inline constexpr std::int32_t InitialisedWithSite = 0x60030104;
// KeepAlive(): the DLL holds a reference to this instance until the tests release it, as
// when a control outlives its container.
inline constexpr std::int32_t KeepAlive = 0x60030105;
// Ambient(id): the value the site gives for an ambient property, Empty when it gives none.
// The font reads as its name and size in points, such as "MS Sans Serif 8".
inline constexpr std::int32_t Ambient = 0x60030106;
// Text: where the windowed double's window is, such as "TervaniControlHost at 144,352 size
// 25x17, frame TervaniControlHost, site IOleInPlaceSiteEx".
inline constexpr std::int32_t Window = 0x60030107;
// Text: what QuickActivate brought, such as "flags 0x44 fore 0x80000012 back 0x8000000F
// locale 0x0407 font MS Sans Serif 8 control site yes event sink yes"; empty without it.
inline constexpr std::int32_t QuickContainer = 0x60030108;

// The scripted double's members, at the numbers phone/scripted/ScriptIds.h gives the bench's side.
// Any contract member answers a copy of its scripted answer to a read or a call, takes every write
// without a change, and writes 424242 into a call's by-reference I4 or VARIANT arguments. A failing
// member answers every access with DISP_E_EXCEPTION, "Skriptfehler bei <member>".
//
// ScriptAnswer(dispId, value): the member answers value (stored by value) from now on, and
// fails no more.
inline constexpr std::int32_t ScriptAnswer = phone::scripted::ids::Answer;
// ScriptFailing(dispId): every access of the member fails from now on.
inline constexpr std::int32_t ScriptFailing = phone::scripted::ids::Failing;
// ScriptRaise(name, CallingNumber, CalledMSN, CallID): raises the event of that exact name
// inside the call, to every sink, with VARIANT* copies of the three values (OnStatus: the
// first only). A name the source interface does not list raises nothing.
inline constexpr std::int32_t ScriptRaise = phone::scripted::ids::Raise;
// ScriptRaiseMany(name, count, CallingNumber, CalledMSN, CallID): the same event count times.
inline constexpr std::int32_t ScriptRaiseMany = phone::scripted::ids::RaiseMany;
// ScriptHang(): never returns, a control that stops answering.
inline constexpr std::int32_t ScriptHang = phone::scripted::ids::Hang;
// ScriptExit(code): ends the process at once with that exit code.
inline constexpr std::int32_t ScriptExit = phone::scripted::ids::Exit;
// ScriptGarbage(): writes FF FF FF 7F "not-a-frame!" to standard output and returns.
inline constexpr std::int32_t ScriptGarbage = phone::scripted::ids::Garbage;
// ScriptFaultOn(dispId, fault): the next access of the member hangs, exits (code 3) or writes
// the garbage and answers nothing, as phone::scripted::ids::Fault says.
inline constexpr std::int32_t ScriptFaultOn = phone::scripted::ids::FaultOn;
// ScriptPost(name, count, CallingNumber, CalledMSN, CallID): posts the event count times to
// the window; each is raised from the message loop.
inline constexpr std::int32_t ScriptPost = phone::scripted::ids::Post;
// ScriptTimer(name, milliseconds, CallingNumber, CalledMSN, CallID): raises the event once,
// from a timer of the window.
inline constexpr std::int32_t ScriptTimer = phone::scripted::ids::Timer;
} // namespace dispid

enum FailMode : std::int32_t {
    ExceptionWithDescription = 1, // DISP_E_EXCEPTION, description given at once
    ExceptionDeferred = 2,        // DISP_E_EXCEPTION, description through pfnDeferredFillIn
    ExceptionScodeOnly = 3,       // DISP_E_EXCEPTION, no description, scode FILE_NOT_FOUND
    PlainFailure = 4,             // returns HRESULT_FROM_WIN32(ERROR_ACCESS_DENIED)
    UnknownFailure = 5,           // returns a code the system has no text for
    ExceptionWithNumber = 6,      // DISP_E_EXCEPTION, wCode 380 and a description
    ExceptionControlScode = 7,    // DISP_E_EXCEPTION, scode CTL_E_INVALIDPROPERTYVALUE
    PlainControlFailure = 8,      // returns 0x800A0002, a code of the runtime's own facility
};
// The runtime's own facility, as controls raise their errors: 0x800A0000 and the number.
inline constexpr std::int32_t controlFacilityInvalidValue = static_cast<std::int32_t>(0x800A017C);
inline constexpr std::int32_t controlFacilityTwo = static_cast<std::int32_t>(0x800A0002);

inline constexpr char16_t failDescription[] = u"Leitung „1“ belegt: Gespräch läuft";
inline constexpr std::int32_t unknownFailure = static_cast<std::int32_t>(0x80041234);

// An event identifier the double's type information does not list.
inline constexpr std::int32_t undescribedEvent = 99;

// Test hooks exported by the DLL, to see what the adapter still holds.
using CountFunction = long(__stdcall *)();
inline constexpr char liveObjectsExport[] = "TervaniDoubleLiveObjects";
inline constexpr char advisedSinksExport[] = "TervaniDoubleAdvisedSinks";
inline constexpr char releaseKeptExport[] = "TervaniDoubleReleaseKept";
// The calls a container made to any instance, in order, joined by ", ": "SetClientSite",
// "SetClientSite(null)", "InitNew", "QuickActivate", "Advise", "Unadvise", "SetExtent(661x450)",
// "DoVerb(-5)", "FreezeEvents(1)", "InPlaceDeactivate", "Close(1)". Valid until the next call.
using ContainerCallsFunction = const wchar_t *(__stdcall *)();
inline constexpr char containerCallsExport[] = "TervaniDoubleContainerCalls";
inline constexpr char forgetContainerCallsExport[] = "TervaniDoubleForgetContainerCalls";
// The softphone's side: an event for every windowed instance linked to it (active in place),
// posted to its window. Returns how many instances it was posted to.
using SoftphoneEventFunction = long(__stdcall *)(const wchar_t *event, const wchar_t *callingNumber,
                                                 const wchar_t *calledMSN, long callId);
inline constexpr char softphoneEventExport[] = "TervaniDoubleSoftphoneEvent";

} // namespace tervani_double
