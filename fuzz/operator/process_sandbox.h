#pragma once
// The fuzzing process's own corner of the machine: a temporary folder with
// the registry file (the instrument link on port 1), an empty language folder
// (every text its English default) and the serial ports' lock folder,
// removed when the process ends.

#include <string>

namespace fuzz_operator {

class ProcessSandbox {
public:
    // The process's one sandbox, made on first use.
    static ProcessSandbox& Instance();
    const std::string& Folder() const { return folder_; }
    // A folder inside the sandbox, made empty.
    std::string EmptyFolder(const std::string& name) const;

private:
    ProcessSandbox();
    std::string folder_;
};

}  // namespace fuzz_operator
