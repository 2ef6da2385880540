#pragma once

#include "bench/Report.h"

#include <string>

namespace logbench {

// Start-up: a fresh process shows one window; the time runs from starting the process to the
// end of the window's first paint.

// The child side: shows one window of the given kind (bare, label, form1, qlistwidget), prints
// the clock once it is painted and ends.
int runStartupChild(int argc, char **argv, const std::string &kind);

// Starts this program as a child `runs` times for each kind; the medians count.
Startup measureStartup(int runs);

} // namespace logbench
