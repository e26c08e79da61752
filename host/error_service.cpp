#include "host/error_service.h"

#include <cstdio>
#include <iostream>
#include <sstream>

namespace host {

namespace {

std::string Compose(const std::string& source, ErrorNumber number, const std::string& location,
                    const std::string& description) {
    std::ostringstream out;
    out << "Error 0x" << std::hex << std::uppercase << number;
    if (!source.empty()) out << " from " << source;
    if (!location.empty()) out << " in " << location;
    if (!description.empty()) out << ": " << description;
    return out.str();
}

}  // namespace

HostError::HostError(std::string source, ErrorNumber number, std::string location, int32_t severity,
                     std::string description)
    : std::runtime_error(Compose(source, number, location, description)),
      source_(std::move(source)),
      number_(number),
      location_(std::move(location)),
      severity_(severity),
      description_(std::move(description)) {}

void CErrorService::Raise(const std::string& source, ErrorNumber number, const std::string& location,
                          int32_t severity, const plat::Variant& opt1, const plat::Variant&, const plat::Variant&,
                          const plat::Variant&, const plat::Variant&) {
    if (source.empty() && number == 0 && location.empty()) {
        if (auto current = std::current_exception()) std::rethrow_exception(current);
    }
    std::string description;
    try {
        description = opt1.AsString();
    } catch (const std::exception&) {
        // A description without a text form is left out.
    }
    throw HostError(source, number, location, severity, description);
}

void CErrorService::Report(const std::exception& error, const std::string& location) {
    ReportedError entry;
    if (auto* hostError = dynamic_cast<const HostError*>(&error)) {
        entry.source = hostError->Source();
        entry.number = hostError->Number();
        entry.location = hostError->Location();
        entry.severity = hostError->Severity();
        entry.description = hostError->Description();
    } else {
        entry.description = error.what();
    }
    entry.reportLocation = location;
    Record(std::move(entry));
}

void CErrorService::Report(std::exception_ptr error, const std::string& location) {
    if (!error) return;
    try {
        std::rethrow_exception(error);
    } catch (const std::exception& e) {
        Report(e, location);
    } catch (...) {
        ReportedError entry;
        entry.description = "unknown error";
        entry.reportLocation = location;
        Record(std::move(entry));
    }
}

void CErrorService::ReportCurrent(const std::string& location) { Report(std::current_exception(), location); }

void CErrorService::Record(ReportedError entry) {
    if (echo_) {
        std::ostringstream out;
        out << "Orvik: error";
        if (entry.number != 0) out << " 0x" << std::hex << std::uppercase << entry.number << std::dec;
        if (!entry.source.empty()) out << " from " << entry.source;
        if (entry.severity != 0) out << " (severity " << entry.severity << ")";
        if (!entry.location.empty()) out << " at " << entry.location;
        if (!entry.reportLocation.empty()) out << ", reported in " << entry.reportLocation;
        if (!entry.description.empty()) out << ": " << entry.description;
        std::cerr << out.str() << std::endl;
    }
    log_.push_back(std::move(entry));
}

CErrorService& ErrorService() {
    static CErrorService service;
    return service;
}

}  // namespace host
