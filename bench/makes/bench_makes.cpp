// Times SaveMakesFile, and ReadMakes over folders of 1,000 and 10,000 make
// files (or the counts given as arguments); prints the time per file, the
// floor beside it (listing the folder and reading every file twice, the least
// any reading of the makes costs) and the ratio of the two, measured in the
// same run, and how the time per file of the largest folder compares with the
// smallest. Build it in Release for figures worth comparing.
#include <stdlib.h>

#include <algorithm>
#include <climits>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "bench/bench_args.h"
#include "host/language_service.h"
#include "makes/make_utils.h"
#include "platform/com/fs.h"
#include "platform/com/registry.h"
#include "platform/values/numfmt.h"

namespace {

using Clock = std::chrono::steady_clock;

double MicrosPerFile(Clock::duration d, int files) {
    return std::chrono::duration<double, std::micro>(d).count() / files;
}

makes::OximeterMakePtr BenchMake(int i) {
    auto make = std::make_shared<makes::COximeterMake>();
    make->SetName("Bench make " + std::to_string(i));
    make->SetTLC(i % 4096);
    for (int spo2 = 50; spo2 <= 100; ++spo2) make->AddRValue(spo2, plat::NumberToText((100 - spo2) / 20.0 + i * 1e-4));
    return make;
}

void UseFolder(const std::string& folder) {
    plat::Registry::Instance().WriteValue(plat::Hive::LocalMachine, makes::kRegistryKey, "Path", folder);
}

// Fills the folder with `files` makes of distinct names; the bytes of one saved
// make are copied, since syncing 10,000 saves would time the disk, not us.
bool FillFolder(const std::string& folder, int files) {
    UseFolder(folder);
    auto make = BenchMake(0);
    if (!makes::SaveMakesFile(make, "seed.txt", makes::kRegistryKey)) return false;
    std::string text;
    {
        std::ifstream in(folder + "seed.txt", std::ios::binary);
        text.assign(std::istreambuf_iterator<char>(in), {});
    }
    std::filesystem::remove(folder + "seed.txt");
    const std::string from = "MAN_NAME=Bench make 0\r\n";
    const size_t at = text.find(from);
    if (at == std::string::npos) return false;
    for (int i = 0; i < files; ++i) {
        std::string bytes = text;
        bytes.replace(at, from.size(), "MAN_NAME=Bench make " + std::to_string(i) + "\r\n");
        std::ofstream out(folder + "bench" + std::to_string(i) + ".txt", std::ios::binary);
        out << bytes;
        if (!out) return false;
    }
    return true;
}

// The floor: the folder listed once as ReadMakes lists it and every file read
// twice. Returns the bytes seen, so that the reads cannot be left out.
size_t ListAndReadTwice(const std::string& folder) {
    size_t seen = 0;
    std::string bytes;
    const std::vector<std::string> files = plat::fs::ListFiles(folder, makes::GetMakesExtensionPattern());
    for (int pass = 0; pass < 2; ++pass) {
        for (const std::string& file : files)
            if (plat::fs::ReadFile(folder + file, bytes)) seen += bytes.size();
    }
    return seen;
}

}  // namespace

constexpr const char* kUsage =
    "usage: bench_makes [files...]\n"
    "Times saving makes, and reading folders of the given numbers of make\n"
    "files (default 1000 and 10000).\n";

int main(int argc, char** argv) {
    std::vector<int> counts = bench::Counts(argc, argv, kUsage, INT_MAX);
    if (counts.empty()) counts = {1000, 10000};

    char pattern[] = "/tmp/orvik-bench-makes-XXXXXX";
    if (!::mkdtemp(pattern)) return 1;
    const std::string root = pattern;
    plat::Registry::UseFile(root + "/registry.reg");
    host::LanguageService().SetLanguagesRoot(root + "/languages");
    int status = 0;

    // Saving: every save reaches the disk, so this mostly times fsync.
    {
        const int saves = 200;
        UseFolder(root + "/saved/");
        auto started = Clock::now();
        for (int i = 0; i < saves; ++i) {
            auto make = BenchMake(i);
            if (!makes::SaveMakesFile(make, "bench" + std::to_string(i) + ".txt", makes::kRegistryKey)) {
                std::fprintf(stderr, "saving make %d failed\n", i);
                return 1;
            }
        }
        std::printf("SaveMakesFile: %8.1f us per file (%d files)\n", MicrosPerFile(Clock::now() - started, saves), saves);
    }

    std::vector<double> perFile;
    for (int files : counts) {
        const std::string folder = root + "/makes" + std::to_string(files) + "/";
        if (!FillFolder(folder, files)) {
            std::fprintf(stderr, "writing %d make files failed\n", files);
            return 1;
        }
        // Runs alternate between the floor and ReadMakes, so that both meet the same load.
        double best = 0;
        double floor = 0;
        for (int run = 0; run < 5; ++run) {
            auto started = Clock::now();
            if (ListAndReadTwice(folder) == 0) status = 1;
            const double floorUs = MicrosPerFile(Clock::now() - started, files);
            started = Clock::now();
            auto list = makes::ReadMakes(makes::kRegistryKey);
            const double us = MicrosPerFile(Clock::now() - started, files);
            if (list->Count() != files) {
                std::fprintf(stderr, "listed %d of %d makes\n", list->Count(), files);
                status = 1;
            }
            best = run == 0 ? us : std::min(best, us);
            floor = run == 0 ? floorUs : std::min(floor, floorUs);
        }
        perFile.push_back(best);
        std::printf("ReadMakes:     %8.1f us per file, floor %6.1f us, x%.2f the floor (%d files, best of 5)\n", best,
                    floor, best / floor, files);
    }
    if (perFile.size() > 1)
        std::printf("ReadMakes per file, %d files against %d: x%.2f\n", counts.back(), counts.front(),
                    perFile.back() / perFile.front());

    std::error_code ec;
    std::filesystem::remove_all(root, ec);
    return status;
}
