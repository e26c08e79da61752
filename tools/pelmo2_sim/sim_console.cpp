#include "tools/pelmo2_sim/sim_console.h"

#include <charconv>
#include <sstream>

#include "platform/values/text.h"
#include "sim/simulated_instrument.h"
#include "tools/pelmo2_sim/sim_settings.h"

namespace sim {

namespace {

std::string Mode(const SimulatedInstrument& instrument) {
    if (instrument.Silent()) return "silent";
    if (instrument.Garbage()) return "garbage";
    return "answering";
}

}  // namespace

std::string SimConsole::Help() {
    return "commands: silent | answer | garbage | noise [N] | make N NAME | status | help | quit\n";
}

std::string SimConsole::Execute(const std::string& rawLine) {
    const std::string line = plat::Trim(plat::Replace(plat::Replace(rawLine, "\r", ""), "\t", " "));
    if (line.empty()) return "";
    const std::size_t space = line.find(' ');
    const std::string word = plat::ToLower(line.substr(0, space));
    const std::string rest = space == std::string::npos ? "" : plat::Trim(line.substr(space + 1));

    if (word == "silent" && rest.empty()) {
        instrument_.SetSilent(true);
        return "mode: silent\n";
    }
    if (word == "answer" && rest.empty()) {
        instrument_.SetSilent(false);
        instrument_.SetGarbage(false);
        return "mode: answering\n";
    }
    if (word == "garbage" && rest.empty()) {
        instrument_.SetSilent(false);
        instrument_.SetGarbage(true);
        return "mode: garbage\n";
    }
    if (word == "noise") {
        std::size_t n = kDefaultNoise;
        if (!rest.empty()) {
            auto [end, ec] = std::from_chars(rest.data(), rest.data() + rest.size(), n);
            if (ec != std::errc() || end != rest.data() + rest.size() || n == 0 || n > kMaxNoise)
                return "noise takes a count from 1 to " + std::to_string(kMaxNoise) + "\n";
        }
        instrument_.SendAfter(0, instrument_.Noise(n));
        return "sending " + std::to_string(n) + " characters of noise\n";
    }
    if (word == "make") {
        const std::size_t gap = rest.find(' ');
        if (gap == std::string::npos) return "usage: make N NAME (N from 10 to 15)\n";
        SimSettings one;
        try {
            one.SetMakeName(rest.substr(0, gap) + "=" + rest.substr(gap + 1), "make");
        } catch (const UsageError& e) {
            return std::string(e.what()) + "\n";
        }
        const auto& [slot, name] = *one.makeNames.begin();
        instrument_.SetMakeName(slot, name);
        return "make " + std::to_string(slot) + ": " + name + "\n";
    }
    if (word == "status" && rest.empty()) return Status();
    if (word == "help" && rest.empty()) return Help();
    if ((word == "quit" || word == "exit") && rest.empty()) {
        quit_ = true;
        return "quitting\n";
    }
    return "unknown command \"" + line + "\"; " + Help();
}

std::string SimConsole::Status() const {
    std::ostringstream out;
    out << "mode: " << Mode(instrument_) << ", reply delay " << instrument_.ReplyDelay() << " ms, "
        << instrument_.Commands().size() << " commands taken\n";
    out << "version: " << instrument_.VersionLine() << "\n";
    for (int slot = SimulatedInstrument::kFirstCustomSlot; slot < SimulatedInstrument::kSlots; ++slot) {
        std::string reply = instrument_.MakeReply(slot);
        out << "make " << slot << ": " << reply.substr(0, reply.size() - 2) << "\n";
    }
    out << "uploads: " << instrument_.Uploads().size() << "\n";
    return out.str();
}

}  // namespace sim
