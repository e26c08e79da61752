#pragma once
// A program that loads in-process servers must work on a fresh machine
// without a manual step: a server's library lying beside the program is
// registered when its ProgID is missing or names a library that is gone.

#include <string>

namespace hostprog {

// Registers `library` when `progId` is not registered to an existing file.
// True when the ProgID names an existing library afterwards. Never throws
// (a stall of the loop aside).
bool EnsureServerRegistered(const std::string& progId, const std::string& library);

}  // namespace hostprog
