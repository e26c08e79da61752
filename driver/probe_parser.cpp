#include "driver/probe_parser.h"

#include <string>
#include <vector>

#include "driver/cancel_flag.h"
#include "driver/probe_report.h"
#include "driver/pump.h"
#include "driver/val_text.h"
#include "platform/values/abort_error.h"
#include "platform/values/numfmt.h"
#include "platform/values/text.h"

namespace drv {

namespace {

// 1-based string helpers in the manner of the report's own positions.
std::string Left(const std::string& s, int n) { return n <= 0 ? std::string() : s.substr(0, static_cast<size_t>(n)); }
std::string Mid(const std::string& s, int start) {
    if (start < 1) start = 1;
    return static_cast<size_t>(start - 1) >= s.size() ? std::string() : s.substr(static_cast<size_t>(start - 1));
}

std::vector<std::string> Split(const std::string& text, std::string_view sep) {
    std::vector<std::string> parts;
    size_t from = 0;
    for (;;) {
        size_t at = text.find(sep, from);
        if (at == std::string::npos) {
            parts.push_back(text.substr(from));
            return parts;
        }
        parts.push_back(text.substr(from, at - from));
        from = at + sep.size();
    }
}

void AddKeyed(const std::string& line, KeyedCollection& probe) {
    auto parts = Split(line, "=");
    if (parts.size() == 2) {
        const std::string key = plat::ToUpper(plat::Trim(parts[0]));
        const std::string value = plat::ToUpper(plat::Trim(parts[1]));
        (void)probe.Add(key + "=" + value, key);  // a repeated key keeps its first value
    } else {
        (void)probe.Add(plat::Trim(line));
    }
}

// The 1-based position just past a word at the start.
int Past(std::string_view word) { return static_cast<int>(word.size()) + 1; }

// "PHOTO: R=123 IR=456" becomes two lines of their own, read after the others.
void SplitPhotoLine(const std::string& line, std::vector<std::string>& lines) {
    const std::string rest = plat::ToUpper(plat::Trim(Mid(line, Past(probe_report::kPhotodiodeLine))));
    const int p = plat::InStr(rest, std::string(probe_report::kInfrared) + "=");
    if (p < 2) return;
    lines.push_back(std::string(probe_report::kPhotodiodeItem) + Left(rest, p - 1));
    lines.push_back(std::string(probe_report::kPhotodiodeItem) + Mid(rest, p));
}

// "PIN a TO PIN b = value": resistances in kilo-ohms under "PINa-PINb".
void AddPinLine(const std::string& line, KeyedCollection& probe) {
    std::string s = plat::Trim(Mid(line, Past(probe_report::kPin)));
    const int t = plat::InStrNoCase(s, "TO");
    if (t < 2) return;
    const std::string first = plat::Trim(Left(s, t - 1));
    s = plat::Trim(Mid(s, t + 2));
    const int q = plat::InStrNoCase(s, probe_report::kPin);
    s = plat::Trim(Mid(s, q + static_cast<int>(probe_report::kPin.size())));
    const int e = plat::InStr(s, "=");
    if (e < 1) return;
    const std::string second = plat::Trim(Left(s, e - 1));
    std::string value = plat::Trim(Mid(s, e + 1));
    const int k = plat::InStrNoCase(value, "K");
    if (k >= 2) value = Left(value, k - 1);
    else value = plat::NumberToText(ValText(value) * 0.001);
    const std::string key = probe_report::PinPairItemKey(first, second);
    (void)probe.Add(key + "=" + value, key);
}

}  // namespace

bool ParseProbeResults(std::string_view sReply, KeyedCollection* probe) {
    if (!probe) return false;
    const std::string reply = plat::Trim(sReply);
    if (reply.empty()) return true;
    std::vector<std::string> lines = Split(reply, "\r\n");
    for (size_t i = 0; i < lines.size(); ++i) {
        try {
            const std::string line = plat::Trim(lines[i]);
            bool keyed = false;
            if (plat::StartsWithNoCase(line, probe_report::kLedPhoto)) keyed = true;
            else if (plat::StartsWithNoCase(line, probe_report::kPhotodiodeLine)) SplitPhotoLine(line, lines);
            else if (plat::StartsWithNoCase(line, probe_report::kPhotodiodeRed)) keyed = true;
            else if (plat::StartsWithNoCase(line, probe_report::kPhotodiodeInfrared)) keyed = true;
            else if (plat::StartsWithNoCase(line, probe_report::kInfrared)) keyed = true;
            else if (plat::StartsWithNoCase(line, probe_report::kRed)) keyed = true;
            else if (plat::StartsWithNoCase(line, probe_report::kPin)) AddPinLine(line, *probe);
            if (keyed) AddKeyed(line, *probe);
        } catch (...) {
            plat::RethrowAbort();  // a line that cannot be taken apart is passed over
        }
        PumpPending();
        if (CancelFlag()) return false;
    }
    return !CancelFlag();
}

}  // namespace drv
