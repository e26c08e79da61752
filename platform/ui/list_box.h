#pragma once

#include "platform/ui/list_control.h"

namespace plat::ui {

class ListBox : public ListControl {};

}  // namespace plat::ui
