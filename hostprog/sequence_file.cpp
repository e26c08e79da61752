#include "hostprog/sequence_file.h"

#include <cerrno>
#include <cstring>

#include "host/run_context.h"
#include "host/test_element_base.h"
#include "host/xml.h"
#include "hostprog/failure_text.h"
#include "platform/com/fs.h"
#include "platform/values/abort_error.h"

namespace hostprog {

bool SequenceFile::Save(const host::TestElementPtr& sequence, const std::string& path, std::string& error) {
    std::string xml;
    try {
        if (!sequence) {
            error = "There is no sequence to save.";
            return false;
        }
        auto document = host::XmlFactory().NewDocument();
        auto root = sequence->Save(*document, {});
        if (!root) {
            error = "The sequence gave nothing to save.";
            return false;
        }
        document->AppendChild(root);
        xml = document->Xml();
    } catch (...) {
        plat::RethrowAbort();
        error = FullStop(FailureText());
        return false;
    }
    errno = 0;
    if (plat::fs::WriteFileAtomic(path, xml)) return true;
    error = errno ? FullStop(std::strerror(errno)) : "The file could not be written.";
    return false;
}

host::TestElementPtr SequenceFile::Open(const std::string& path, std::string& error) {
    try {
        auto document = host::XmlFactory().NewDocument();
        document->Load(path);
        auto root = document->DocumentElement();
        if (!root || root->Name() != "TestElement") {
            error = "The file holds no saved test sequence.";
            return nullptr;
        }
        auto element = host::LoadTestElement(*root, std::make_shared<host::CLoadContext>());
        if (!element) error = "The plug-in gave no element for the saved sequence.";
        return element;
    } catch (...) {
        plat::RethrowAbort();
        error = FullStop(FailureText());
        return nullptr;
    }
}

}  // namespace hostprog
