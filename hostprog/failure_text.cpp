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

std::string FullStop(std::string text) {
    while (!text.empty() && (text.back() == ' ' || text.back() == '\n' || text.back() == '\t')) text.pop_back();
    if (text.empty()) return text;
    const char last = text.back();
    if (last != '.' && last != '!' && last != '?') text += '.';
    return text;
}

}  // namespace hostprog
