#include "sim/simulated_instrument.h"

#include <algorithm>
#include <cctype>
#include <stdexcept>

#include "platform/values/text.h"

namespace sim {

namespace {

const char* const kBuiltInMakes[10] = {"BCI",    "Criticare", "Datascope",    "Datex",         "PMS M1190",
                                       "Masimo", "Nellcor",   "Nihon-Kohden", "Ohmeda & Nova", "Respironics"};

// "[MAKE7]" -> 7; -1 when the text between is not a plain number 0..15.
int MakeSlot(const std::string& command) {
    if (!command.starts_with("[MAKE") || command.size() < 7) return -1;
    const std::string digits = command.substr(5, command.size() - 6);
    if (digits.empty() || digits.size() > 2 || !std::all_of(digits.begin(), digits.end(), [](char ch) { return ch >= '0' && ch <= '9'; })) return -1;
    const int n = std::stoi(digits);
    return n <= 15 ? n : -1;
}

std::vector<std::string> SplitAt(const std::string& s, char sep) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (true) {
        std::size_t p = s.find(sep, start);
        parts.push_back(s.substr(start, p == std::string::npos ? std::string::npos : p - start));
        if (p == std::string::npos) return parts;
        start = p + 1;
    }
}

RCurveUpload ParseUpload(const std::string& raw) {
    RCurveUpload u;
    u.raw = raw;
    const std::string body = raw.substr(8, raw.size() - 9);  // between "[RCURVE>" and "]"
    std::vector<std::string> fields = SplitAt(body, ':');
    if (fields.size() != 5) return u;
    try {
        std::size_t used = 0;
        int slot = std::stoi(fields[0], &used);
        if (used == fields[0].size()) u.slot = slot;
    } catch (const std::exception&) {
    }
    u.name = fields[1];
    u.irdc = fields[2];
    u.rdc = fields[3];
    u.values = SplitAt(fields[4], ',');
    if (!u.values.empty() && u.values.back().empty()) u.values.pop_back();
    return u;
}

}  // namespace

SimulatedInstrument::SimulatedInstrument(Sender send) : send_(std::move(send)) {
    if (!send_) throw std::invalid_argument("SimulatedInstrument needs a sender");
    for (int slot = 0; slot < kSlots; ++slot)
        makeLines_[slot] = "DownLoad Make: " + (slot < kFirstCustomSlot ? std::string(kBuiltInMakes[slot])
                                                                        : "CUSTOM " + std::to_string(slot - 9));
    probe_ = DefaultProbeReport();
}

void SimulatedInstrument::SetMakeName(int slot, const std::string& name) { SetMakeLine(slot, "DownLoad Make: " + name); }

void SimulatedInstrument::SetMakeLine(int slot, std::string line) {
    if (slot < 0 || slot >= kSlots) throw std::out_of_range("make slot");
    makeLines_[slot] = std::move(line);
}

void SimulatedInstrument::ScriptNext(const std::string& command, Reply reply) {
    scripts_[command].push_back(std::move(reply));
}

void SimulatedInstrument::SilenceNext(const std::string& command, int times) {
    for (int i = 0; i < times; ++i) ScriptNext(command, {});
}

void SimulatedInstrument::SendAt(plat::Millis time, std::string bytes) { send_(time, std::move(bytes)); }

void SimulatedInstrument::SendAfter(plat::Millis delay, std::string bytes) {
    send_(plat::MessageLoop::Current().Now() + std::max<plat::Millis>(0, delay), std::move(bytes));
}

std::string SimulatedInstrument::Noise(std::size_t length) {
    static const std::string kAlphabet = [] {
        std::string a;
        for (char ch = '!'; ch <= '~'; ++ch)
            if (ch != '[' && ch != ']') a += ch;
        return a;
    }();
    std::string noise;
    noise.reserve(length);
    for (std::size_t i = 0; i < length; ++i) {
        noiseState_ ^= noiseState_ << 13;  // xorshift32: cheap, and repeatable for tests
        noiseState_ ^= noiseState_ >> 17;
        noiseState_ ^= noiseState_ << 5;
        noise += kAlphabet[noiseState_ % kAlphabet.size()];
    }
    return noise;
}

std::vector<std::string> SimulatedInstrument::CommandTexts() const {
    std::vector<std::string> texts;
    for (const ReceivedCommand& c : commands_) texts.push_back(c.text);
    return texts;
}

std::string SimulatedInstrument::Value(const std::string& key) const {
    auto it = values_.find(key);
    return it == values_.end() ? "" : it->second;
}

