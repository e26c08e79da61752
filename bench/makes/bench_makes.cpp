// Writes 1,000 make files into a temporary make folder, lists them with
// ReadMakes and prints the time per file of each.
#include <stdlib.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>

#include "host/language_service.h"
#include "makes/make_utils.h"
#include "platform/com/registry.h"
#include "platform/values/numfmt.h"

int main(int argc, char** argv) {
    const int files = argc > 1 ? std::atoi(argv[1]) : 1000;
    char pattern[] = "/tmp/orvik-bench-makes-XXXXXX";
    if (!::mkdtemp(pattern)) return 1;
    const std::string root = pattern;
    plat::Registry::UseFile(root + "/registry.reg");
    plat::Registry::Instance().WriteValue(plat::Hive::LocalMachine, makes::kRegistryKey, "Path", root + "/makes/");
    host::LanguageService().SetLanguagesRoot(root + "/languages");

    using Clock = std::chrono::steady_clock;
    auto started = Clock::now();
    for (int i = 0; i < files; ++i) {
        auto make = std::make_shared<makes::COximeterMake>();
        make->SetName("Bench make " + std::to_string(i));
        make->SetTLC(i % 4096);
        for (int spo2 = 50; spo2 <= 100; ++spo2) make->AddRValue(spo2, plat::NumberToText((100 - spo2) / 20.0 + i * 1e-4));
        if (!makes::SaveMakesFile(make, "bench" + std::to_string(i) + ".txt", makes::kRegistryKey)) {
            std::fprintf(stderr, "saving make %d failed\n", i);
            return 1;
        }
    }
    auto written = Clock::now();
    auto list = makes::ReadMakes(makes::kRegistryKey);
    auto listed = Clock::now();

    auto perFile = [files](Clock::duration d) {
        return std::chrono::duration<double, std::micro>(d).count() / files;
    };
    std::printf("make files: %d, listed: %d\n", files, list->Count());
    std::printf("SaveMakesFile: %.1f us per file\n", perFile(written - started));
    std::printf("ReadMakes:     %.1f us per file\n", perFile(listed - written));
    std::error_code ec;
    std::filesystem::remove_all(root, ec);
    return list->Count() == files ? 0 : 1;
}
