#pragma once
// The make files (one make per text file in the make folder) and the small
// services both programs share: the make folder, the list of makes, reading,
// writing and clamping a make, the default make name, the check against the
// simulator's built-in makes, and ValText, the number parsing of the system.
// Every caller passes kRegistryKey as the registry key path.

#include <array>
#include <memory>
#include <string>
#include <string_view>

#include "makes/flavour.h"
#include "makes/make_limits.h"
#include "makes/oximeter_make.h"
#include "platform/values/collection.h"

namespace makes {
inline namespace ORVIK_MAKES_FLAVOUR {

inline constexpr std::string_view kRegistryKey = "Software\\Velam\\Orvik\\Pelmo2";

// Makes keyed by Name (letter case ignored).
using MakeList = plat::Collection<OximeterMakePtr>;
using MakeListPtr = std::shared_ptr<MakeList>;

// The simulator's built-in makes in make-index order 0 to 9.
const std::array<std::string_view, kFirstCustomMake>& BuiltInMakeNames();
// The makes listed before all others.
const std::array<std::string_view, 6>& FirstListedMakeNames();

// The make folder ending in "/": the registry value "Path" (trimmed), created
// when missing (the last level only); without one, DefaultMakesDirectory of
// the folder of the running program or library.
std::string GetMakesDirectory(std::string_view registryKey);
// The make folder without a "Path", for a program or library in
// `moduleFolder`: its "makes" folder when the user can write it (created when
// missing); else, as in an install owned by another user, the user's data
// folder $XDG_DATA_HOME/orvik/Pelmo2/makes (XDG_DATA_HOME unset or relative:
// ~/.local/share), created with its parents. Ends in "/".
std::string DefaultMakesDirectory(const std::string& moduleFolder);
std::string GetMakesExtensionPattern();  // "*.txt"
std::string GetMakesExtension();         // "txt"

// Every valid make file of the folder: first-listed makes first, then the
// others, in listing order; duplicate names (any case), empty names and
// built-in names are skipped. Never fails.
MakeListPtr ReadMakes(std::string_view registryKey);
// The make in the file (values clamped, File = the name part of the path),
// or nullptr when the file is not a valid make.
OximeterMakePtr ReadMakesFile(const std::string& path);
// What ReadMakesFile and SaveMakesFile do between the file and the make, in
// memory: the make that make-file bytes hold (File = `fileName`) or nullptr,
// and the bytes written for a make (already clamped).
OximeterMakePtr ParseMakesText(std::string_view bytes, std::string_view fileName);
std::string MakesFileText(const COximeterMake& make);
// Clamps the make and writes it as `fileName` in the make folder (replacing
// any file of that name in one step; true only once the bytes are on disk).
// False when nothing was written: a make without exactly 51 points, a name
// holding a control character, an unsafe file name, a failing write; the
// plug-in build also refuses a read-only target. On a failing write the
// editor build replaces `make` by the make read back from the existing file
// (nullptr when that is not a valid make).
bool SaveMakesFile(OximeterMakePtr& make, std::string_view fileName, std::string_view registryKey);
// A file name that may be written into the make folder: not empty, not "."
// or "..", without "/", "\", NUL or control characters.
bool IsSafeMakeFileName(std::string_view fileName);

// The make's R values for SpO2 kFirstSpO2 to kLastSpO2 in that order, as an
// upload takes them: each point's rvalue(), a later point of the same SpO2
// winning, "0" for an SpO2 the curve lacks.
plat::Collection<plat::Variant> CurveForUpload(const COximeterMake& make);

// Light values and TLC into 0..4095, light level 1 or 2, the first 51 R
// values into 0..2.5. Nothing for nullptr.
void ClampMakeValues(const OximeterMakePtr& make);

// "<<" + the translation of "20021::Custom oximeter" + ">>".
std::string DefaultMakeName();
// False when the name is a built-in make name (letter case ignored, not trimmed).
bool ValidateMakeName(std::string_view name);
bool IsFirstListedMake(std::string_view name);
// The leading number of the text after replacing every "," by "."; 0 when none.
double ValText(std::string_view text);

}  // namespace ORVIK_MAKES_FLAVOUR
}  // namespace makes
