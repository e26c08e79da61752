#pragma once
// The text of the failure being handled, for a message to the operator.

#include <string>

namespace hostprog {

// Called inside a catch block only: the host error's description, else the
// exception's text, else "unknown failure".
std::string FailureText();

}  // namespace hostprog
