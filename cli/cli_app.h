#pragma once

#include <functional>
#include <ostream>
#include <string>
#include <vector>

namespace vantora {

// Exit statuses of vantora-cli.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailure = 1;  // the job could not be done
inline constexpr int kExitUsage = 2;    // the command line was wrong
// The program's wire reaches into the model, or (check) the program takes an axis
// beyond the machine's travel.
inline constexpr int kExitModelReached = 3;

// Runs vantora-cli with `args` (without the program name); normal output goes to
// `out`, messages and errors to `err`. Returns the exit status.
int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
           bool errIsTerminal = false);

// Runs one command and returns its exit status. An exception the command lets escape
// (out of memory, an internal error) ends the command, not the process: exit status 1
// and a message on `err`.
int GuardCommand(std::ostream& err, const std::function<int()>& command);

}  // namespace vantora
