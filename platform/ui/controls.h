#pragma once
// The common controls in one include. See control.h for the split into
// program-side setters (fire events, no enabled check) and user actions
// (refused when the person cannot reach the control).

#include "platform/ui/check_box.h"
#include "platform/ui/combo_box.h"
#include "platform/ui/command_button.h"
#include "platform/ui/frame.h"
#include "platform/ui/keys.h"
#include "platform/ui/label.h"
#include "platform/ui/list_box.h"
#include "platform/ui/list_control.h"
#include "platform/ui/option_button.h"
#include "platform/ui/text_box.h"
