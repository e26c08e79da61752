#pragma once
// The simulator's command set in one place: the wire text of every command,
// each command's traits (whether a reply comes, how it ends, the delays
// around the write), the rules for a command's arguments and the R-curve
// frame with both unit conversions of an upload. The channel and the engine
// look a command's traits up here; no other driver file holds wire text.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "driver/vti_interface.h"

namespace drv::protocol {

// How the reply to a command ends.
struct ReplyRule {
    bool expected = false;
    std::string_view end;   // a complete reply ends with this
    int32_t quietTime = 0;  // ms without more input before the end counts
    // What a reply that never completes means for the command.
    ECommsStatus silentStatus = ecsMTINotFound;
    // The reply carries a make's name between words of its own.
    bool namesMake = false;
};

// How a wire text is recognised as the command of a row.
enum class Match {
    Whole,          // the whole text
    Head,           // the text begins with it
    HeadAfterOpen,  // the text, either letter case, follows the opening character
    Any,            // every other text
};

struct CommandTraits {
    std::string_view text;
    Match match = Match::Any;
    ReplyRule reply;
    int32_t delayBefore = 3000;  // 0: written at once, nothing pumped before
    int32_t delayAfter = 3000;
};

// The traits of a command by its wire text; a text of no row of its own is
// an ordinary command without reply.
const CommandTraits& TraitsOf(std::string_view command);

// ---- commands ----------------------------------------------------------

inline constexpr const char* kVersion = "[VER]";
inline constexpr const char* kProbe = "[PROBE]";
inline constexpr const char* kQuit = "[Q]";
inline constexpr const char* kFixedSignalLevel = "[SCRF]";
inline constexpr const char* kTestUnitSignalLevel = "[SCRU]";

bool IsQuit(std::string_view command);

// A make number is plain digits, 0 to 15, without a leading zero.
bool IsMakeNumber(std::string_view number);
std::string MakeCommand(const std::string& number);
// The make's name out of the reply to a make command.
std::string MakeName(const std::string& reply);
// The reply as the engine returns it for its command.
std::string ReplyText(const CommandTraits& traits, const std::string& reply);

// A value command: its key and the number format of its value.
struct ValueCommand {
    const char* key;
    const char* format;
};
inline constexpr ValueCommand kPulseAmplitude{"AC", "#0.000"};
inline constexpr ValueCommand kSpO2{"OXY", "##0"};
inline constexpr ValueCommand kAmbientLight{"AMB", "#####0"};
inline constexpr ValueCommand kPreset{"PRESETS", "######0"};
inline constexpr ValueCommand kMAmp{"MAMP", "######0"};
inline constexpr ValueCommand kBPM{"BPM", "######0"};
inline constexpr ValueCommand kIRAC{"IRAC", "######0"};
inline constexpr ValueCommand kRAC{"RAC", "######0"};
inline constexpr ValueCommand kRDC{"RDC", "######0"};
inline constexpr ValueCommand kIRDC{"IRDC", "######0"};
inline constexpr ValueCommand kTLC{"TLC", "######0"};

// "[" key value "]", the value with a decimal point whatever the locale.
std::string ValueCommandText(const std::string& key, double value, const std::string& format);

// ---- the R-curve upload ------------------------------------------------

inline constexpr int32_t kCurvePoints = 51;
inline constexpr std::size_t kNameFieldWidth = 9;

bool IsUploadSlot(int32_t slot);
// A name that keeps the frame whole.
bool IsFrameSafeName(std::string_view name);
// R values 0 to 2.5 as the frame carries them, 0 to 250; an item that cannot
// be read counts as 0.
std::unique_ptr<KeyedCollection> RValuesOnWire(const KeyedCollection& rCurve);
// The frame of an upload from R values already on the wire's scale (the last
// kCurvePoints items) and light levels on the make's scale, sent as a tenth.
// Throws when an item is no finite number.
std::string RCurveCommand(int32_t slot, const std::string& name, int32_t irdc, int32_t rdc,
                          const KeyedCollection& wireValues);

}  // namespace drv::protocol
