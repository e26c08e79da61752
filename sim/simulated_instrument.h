#pragma once
// The simulator's side of the serial protocol, on any transport. The transport
// hands it the bytes the driver wrote (Receive) and carries its replies back
// (the Sender, called with the loop time at which the bytes are due).
//
// It takes each bracketed command out of the bytes ("[...]"; stray bytes
// between commands are ignored), records it with its write time and answers:
//   "[VER]"       the version line + CR LF
//   "[MAKE" n "]" the make-name line of slot n + CR LF (0..15; other n: none)
//   "[PROBE]"     the probe report (multi-line, ending "   " CR LF)
// Everything else ("[Q]", "[SCRF]", "[SCRU]", "[RCURVE>...]", value commands
// such as "[BPM75]") is taken silently and recorded. An upload into custom
// slot k (0..5) makes slot 10+k report the uploaded name.
// Replies start ReplyDelay ms after the command was written; they can be
// scripted per command (chunks at given offsets, or silence), suppressed
// (silent) or replaced by noise (garbage).

#include "platform/loop/message_loop.h"

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace sim {

// Part of a reply: `bytes` arrive `after` ms after the command's write.
struct Chunk {
    plat::Millis after = 0;
    std::string bytes;
};
using Reply = std::vector<Chunk>;

struct ReceivedCommand {
    plat::Millis time = 0;  // loop time of the write that completed it
    std::string text;       // with its brackets, e.g. "[BPM75]"
};

struct RCurveUpload {
    int slot = -1;                     // -1 when the text could not be read
    std::string name;                  // the name field as sent (padded)
    std::string irdc, rdc;             // as sent, e.g. "350"
    std::vector<std::string> values;   // the groups between ':' ... ']', as sent
    std::string raw;                   // the whole command
};

class SimulatedInstrument {
public:
    static constexpr plat::Millis kDefaultReplyDelay = 200;
    static constexpr int kSlots = 16;
    static constexpr int kFirstCustomSlot = 10;
    // Far above the longest command (an R-curve upload, about 240 characters).
    static constexpr std::size_t kMaxCommandLength = 4096;

    // Carries `bytes` to the driver at loop time `time`.
    using Sender = std::function<void(plat::Millis time, std::string bytes)>;

    explicit SimulatedInstrument(Sender send);
    SimulatedInstrument(const SimulatedInstrument&) = delete;
    SimulatedInstrument& operator=(const SimulatedInstrument&) = delete;

    // Bytes that the driver wrote at loop time `time`.
    void Receive(plat::Millis time, std::string_view bytes);

    // --- what it answers -------------------------------------------------
    void SetVersionLine(std::string line) { version_ = std::move(line); }  // without CR LF
    const std::string& VersionLine() const { return version_; }
    // Slot n answers "DownLoad Make: " + name.
    void SetMakeName(int slot, const std::string& name);
    // Slot n answers `line` exactly (without CR LF).
    void SetMakeLine(int slot, std::string line);
    // The whole "[PROBE]" reply, sent as given.
    void SetProbeReport(std::string report) { probe_ = std::move(report); }
    void SetReplyDelay(plat::Millis ms) { replyDelay_ = ms; }
    plat::Millis ReplyDelay() const { return replyDelay_; }
    // Answers nothing at all while on (commands are still recorded).
    void SetSilent(bool on) { silent_ = on; }
    bool Silent() const { return silent_; }
    // While on, every command is answered with a line of noise (printable
    // characters, no brackets, then CR LF) instead of its reply; silence wins.
    void SetGarbage(bool on) { garbage_ = on; }
    bool Garbage() const { return garbage_; }

    // The next time `command` (exact text) arrives it is answered with
    // `reply` instead (an empty Reply: silence). Scripts queue per command.
    void ScriptNext(const std::string& command, Reply reply);
    void SilenceNext(const std::string& command, int times = 1);

    // Unprompted bytes (garbage, stale replies) at a loop time / after a delay.
    void SendAt(plat::Millis time, std::string bytes);
    void SendAfter(plat::Millis delay, std::string bytes);
    // `length` characters of noise (never "[", "]", CR or LF), different each call.
    std::string Noise(std::size_t length);

    // Called after each command has been recorded (and answered).
    std::function<void(const ReceivedCommand&)> OnCommand;

    // --- what it saw -------------------------------------------------------
    const std::vector<ReceivedCommand>& Commands() const { return commands_; }
    std::vector<std::string> CommandTexts() const;
    // Last value of each value command by key ("BPM" -> "75", "AC" -> "2.500").
    const std::map<std::string, std::string>& Values() const { return values_; }
    std::string Value(const std::string& key) const;
    const std::vector<RCurveUpload>& Uploads() const { return uploads_; }
    int QuitCount() const;

    // --- the normal replies (for expectations) -----------------------------
    std::string VersionReply() const { return version_ + "\r\n"; }
    std::string MakeReply(int slot) const;  // "" for slots outside 0..15
    const std::string& ProbeReport() const { return probe_; }
    static std::string DefaultProbeReport();
    static std::string BuiltInMakeName(int slot);  // "" outside 0..9

    // Cuts `text` at `cuts` (ascending positions) into chunks sent at `times`
    // (one more time than cuts).
    static Reply Split(const std::string& text, const std::vector<std::size_t>& cuts,
                       const std::vector<plat::Millis>& times);

private:
    void Handle(const ReceivedCommand& c);
    void Answer(const std::string& command, const std::string& normal, plat::Millis writeTime);

    Sender send_;
    std::string pendingBytes_;
    std::string version_ = "Pelmo Q5 Version 2.10";
    std::string makeLines_[kSlots];
    std::string probe_;
    plat::Millis replyDelay_ = kDefaultReplyDelay;
    bool silent_ = false;
    bool garbage_ = false;
    uint32_t noiseState_ = 0x2545F491u;
    std::map<std::string, std::deque<Reply>> scripts_;
    std::vector<ReceivedCommand> commands_;
    std::map<std::string, std::string> values_;
    std::vector<RCurveUpload> uploads_;
};

}  // namespace sim
