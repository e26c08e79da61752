// The in-process server exports of liborvikPelmo2VTI.so.

#include "driver/server.h"
#include "platform/com/com.h"

ORVIK_INPROC_SERVER(drv::ServedClasses, drv::LiveObjects)
