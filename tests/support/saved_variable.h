#pragma once
// An environment variable as it was, put back (or unset again) when the scope
// ends, so that a test may change it freely.

#include <stdlib.h>

#include <optional>
#include <string>

namespace test_support {

class SavedVariable {
public:
    explicit SavedVariable(const char* name) : name_(name) {
        if (const char* value = ::getenv(name)) value_ = value;
    }
    ~SavedVariable() { value_ ? ::setenv(name_, value_->c_str(), 1) : ::unsetenv(name_); }
    SavedVariable(const SavedVariable&) = delete;
    SavedVariable& operator=(const SavedVariable&) = delete;

private:
    const char* name_;
    std::optional<std::string> value_;
};

}  // namespace test_support
