#pragma once
// Other programs that hold a serial device open, as /proc shows them: a
// terminal program left open on the port takes no lock of any kind, yet it
// swallows the replies.

#include <sys/types.h>

#include <string>

namespace plat {

// The PID of a process other than ours with a descriptor on `devicePath`
// (compared by real path; the descriptors' links are read, never followed),
// 0 when none is seen. A process that also holds the master side of the same
// pseudo-terminal is the far end of the line, not a holder. Only processes whose descriptors we may read can be
// seen: a user other than root does not see root's.
pid_t FindOtherDeviceHolder(const std::string& devicePath, const std::string& procRoot = "/proc");

}  // namespace plat
