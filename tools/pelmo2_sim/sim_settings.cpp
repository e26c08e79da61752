#include "tools/pelmo2_sim/sim_settings.h"

#include <charconv>
#include <fstream>
#include <sstream>

#include "platform/values/text.h"
#include "sim/simulated_instrument.h"

namespace sim {

namespace {

std::optional<long long> WholeNumber(std::string_view raw) {
    const std::string text = plat::Trim(raw);
    long long n = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), n);
    if (text.empty() || ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return n;
}

std::string ReadFile(const std::string& path, const std::string& what) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw UsageError("cannot read the " + what + " file " + path);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    if (in.bad()) throw UsageError("cannot read the " + what + " file " + path);
    return bytes.str();
}

// Lines without their LF, CR LF or CR ending.
std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::string line;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char ch = text[i];
        if (ch == '\r' || ch == '\n') {
            lines.push_back(line);
            line.clear();
            if (ch == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        } else {
            line += ch;
        }
    }
    if (!line.empty()) lines.push_back(line);
    return lines;
}

}  // namespace

std::string SimSettings::Usage() {
    return "usage: pelmo2-sim [options]\n"
           "Plays the SpO2 simulator on a pseudo-terminal and prints its device path.\n"
           "\n"
           "  --registry FILE      write FILE (registry .reg layout) so that the instrument\n"
           "                       link's port for \"Pelmo2\" is this device\n"
           "  --port N             the port number written there (default 1)\n"
           "  --make N=NAME        name that custom make N (10 to 15) reports; repeatable\n"
           "  --makes FILE         names of custom makes, one N=NAME a line\n"
           "  --probe-file FILE    the probe report, one report line a line\n"
           "  --probe-line TEXT    one line of the probe report; repeatable\n"
           "  --version-line TEXT  the version line (default \"Pelmo Q5 Version 2.10\")\n"
           "  --reply-delay MS     from a command to its reply (default 200)\n"
           "  --silent             answer nothing\n"
           "  --garbage            answer every command with a line of noise\n"
           "  --help               this text\n"
           "\n"
           "Lines on standard input: silent, answer, garbage, noise [N], make N NAME,\n"
           "status, help, quit.\n";
}

SimSettings SimSettings::Parse(const std::vector<std::string>& args) {
    SimSettings s;
    std::vector<std::string> probeLines;
    std::string probeFile;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& opt = args[i];
        auto value = [&]() -> const std::string& {
            if (i + 1 >= args.size()) throw UsageError("option " + opt + " needs a value");
            return args[++i];
        };
        if (opt == "--help" || opt == "-h") {
            s.help = true;
        } else if (opt == "--registry") {
            s.registryFile = value();
            if (s.registryFile.empty()) throw UsageError("--registry needs a file name");
        } else if (opt == "--port") {
            auto n = WholeNumber(value());
            if (!n || *n < 1 || *n > 32767) throw UsageError("--port takes a whole number from 1 to 32767");
            s.port = static_cast<int32_t>(*n);
        } else if (opt == "--make") {
            s.SetMakeName(value(), "--make");
        } else if (opt == "--makes") {
            s.ReadMakesFile(value());
        } else if (opt == "--probe-file") {
            probeFile = value();
        } else if (opt == "--probe-line") {
            probeLines.push_back(value());
        } else if (opt == "--version-line") {
            const std::string& line = value();
            if (line.find_first_of("\r\n") != std::string::npos)
                throw UsageError("--version-line takes one line");
            s.versionLine = line;
        } else if (opt == "--reply-delay") {
            auto n = WholeNumber(value());
            if (!n || *n < 0 || *n > kMaxReplyDelay)
                throw UsageError("--reply-delay takes milliseconds from 0 to " + std::to_string(kMaxReplyDelay));
            s.replyDelay = *n;
        } else if (opt == "--silent") {
            s.silent = true;
        } else if (opt == "--garbage") {
            s.garbage = true;
        } else {
            throw UsageError((opt.starts_with('-') ? "unknown option " : "unexpected argument ") + opt, true);
        }
    }
    if (!probeFile.empty() && !probeLines.empty())
        throw UsageError("give the probe report by --probe-file or by --probe-line, not both");
    if (!probeFile.empty()) s.probeReport = ReadProbeFile(probeFile);
    if (!probeLines.empty()) s.probeReport = ProbeReportFromLines(probeLines);
    return s;
}

void SimSettings::SetMakeName(const std::string& assignment, const std::string& where) {
    const std::size_t eq = assignment.find('=');
    std::optional<long long> slot;
    if (eq != std::string::npos) slot = WholeNumber(assignment.substr(0, eq));
    if (!slot || *slot < SimulatedInstrument::kFirstCustomSlot || *slot >= SimulatedInstrument::kSlots)
        throw UsageError(where + ": \"" + assignment + "\" is not N=NAME with N from 10 to 15");
    const std::string name = plat::Trim(assignment.substr(eq + 1));
    if (name.empty()) throw UsageError(where + ": make " + std::to_string(*slot) + " needs a name");
    makeNames[static_cast<int>(*slot)] = name;
}

void SimSettings::ReadMakesFile(const std::string& path) {
    const std::vector<std::string> lines = Lines(ReadFile(path, "makes"));
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string line = plat::Trim(lines[i]);
        if (line.empty() || line.front() == '#') continue;
        SetMakeName(line, path + " line " + std::to_string(i + 1));
    }
}

std::string SimSettings::ProbeReportFromLines(const std::vector<std::string>& lines) {
    std::string report;
    for (const std::string& line : lines) {
        if (line.find_first_of("\r\n") != std::string::npos) throw UsageError("a probe report line holds a line break");
        report += line + "\r\n";
    }
    // The driver takes the report as complete only at this closing line.
    if (lines.empty() || lines.back() != "   ") report += "   \r\n";
    return report;
}

std::string SimSettings::ReadProbeFile(const std::string& path) {
    return ProbeReportFromLines(Lines(ReadFile(path, "probe report")));
}

void SimSettings::ApplyTo(SimulatedInstrument& instrument) const {
    for (const auto& [slot, name] : makeNames) instrument.SetMakeName(slot, name);
    if (probeReport) instrument.SetProbeReport(*probeReport);
    if (versionLine) instrument.SetVersionLine(*versionLine);
    if (replyDelay) instrument.SetReplyDelay(*replyDelay);
    instrument.SetSilent(silent);
    instrument.SetGarbage(garbage);
}

}  // namespace sim