int SimulatedInstrument::QuitCount() const {
    return static_cast<int>(std::count_if(commands_.begin(), commands_.end(),
                                          [](const ReceivedCommand& c) { return c.text == "[Q]"; }));
}

std::string SimulatedInstrument::MakeReply(int slot) const {
    if (slot < 0 || slot >= kSlots) return "";
    return makeLines_[slot] + "\r\n";
}

std::string SimulatedInstrument::DefaultProbeReport() {
    return "PROBE TEST RESULTS\r\n"
           "LED\r\n"
           "R=1.25\r\n"
           "IR=2.50\r\n"
           "PHTO=3.75\r\n"
           "PHOTO: R=123 IR=456\r\n"
           "PIN 1 TO PIN 2 = 10.2K\r\n"
           "PIN 1 TO PIN 3 = 1500\r\n"
           "PIN 2 TO PIN 3 = 2.2K\r\n"
           "   \r\n";
}

std::string SimulatedInstrument::BuiltInMakeName(int slot) {
    return slot >= 0 && slot < 10 ? kBuiltInMakes[slot] : "";
}

Reply SimulatedInstrument::Split(const std::string& text, const std::vector<std::size_t>& cuts,
                                 const std::vector<plat::Millis>& times) {
    if (times.size() != cuts.size() + 1) throw std::invalid_argument("Split needs one time more than cuts");
    Reply reply;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= cuts.size(); ++i) {
        const std::size_t end = i < cuts.size() ? std::min(cuts[i], text.size()) : text.size();
        if (end < start) throw std::invalid_argument("Split cuts must ascend");
        reply.push_back({times[i], text.substr(start, end - start)});
        start = end;
    }
    return reply;
}

void SimulatedInstrument::Receive(plat::Millis time, std::string_view bytes) {
    pendingBytes_ += bytes;
    while (true) {
        const std::size_t close = pendingBytes_.find(']');
        if (close == std::string::npos) {
            // Keep a started command; bytes before any '[' are noise, and so is
            // a "command" longer than any real one (the line would grow without end).
            const std::size_t open = pendingBytes_.rfind('[');
            pendingBytes_ = open == std::string::npos ? "" : pendingBytes_.substr(open);
            if (pendingBytes_.size() > kMaxCommandLength) pendingBytes_.clear();
            return;
        }
        const std::size_t open = pendingBytes_.rfind('[', close);
        if (open != std::string::npos) Handle({time, pendingBytes_.substr(open, close - open + 1)});
        pendingBytes_.erase(0, close + 1);
    }
}

void SimulatedInstrument::Handle(const ReceivedCommand& c) {
    commands_.push_back(c);
    const std::string& cmd = c.text;
    std::string normal;
    if (cmd == "[VER]") {
        normal = VersionReply();
    } else if (cmd == "[PROBE]") {
        normal = probe_;
    } else if (cmd.starts_with("[MAKE")) {
        normal = MakeReply(MakeSlot(cmd));
    } else if (cmd.starts_with("[RCURVE>")) {
        uploads_.push_back(ParseUpload(cmd));
        const RCurveUpload& u = uploads_.back();
        if (u.slot >= 0 && u.slot <= 5) makeLines_[10 + u.slot] = "DownLoad Make: " + plat::Trim(u.name);
    } else if (cmd != "[Q]" && cmd != "[SCRF]" && cmd != "[SCRU]") {
        // Value command: a key of letters, then the value.
        std::size_t k = 1;
        while (k < cmd.size() && std::isalpha(static_cast<unsigned char>(cmd[k]))) ++k;
        if (k > 1 && k < cmd.size() - 1) values_[cmd.substr(1, k - 1)] = cmd.substr(k, cmd.size() - 1 - k);
    }
    if (!silent_) Answer(cmd, normal, c.time);
    if (OnCommand) OnCommand(commands_.back());
}

void SimulatedInstrument::Answer(const std::string& command, const std::string& normal, plat::Millis writeTime) {
    Reply reply;
    auto it = scripts_.find(command);
    if (it != scripts_.end() && !it->second.empty()) {
        reply = std::move(it->second.front());
        it->second.pop_front();
    } else if (garbage_) {
        reply = {{replyDelay_, Noise(std::max<std::size_t>(16, normal.size())) + "\r\n"}};
    } else if (!normal.empty()) {
        reply = {{replyDelay_, normal}};
    }
    for (Chunk& chunk : reply)
        if (!chunk.bytes.empty()) send_(writeTime + chunk.after, std::move(chunk.bytes));
}

}  // namespace sim
