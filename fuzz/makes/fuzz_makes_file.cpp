// Feeds arbitrary bytes to the make-file reader. A file that reads as a make
// must also survive a save and read back with the same name and values.
#include <stdlib.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>

#include "host/language_service.h"
#include "makes/make_utils.h"
#include "platform/com/fs.h"
#include "platform/com/registry.h"

namespace {

struct Workspace {
    std::string root;
    std::string folder;
    std::string input;
    Workspace() {
        char pattern[] = "/tmp/orvik-fuzz-makes-XXXXXX";
        if (!::mkdtemp(pattern)) std::abort();
        root = pattern;
        folder = root + "/makes/";
        input = root + "/input.txt";
        plat::Registry::UseFile(root + "/registry.reg");
        plat::Registry::Instance().WriteValue(plat::Hive::LocalMachine, makes::kRegistryKey, "Path", folder);
        host::LanguageService().SetLanguagesRoot(root + "/languages");
        plat::fs::CreateFolder(folder);
    }
};

Workspace& Work() {
    static Workspace work;
    return work;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Workspace& work = Work();
    FILE* f = std::fopen(work.input.c_str(), "wb");
    if (!f) std::abort();
    if (size && std::fwrite(data, 1, size, f) != size) std::abort();
    std::fclose(f);

    makes::OximeterMakePtr make = makes::ReadMakesFile(work.input);
    if (!make) return 0;
    if (make->RCurve()->Count() != 51 || make->File() != "input.txt") std::abort();

    makes::OximeterMakePtr saved = make;
    if (!makes::SaveMakesFile(saved, "copy.txt", makes::kRegistryKey)) std::abort();
    makes::OximeterMakePtr back = makes::ReadMakesFile(work.folder + "copy.txt");
    if (!back || back->Name() != make->Name() || back->RedDC() != make->RedDC() || back->IRDC() != make->IRDC() ||
        back->IRAC() != make->IRAC() || back->LightLevel() != make->LightLevel() || back->TLC() != make->TLC())
        std::abort();
    return 0;
}
