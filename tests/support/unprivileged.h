#pragma once
// Permission bits do not bind the superuser, so a test of a refused access
// would pass for the wrong reason, or not run at all, when the suite runs as
// root (as it does in CI). RunAsUnprivileged runs the checks in a child
// process as an ordinary user instead: as root the child hands the given
// folders to the user "nobody" (65534) and becomes that user; as anyone else
// it stays who it is. Failed checks in the child fail the test.

#include <functional>
#include <string>
#include <vector>

namespace tallymere::testing {

inline constexpr unsigned kUnprivilegedId = 65534;

void RunAsUnprivileged(const std::vector<std::string>& folders,
                       const std::function<void()>& checks);

}  // namespace tallymere::testing
