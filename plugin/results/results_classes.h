#pragma once
// The creatable classes of the results and limits, by ProgID, for the plug-in
// library's class factory and for in-process creation.

#include "plugin/config/config_classes.h"

namespace plugin {

// CResultData, CResultTestGroup and CLimitData; the results grid
// XResultView, the detailed-result page XDetailedResult and the help viewer XHtmlHelp.
const plat::ServedClasses& ResultsClasses();
// Makes them creatable in this process without loading the library.
void RegisterResultsClasses();
// Installs them in the plug-in factory, through which the elements make
// their limits and results, and the limit dialog as the limits' dialog;
// done when the library loads.
void RegisterResultsParts();

}  // namespace plugin
