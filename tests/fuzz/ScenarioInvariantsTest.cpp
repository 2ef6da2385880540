// The fuzzing oracle must pass what the window rightly prints and catch each way of breaking
// a rule; a check that cannot fail would let the fuzzer run blind.
#include "tests/fuzz/ScenarioInvariants.h"

#include <gtest/gtest.h>

namespace {

using fuzz::ScenarioInvariants;
using fuzz::WindowState;

const std::string ring = "> event OnRing \"1\" \"2\" 7\n"
                         "  line \"Ereignis: OnRing (ID: 7) -    Nummer: 1 - MSN: 2\"\n"
                         "  get ConnectionCount\n"
                         "  caption LBL_Anzahl \"Anzahl Verbindungen:  0\"\n"
                         "  get LatestText\n"
                         "  caption LBL_Last \"Zuletzt: \"\n"
                         "  enabled Annehmen 1\n";

WindowState afterRing()
{
    WindowState state;
    state.annehmen = true;
    state.lines = 1;
    state.strEvent = u"OnRing";
    return state;
}

TEST(ScenarioInvariants, PassesAnEventThatWritesItsLineAndSwitchesAnnehmen)
{
    ScenarioInvariants invariants;
    EXPECT_EQ(invariants.check(ring, afterRing()), "");
}

TEST(ScenarioInvariants, PassesAnEventHeldByABoxAndTheHangUpAfterIt)
{
    ScenarioInvariants invariants;
    EXPECT_EQ(invariants.check("> value ConnectionCount 1\n", std::nullopt), "");
    EXPECT_EQ(invariants.check("> while-box event OnRing \"1\" \"2\" 7\n", WindowState{}), "");
    const std::string held = "> click BTN_Disconnect\n"
                             "  get ConnectionCount\n"
                             "  box 0 * \"1 = 0 wird jetzt beendet\"\n"
                             "  > event OnRing \"1\" \"2\" 7\n"
                             "    line \"Ereignis: OnRing (ID: 7) -    Nummer: 1 - MSN: 2\"\n"
                             "    get ConnectionCount\n"
                             "    caption LBL_Anzahl \"Anzahl Verbindungen:  1\"\n"
                             "    get LatestText\n"
                             "    caption LBL_Last \"Zuletzt: \"\n"
                             "    enabled Annehmen 1\n"
                             "  call HangUp 0\n";
    EXPECT_EQ(invariants.check(held, afterRing()), "");
}

TEST(ScenarioInvariants, CatchesASecondLine)
{
    ScenarioInvariants invariants;
    std::string twice = ring;
    twice.insert(twice.find("  get LatestText"),
                 "  line \"Ereignis: OnRing (ID: 7) -    Nummer: 1 - MSN: 2\"\n");
    EXPECT_NE(invariants.check(twice, afterRing()), "");
}

TEST(ScenarioInvariants, CatchesAMissingLineWithoutAnError)
{
    ScenarioInvariants invariants;
    EXPECT_NE(invariants.check("> event OnIdle \"1\" \"2\" 7\n"
                               "  get ConnectionCount\n",
                               WindowState{}),
              "");
}

TEST(ScenarioInvariants, CatchesAnErrorReportedBeforeALineThatWasWrittenAnyway)
{
    ScenarioInvariants invariants;
    EXPECT_NE(invariants.check("> event OnIdle \"1\" \"2\" 7\n"
                               "  error component\n"
                               "  line \"Ereignis: OnIdle (ID: 7) -    Nummer: 1 - MSN: 2\"\n",
                               WindowState{}),
              "");
}

TEST(ScenarioInvariants, CatchesALineWithChangedArguments)
{
    ScenarioInvariants invariants;
    std::string changed = ring;
    changed.replace(changed.find("MSN: 2"), 6, "MSN: 3");
    EXPECT_NE(invariants.check(changed, afterRing()), "");
}

TEST(ScenarioInvariants, CatchesALineWrittenByACommand)
{
    ScenarioInvariants invariants;
    EXPECT_NE(invariants.check("> click BTN_Dial\n"
                               "  call Dial \"\"\n"
                               "  line \"Ereignis: OnIdle (ID: 7) -    Nummer: 1 - MSN: 2\"\n",
                               WindowState{}),
              "");
}

TEST(ScenarioInvariants, CatchesAnUnhandledEventThatDoesSomething)
{
    ScenarioInvariants invariants;
    EXPECT_NE(invariants.check("> event OnDisconnected \"1\" \"2\" 7\n"
                               "  get ConnectionCount\n",
                               WindowState{}),
              "");
}

TEST(ScenarioInvariants, CatchesAnnehmenSwitchedByAnotherEvent)
{
    ScenarioInvariants invariants;
    std::string idle = ring;
    idle.replace(idle.find("OnRing"), 6, "OnIdle");
    idle.replace(idle.find("OnRing"), 6, "OnIdle");
    WindowState state = afterRing();
    state.strEvent = u"OnIdle";
    EXPECT_NE(invariants.check(idle, state), "");
}

TEST(ScenarioInvariants, CatchesAnnehmenSwitchedAfterAFailedLabelRefresh)
{
    ScenarioInvariants invariants;
    const std::string failed = "> event OnRing \"1\" \"2\" 7\n"
                               "  get ConnectionCount\n"
                               "  line \"Ereignis: OnRing (ID: 7) -    Nummer: 1 - MSN: 2\"\n"
                               "  get ConnectionCount\n"
                               "  error component\n"
                               "  enabled Annehmen 1\n";
    EXPECT_NE(invariants.check(failed, afterRing()), "");
}

TEST(ScenarioInvariants, CatchesAWindowStateThatDisagreesWithTheModel)
{
    ScenarioInvariants invariants;
    WindowState state = afterRing();
    state.annehmen = false;
    EXPECT_NE(invariants.check(ring, state), "");

    ScenarioInvariants other;
    state = afterRing();
    state.callIDs[3] = 7;
    EXPECT_NE(other.check(ring, state), "");
}

TEST(ScenarioInvariants, FollowsTheStoreOfOnConnectingAtTheScriptedCount)
{
    ScenarioInvariants invariants;
    EXPECT_EQ(invariants.check("> value ConnectionCount 3\n", std::nullopt), "");
    const std::string connecting =
        "> event OnConnecting \"1\" \"2\" -9\n"
        "  get ConnectionCount\n"
        "  get ConnectionCount\n"
        "  line \"Ereignis: OnConnecting (ID:-9) -    Nummer: 1 - MSN: 2\"\n"
        "  get ConnectionCount\n"
        "  caption LBL_Anzahl \"Anzahl Verbindungen:  3\"\n"
        "  get LatestText\n"
        "  caption LBL_Last \"Zuletzt: \"\n";
    WindowState state;
    state.lines = 1;
    state.strEvent = u"OnConnecting";
    state.callIDs[3] = -9;
    EXPECT_EQ(invariants.check(connecting, state), "");
    state.callIDs[3] = 0;
    state.callIDs[2] = -9;
    ScenarioInvariants wrongSlot;
    wrongSlot.check("> value ConnectionCount 3\n", std::nullopt);
    EXPECT_NE(wrongSlot.check(connecting, state), "");
}

TEST(ScenarioInvariants, CatchesOnConnectingThatWritesDespiteARangeError)
{
    ScenarioInvariants invariants;
    EXPECT_EQ(invariants.check("> value ConnectionCount 11\n", std::nullopt), "");
    EXPECT_NE(invariants.check("> event OnConnecting \"1\" \"2\" 5\n"
                               "  get ConnectionCount\n"
                               "  line \"Ereignis: OnConnecting (ID: 5) -    Nummer: 1 - MSN: 2\"\n"
                               "  get ConnectionCount\n"
                               "  error range\n",
                               std::nullopt),
              "");
}

TEST(ScenarioInvariants, ListCountFollowsClear)
{
    ScenarioInvariants invariants;
    EXPECT_EQ(invariants.check(ring, afterRing()), "");
    WindowState cleared = afterRing();
    cleared.lines = 0;
    EXPECT_EQ(invariants.check("> click BTN_Clear\nclear\n", cleared), "");
    EXPECT_NE(invariants.check("> dump\n", afterRing()), "");
}

// The handler runs at the depth the indentation gives; the rules follow each handler on its own.
const std::string connectingWithCountChangedInsideItsRead =
    "> event OnConnecting \"1\" \"2\" 5\n"
    "  get ConnectionCount\n"
    "  > value ConnectionCount 4\n"
    "  line \"Ereignis: OnConnecting (ID: 5) -    Nummer: 1 - MSN: 2\"\n"
    "  get ConnectionCount\n"
    "  caption LBL_Anzahl \"Anzahl Verbindungen:  4\"\n"
    "  get LatestText\n"
    "  caption LBL_Last \"Zuletzt: \"\n";

TEST(ScenarioInvariants, StoresAtTheCountThatTheReadReturnedAfterItsHeldSteps)
{
    WindowState state;
    state.lines = 1;
    state.strEvent = u"OnConnecting";
    state.callIDs[4] = 5;
    ScenarioInvariants invariants;
    invariants.check("> value ConnectionCount 1\n", std::nullopt);
    EXPECT_EQ(invariants.check(connectingWithCountChangedInsideItsRead, state), "");

    state.callIDs[4] = 0;
    state.callIDs[1] = 5;
    ScenarioInvariants atTheOldCount;
    atTheOldCount.check("> value ConnectionCount 1\n", std::nullopt);
    EXPECT_NE(atTheOldCount.check(connectingWithCountChangedInsideItsRead, state), "");
}

// OnRing raises OnDisConnected inside its read of the latest text: the inner line comes second,
// and the outer handler switches Annehmen last.
const std::string disconnectedInsideRing =
    "> event OnRing \"1\" \"2\" 7\n"
    "  line \"Ereignis: OnRing (ID: 7) -    Nummer: 1 - MSN: 2\"\n"
    "  get ConnectionCount\n"
    "  caption LBL_Anzahl \"Anzahl Verbindungen:  0\"\n"
    "  get LatestText\n"
    "  > event OnDisConnected \"1\" \"2\" 7\n"
    "    line \"Ereignis: OnDisConnected (ID: 7) -    Nummer: 1 - MSN: 2\"\n"
    "    get ConnectionCount\n"
    "    caption LBL_Anzahl \"Anzahl Verbindungen:  0\"\n"
    "    get LatestText\n"
    "    caption LBL_Last \"Zuletzt: \"\n"
    "    enabled Annehmen 0\n"
    "  caption LBL_Last \"Zuletzt: \"\n"
    "  enabled Annehmen 1\n";

TEST(ScenarioInvariants, FollowsNestedHandlersInTheOrderTheyChangeTheWindow)
{
    WindowState state;
    state.annehmen = true;
    state.lines = 2;
    state.strEvent = u"OnDisConnected";
    ScenarioInvariants invariants;
    EXPECT_EQ(invariants.check(disconnectedInsideRing, state), "");

    state.annehmen = false;
    ScenarioInvariants innerLast;
    EXPECT_NE(innerLast.check(disconnectedInsideRing, state), "");
}

TEST(ScenarioInvariants, CatchesANestedLineTakenForTheOuterHandlers)
{
    // The outer handler stops without its line and without an error; only the inner wrote.
    ScenarioInvariants invariants;
    EXPECT_NE(invariants.check("> event OnConnecting \"1\" \"2\" 5\n"
                               "  get ConnectionCount\n"
                               "  > event OnIdle \"3\" \"4\" 8\n"
                               "    line \"Ereignis: OnIdle (ID: 8) -    Nummer: 3 - MSN: 4\"\n"
                               "    get ConnectionCount\n"
                               "    caption LBL_Anzahl \"Anzahl Verbindungen:  0\"\n"
                               "    get LatestText\n"
                               "    caption LBL_Last \"Zuletzt: \"\n",
                               std::nullopt),
              "");
}

TEST(ScenarioInvariants, RefusesHandlersExactlyAtTheBound)
{
    const std::string bound(2 * 64, ' ');
    const std::string idle = "> event OnIdle \"1\" \"2\" 7\n";
    ScenarioInvariants refused;
    EXPECT_EQ(refused.check(bound + idle + bound + "error stack\n", std::nullopt), "");
    ScenarioInvariants started;
    EXPECT_NE(started.check(bound + idle, std::nullopt), "");
    ScenarioInvariants belowTheBound;
    EXPECT_NE(belowTheBound.check("    " + idle + "    error stack\n", std::nullopt), "");
}

TEST(ScenarioInvariants, AHandlerStopsSilentlyWhenTheWindowGoesInsideItsAccess)
{
    // The count's read returned after the window went: the store took place and the name was
    // set, the line was not written.
    const std::string exitInsideTheRead = "> event OnConnecting \"1\" \"2\" 5\n"
                                          "  get ConnectionCount\n"
                                          "  > click BTN_Exit\n"
                                          "    exit\n";
    WindowState state;
    state.callIDs[0] = 5;
    state.strEvent = u"OnConnecting";
    ScenarioInvariants invariants;
    EXPECT_EQ(invariants.check(exitInsideTheRead, state), "");

    ScenarioInvariants changedAfterwards;
    EXPECT_NE(
        changedAfterwards.check(exitInsideTheRead + "  caption LBL_Last \"Zuletzt: \"\n", state),
        "");
}

} // namespace
