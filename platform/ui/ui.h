#pragma once
// The headless UI layer in one include: windows, embeddable controls, the
// common controls and message boxes. Start with the comments of form.h
// (how a window is written) and control.h (program calls versus user actions).

#include "platform/ui/color.h"
#include "platform/ui/control.h"
#include "platform/ui/controls.h"
#include "platform/ui/font.h"
#include "platform/ui/form.h"
#include "platform/ui/metrics.h"
#include "platform/ui/msgbox.h"
#include "platform/ui/renderer.h"
