#pragma once
// The headless UI layer in one include: windows, embeddable controls, the
// common controls, tree, toolbar, progress bar, grid, HTML view, pictures,
// message boxes, and the renderer seam. Start with the comments of form.h
// (how a window is written) and control.h (program calls versus user actions).

#include "platform/ui/color.h"
#include "platform/ui/control.h"
#include "platform/ui/controls.h"
#include "platform/ui/font.h"
#include "platform/ui/form.h"
#include "platform/ui/grid.h"
#include "platform/ui/html_view.h"
#include "platform/ui/image_list.h"
#include "platform/ui/metrics.h"
#include "platform/ui/msgbox.h"
#include "platform/ui/picture.h"
#include "platform/ui/progress_bar.h"
#include "platform/ui/renderer.h"
#include "platform/ui/toolbar.h"
#include "platform/ui/tree_view.h"
