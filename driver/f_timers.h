#pragma once

#include <cstdint>
#include <functional>

#include "platform/loop/message_loop.h"

namespace drv {

// The two timers that pace one channel (serial_channel.h): tmrWait drives
// Wait, the delays around a command; tmrTimeOut is the reply inactivity time-out.
class FTimers {
public:
    FTimers();
    FTimers(const FTimers&) = delete;
    FTimers& operator=(const FTimers&) = delete;

    // A negative time-out is replaced by 1000, in the caller's variable too; 0 never fires.
    void StartTimeOut(int32_t& lTimeOut);
    void StopTimeOut();
    // Pumps messages until `ms` have passed (at least once), the cancel flag is
    // set or `stop` says so.
    void Wait(int32_t ms, const std::function<bool()>& stop = {});
    // Stops both timers; a Wait in progress ends at once.
    void Unload();

    std::function<void()> OperationTimeOut;

private:
    plat::Timer tmrWait_;
    plat::Timer tmrTimeOut_;
};

}  // namespace drv
