#pragma once
// A plain window that stands for the test host's frame: a page or a setup
// dialog docks into it, and its close box ends the session.

#include "platform/ui/form.h"

namespace fuzz_operator {

class HostWindow : public plat::ui::Form {
public:
    HostWindow() : Form("frmHost") { SetInnerSize(9000, 7000); }
};

}  // namespace fuzz_operator
