#pragma once
// The exit statuses of every Quimbel program.

namespace quimbel {

constexpr int ExitOk = 0;
constexpr int ExitFailed = 1; // the work failed: a file could not be read, written or checked
constexpr int ExitUsage = 2;  // bad command line

} // namespace quimbel
