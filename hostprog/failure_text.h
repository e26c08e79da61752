#pragma once
// The text of the failure being handled, for a message to the operator, and
// the full stop every message ends with.

#include <string>

namespace hostprog {

// Called inside a catch block only: the host error's description, else the
// exception's text, else "unknown failure".
std::string FailureText();

// The text ending as a sentence does: a full stop added unless it ends with
// one (or with "!" or "?"); trailing blanks dropped.
std::string FullStop(std::string text);

}  // namespace hostprog
