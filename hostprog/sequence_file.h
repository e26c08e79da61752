#pragma once
// A test sequence with its results in a file of its own: the XML document
// whose root is the sequence's saved "TestElement" (each element as it saves
// itself), read back through the registered plug-ins (CreateTest(TestID) +
// Load, host::LoadTestElement).

#include <string>

#include "host/test_element.h"

namespace hostprog {

class SequenceFile {
public:
    // Writes the sequence in place of the file, never leaving half a file.
    // False with `error` set when the sequence gives nothing or the file
    // cannot be written.
    static bool Save(const host::TestElementPtr& sequence, const std::string& path, std::string& error);
    // The sequence saved in the file; nullptr with `error` set when the file
    // cannot be read, is no saved sequence, or names a plug-in not loaded.
    static host::TestElementPtr Open(const std::string& path, std::string& error);
};

}  // namespace hostprog
