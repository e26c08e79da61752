#pragma once
// What the simulator program is told at start: its answers (version line,
// names of the custom makes 10-15, probe report), its behaviour (reply delay,
// silent, garbage) and where to point the instrument link (registry file and
// port number). Read from the command line and the files it names.

#include <cstdint>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/loop/message_loop.h"

namespace sim {

class SimulatedInstrument;

// A command line or settings file that cannot be used; the text says why.
class UsageError : public std::runtime_error {
public:
    explicit UsageError(const std::string& why, bool showUsage = false)
        : std::runtime_error(why), showUsage_(showUsage) {}
    // An argument the program does not take: the usage goes with the text.
    bool ShowUsage() const { return showUsage_; }

private:
    bool showUsage_;
};

class SimSettings {
public:
    static constexpr int kDefaultPort = 1;
    static constexpr plat::Millis kMaxReplyDelay = 600000;

    // Throws UsageError naming the option, file or line at fault.
    static SimSettings Parse(const std::vector<std::string>& args);
    static std::string Usage();

    // "N=NAME" lines (N 10..15); blank lines and lines starting with "#" are skipped.
    void ReadMakesFile(const std::string& path);
    void SetMakeName(const std::string& assignment, const std::string& where);
    // Report lines as the instrument sends them: each line ends in CR LF and
    // the closing line of three blanks is added when it is missing.
    static std::string ProbeReportFromLines(const std::vector<std::string>& lines);
    static std::string ReadProbeFile(const std::string& path);

    void ApplyTo(SimulatedInstrument& instrument) const;

    bool help = false;
    int32_t port = kDefaultPort;
    std::string registryFile;                 // "" writes none
    std::map<int, std::string> makeNames;     // slot 10..15 -> name
    std::optional<std::string> probeReport;   // as sent
    std::optional<std::string> versionLine;   // without CR LF
    std::optional<plat::Millis> replyDelay;
    bool silent = false;
    bool garbage = false;
};

}  // namespace sim
