# session_lines(TEXT RESULT): a transcript's lines of the session itself, as a recording
# replays them and a trace holds them: without the step lines (`> `), a dump's `state` lines
# and the checks' own `timeout` and `mismatch` lines. Transcript lines are never empty, so the
# lines dropped leave only blank lines to fold.
function(session_lines text result)
    string(REGEX REPLACE "(^|\n)(> |state |timeout |mismatch )[^\n]*" "\\1" text "${text}")
    string(REGEX REPLACE "\n\n+" "\n" text "${text}")
    string(REGEX REPLACE "^\n" "" text "${text}")
    set(${result} "${text}" PARENT_SCOPE)
endfunction()
