#pragma once
// The benchmarks' command line: positive counts, or --help.

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace bench {

// The arguments as positive whole numbers, at most `most` of them. "--help"
// or "-h" prints `usage` to stdout and exits 0; anything else that is not
// such a count prints it to stderr and exits 2.
inline std::vector<int> Counts(int argc, char** argv, const char* usage, int most) {
    std::vector<int> counts;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::fputs(usage, stdout);
            std::exit(0);
        }
        char* end = nullptr;
        errno = 0;
        const long value = std::strtol(argv[i], &end, 10);
        const bool digits = argv[i][0] >= '0' && argv[i][0] <= '9';
        if (!digits || *end != '\0' || errno != 0 || value < 1 || value > INT_MAX ||
            static_cast<int>(counts.size()) >= most) {
            std::fputs(usage, stderr);
            std::exit(2);
        }
        counts.push_back(static_cast<int>(value));
    }
    return counts;
}

// The one count the program takes, `fallback` when none is given.
inline int Count(int argc, char** argv, const char* usage, int fallback) {
    const std::vector<int> counts = Counts(argc, argv, usage, 1);
    return counts.empty() ? fallback : counts[0];
}

}  // namespace bench
