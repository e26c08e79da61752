#include "hostprog/failure_text.h"

#include <exception>

#include "host/error_service.h"

namespace hostprog {

std::string FailureText() {
    try {
        throw;
    } catch (const host::HostError& e) {
        return e.Description().empty() ? e.what() : e.Description();
    } catch (const std::exception& e) {
        return e.what();
    } catch (...) {
        return "unknown failure";
    }
}

}  // namespace hostprog
