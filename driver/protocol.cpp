#include "driver/protocol.h"

#include <cmath>
#include <iterator>
#include <stdexcept>
#include <string>

#include "driver/val_text.h"
#include "platform/values/numfmt.h"
#include "platform/values/pass_over.h"
#include "platform/values/text.h"

namespace drv::protocol {

namespace {

constexpr const char* kMakeHead = "[MAKE";
constexpr const char* kRCurveHead = "RCURVE";
constexpr const char* kLineEnd = "\r\n";
// The probe report ends with blanks before its line end, and only after a quiet second.
constexpr const char* kReportEnd = "   \r\n";

// The first row that matches a text is its command; the last matches every text.
constexpr CommandTraits kCommands[] = {
    {.text = kVersion, .match = Match::Whole, .reply = {.expected = true, .end = kLineEnd}},
    {.text = kProbe,
     .match = Match::Whole,
     .reply = {.expected = true, .end = kReportEnd, .quietTime = 1000, .silentStatus = ecsMTINotReady}},
    {.text = kMakeHead, .match = Match::Head, .reply = {.expected = true, .end = kLineEnd, .namesMake = true}},
    {.text = kQuit, .match = Match::Whole, .reply = {}, .delayBefore = 0, .delayAfter = 500},
    // The instrument stores a whole curve before it listens again.
    {.text = kRCurveHead, .match = Match::HeadAfterOpen, .reply = {}, .delayBefore = 3000, .delayAfter = 10000},
    {.text = "", .match = Match::Any, .reply = {}},
};

bool Matches(const CommandTraits& row, std::string_view command) {
    switch (row.match) {
    case Match::Whole: return command == row.text;
    case Match::Head: return command.substr(0, row.text.size()) == row.text;
    case Match::HeadAfterOpen:
        return command.size() > row.text.size() && plat::EqualsNoCase(command.substr(1, row.text.size()), row.text);
    case Match::Any: return true;
    }
    return false;
}

double ItemNumber(const plat::Variant& item) {
    const double value = item.IsNumeric() ? item.AsDouble() : ValText(item.AsString());
    // "NaN" or "Inf" would break the frame: such an item cannot be read.
    if (!std::isfinite(value)) throw std::invalid_argument("not a number");
    return value;
}

// Light levels go on the wire as tenths, halves rounded to even.
int32_t LightLevelOnWire(int32_t level) { return level != 0 ? plat::RoundToLong(level * 0.1) : 0; }

}  // namespace

const CommandTraits& TraitsOf(std::string_view command) {
    for (const CommandTraits& row : kCommands)
        if (Matches(row, command)) return row;
    return kCommands[std::size(kCommands) - 1];
}

bool IsQuit(std::string_view command) { return command == kQuit; }

bool IsMakeNumber(std::string_view number) {
    if (number.empty() || number.size() > 2) return false;
    for (char c : number)
        if (c < '0' || c > '9') return false;
    if (number.size() == 2 && number[0] == '0') return false;
    return std::stoi(std::string(number)) <= 15;
}

std::string MakeCommand(const std::string& number) { return kMakeHead + number + "]"; }

std::string MakeName(const std::string& reply) {
    std::string s = plat::Trim(plat::Replace(reply, kLineEnd, ""));
    s = plat::Trim(plat::ReplaceNoCase(s, "DownLoad", ""));
    return plat::Trim(plat::ReplaceNoCase(s, "Make: ", ""));
}

std::string ReplyText(const CommandTraits& traits, const std::string& reply) {
    return traits.reply.namesMake ? MakeName(reply) : reply;
}

std::string ValueCommandText(const std::string& key, double value, const std::string& format) {
    return "[" + key + plat::Replace(plat::FormatNumber(value, format), ",", ".") + "]";
}

bool IsUploadSlot(int32_t slot) { return slot >= 0 && slot <= 5; }

bool IsFrameSafeName(std::string_view name) {
    for (unsigned char c : name) {
        if (c < 0x20 || c == 0x7F) return false;
        if (c == '[' || c == ']' || c == ':' || c == ',') return false;
    }
    return true;
}

std::unique_ptr<KeyedCollection> RValuesOnWire(const KeyedCollection& rCurve) {
    auto scaled = std::make_unique<KeyedCollection>();
    for (const plat::Variant& item : rCurve) {
        double value = 0;
        plat::PassOver([&] { value = item.IsNumeric() ? item.AsDouble() : ValText(item.AsString()); });
        (void)scaled->Add(plat::Variant(value * 100));
    }
    return scaled;
}

std::string RCurveCommand(int32_t slot, const std::string& name, int32_t irdc, int32_t rdc,
                          const KeyedCollection& wireValues) {
    std::string nameField = name;
    if (nameField.size() < kNameFieldWidth) nameField.resize(kNameFieldWidth, ' ');
    std::string command = "[" + std::string(kRCurveHead) + ">" + std::to_string(slot) + ":" + nameField + ":" +
                          plat::FormatNumber(LightLevelOnWire(irdc), "00#") + ":" +
                          plat::FormatNumber(LightLevelOnWire(rdc), "00#") + ":";
    for (int32_t i = wireValues.Count() - (kCurvePoints - 1); i <= wireValues.Count(); ++i)
        command += plat::FormatNumber(ItemNumber(wireValues.Item(i)), "00#") + ",";
    return command + "]";
}

}  // namespace drv::protocol
