#include "platform/serial/instrument_link.h"

#include "platform/com/registry.h"
#include "platform/values/pass_over.h"

#include <cctype>
#include <charconv>
#include <string_view>

namespace plat {

void GetInstrumentPort(const std::string& instrumentType, const std::string& /*reserved*/, int32_t& port) {
    port = PassOver(
        [&] {
            const std::string text = Registry::Instance().ReadValue(
                Hive::LocalMachine, "Software\\Velam\\Orvik\\InstrumentLink\\" + instrumentType, "Port");
            std::string_view s = text;
            while (!s.empty() && std::isspace(static_cast<unsigned char>(s.front()))) s.remove_prefix(1);
            while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back()))) s.remove_suffix(1);
            if (s.size() > 1 && s[0] == '+' && std::isdigit(static_cast<unsigned char>(s[1]))) s.remove_prefix(1);
            int32_t value = 0;
            auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value);
            return !s.empty() && ec == std::errc() && end == s.data() + s.size() ? value : 0;
        },
        0);
}

}  // namespace plat
