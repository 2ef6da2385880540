#pragma once

#include <string>

namespace tervani_double {

// The calls containers made to the doubles, in order, across all instances: what the tests
// check the activation and teardown sequences against.
void recordContainerCall(const std::wstring &call);
// Joined by ", ".
const std::wstring &containerCalls();
void forgetContainerCalls();

} // namespace tervani_double
