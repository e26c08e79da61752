#pragma once
// Makes the SpO2 simulation configuration the plug-in's test configuration
// (the factory's Configuration part) and gives it its dialog: the element
// setup dialog holding the configuration view, initialised with the owner
// test; and the save-make dialog for makes carried in saved data. Done once
// when the plug-in library loads; calling it again is harmless.

namespace plugin {

void RegisterSpO2ConfigurationPart();

}  // namespace plugin
