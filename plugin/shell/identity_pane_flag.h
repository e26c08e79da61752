#pragma once
// The library-wide identity-pane flag: cleared whenever a test element is
// constructed, set by the first test-guide window prepared after that, which
// then selects its instrument-identity pane.

namespace plugin {

bool IdentityPaneShown();
void SetIdentityPaneShown(bool shown);
void ResetIdentityPaneFlagForTests();

}  // namespace plugin
