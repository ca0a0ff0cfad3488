#pragma once

#include <functional>

namespace quorx::test {

// A QCoreApplication for the whole test program: D-Bus, sockets and notifiers need one.
void EnsureApplication();

// Runs events until the condition holds or the time is up; returns the condition. For what other
// processes or the kernel do in their own time, never for the program's own timing rules.
bool SpinUntil(const std::function<bool()>& condition, int timeoutMs = 5000);

} // namespace quorx::test
