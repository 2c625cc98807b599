#pragma once

#include <functional>
#include <optional>

// Runs work in a child process without privilege over files, so that permission bits count: as
// the user "nobody" when the tests run as root, as the same user otherwise. Gives work's answer,
// or nothing when the child could not give up root (a container without setuid, say). work must
// not use the test framework's assertions: only its answer comes back.
std::optional<bool> RunUnprivileged(const std::function<bool()>& work);
