#pragma once
// Sets the language service's language from the host's language setting: the
// value "GUI" of the key that host resource text 1005 names, under
// HKEY_LOCAL_MACHINE. A step that fails with a registry error is skipped (an
// unreadable value gives the empty name, which is English); any other failure
// ends the loading silently and the service keeps its language.

namespace editor {

void LoadLanguage();

}  // namespace editor
