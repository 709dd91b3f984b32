#pragma once

#include <string>
#include <vector>

namespace users {

// "GrainTerminal --users …": manages the users file beside the state file
// without a display. `arguments` are those after "--users"; the result is the
// program's exit status:
//   0  done
//   1  the users file is unsafe, cannot be read or written, or belongs to
//      another user; nothing changed
//   2  bad arguments (command, name, role, a user that is missing or already
//      there) or a password refused (empty, too long, not UTF-8, not repeated
//      the same); nothing changed
//   4  another program is changing the users file; nothing changed
// Passwords are read from the terminal without echo, twice, or as one line
// from standard input when that is no terminal.
int RunUsersCommand(const std::vector<std::string>& arguments, const std::string& usersPath);

// The users file of this program: beside its state file, which lies beside
// the executable. `argv0` is used only where the system cannot say where the
// running executable is.
std::string OwnUsersFilePath(const char* argv0);

}  // namespace users
