#include "makes/make_utils.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <stdexcept>
#include <vector>

#include "host/path_helper.h"
#include "host/registry_key.h"
#include "host/translate_text.h"
#include "platform/com/com.h"
#include "platform/com/fs.h"
#include "platform/values/numfmt.h"
#include "platform/values/text.h"
#include "platform/values/pass_over.h"

namespace makes {
inline namespace ORVIK_MAKES_FLAVOUR {

namespace {

constexpr int32_t kLightMax = 4095;
// A make file is about 1.4 KB; anything far beyond that is not one, and
// reading it whole would only cost memory.
constexpr off_t kMaxMakeFileBytes = 1 << 20;

// Where this build lives: the program for the editor, the shared library for the plug-in.
const char kModuleAnchor = 0;

class InvalidMake : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Splits bytes into lines ended by CR LF, LF or CR.
class LineReader {
public:
    explicit LineReader(std::string_view bytes) : rest_(bytes) {}
    bool Next(std::string_view& line) {
        if (rest_.empty()) return false;
        size_t end = rest_.find_first_of("\r\n");
        if (end == std::string_view::npos) {
            line = rest_;
            rest_ = {};
            return true;
        }
        line = rest_.substr(0, end);
        size_t skip = (rest_[end] == '\r' && end + 1 < rest_.size() && rest_[end + 1] == '\n') ? 2 : 1;
        rest_.remove_prefix(end + skip);
        return true;
    }

private:
    std::string_view rest_;
};

std::string ReadMakeFileBytes(const std::string& path) {
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) throw std::runtime_error("File not found: " + path);
    struct Closer {
        int fd;
        ~Closer() { ::close(fd); }
    } closer{fd};
    struct stat st{};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) throw InvalidMake("Not a file: " + path);
    if (st.st_size > kMaxMakeFileBytes) throw InvalidMake("Too large for a make file: " + path);
    std::string bytes;
    char buffer[8192];
    for (;;) {
        ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR) continue;
            throw std::runtime_error("Cannot read " + path + ": " + std::strerror(errno));
        }
        if (n == 0) break;
        bytes.append(buffer, static_cast<size_t>(n));
        if (static_cast<off_t>(bytes.size()) > kMaxMakeFileBytes) throw InvalidMake("Too large for a make file: " + path);
    }
    return bytes;
}

// Skips lines up to and including the header; its absence makes the file invalid.
void SeekHeader(LineReader& lines, std::string_view header) {
    std::string_view line;
    while (lines.Next(line))
        if (line == header) return;
    throw InvalidMake("Section " + std::string(header) + " missing");
}

// Reads "key=value" lines (trimmed) up to the first line without "=", which is consumed.
template <class OnEntry>
void ReadEntries(LineReader& lines, OnEntry onEntry) {
    std::string_view line;
    while (lines.Next(line)) {
        std::string trimmed = plat::Trim(line);
        size_t eq = trimmed.find('=');
        if (eq == std::string::npos) return;
        onEntry(std::string_view(trimmed).substr(0, eq), std::string_view(trimmed).substr(eq + 1));
    }
}

// Throws InvalidMake for bytes that hold no make.
OximeterMakePtr ParseMakeBytes(std::string_view bytes, std::string_view fileName) {
    auto make = std::make_shared<COximeterMake>();
    make->SetFile(std::string(fileName));
    LineReader lines(bytes);

    SeekHeader(lines, "[MANUFACTURER]");
    ReadEntries(lines, [&](std::string_view key, std::string_view value) {
        if (key == "MAN_NAME") make->SetName(std::string(value));
    });

    SeekHeader(lines, "[LIGHT]");
    ReadEntries(lines, [&](std::string_view key, std::string_view value) {
        void (COximeterMake::*setter)(int32_t) = nullptr;
        if (key == "RDC") setter = &COximeterMake::SetRedDC;
        else if (key == "IRDC") setter = &COximeterMake::SetIRDC;
        else if (key == "IRAC") setter = &COximeterMake::SetIRAC;
        else if (key == "LightLevel") setter = &COximeterMake::SetLightLevel;
        else if (key == "TLC") setter = &COximeterMake::SetTLC;
        if (setter) ((*make).*setter)(plat::RoundToLong(ValText(value)));
    });

    SeekHeader(lines, "[RVALUE]");
    int32_t points = 0;
    std::string_view line;
    while (lines.Next(line)) {
        if (!plat::StartsWithNoCase(line, "RVALUE")) break;
        size_t eq = line.find('=');
        if (eq == std::string_view::npos) throw InvalidMake("R-value line without \"=\"");
        // A curve can never become valid again once it has too many points.
        if (++points > kCurvePoints) throw InvalidMake("More than 51 R values");
        int32_t spo2 = plat::RoundToLong(ValText(line.substr(6, eq - 6)));
        make->AddRValue(spo2, plat::NumberToText(ValText(line.substr(eq + 1))));
    }
    if (!make->RCurve() || make->RCurve()->Count() != kCurvePoints) throw InvalidMake("Not 51 R values");
    ClampMakeValues(make);
    return make;
}

// The R value as written: four decimals, trailing zeros dropped.
std::string WrittenRValue(const CRCurveElement& point) {
    return plat::NumberToText(ValText(plat::FormatNumber(ValText(point.rvalue()), "###0.0000")));
}

// One slot per SpO2 from kFirstSpO2; a later point of the same SpO2 wins.
std::array<CRCurveElementPtr, kCurvePoints> PointsBySpO2(const RCurveCollection& curve) {
    std::array<CRCurveElementPtr, kCurvePoints> slots{};
    for (int32_t i = 1; i <= curve.Count(); ++i) {
        const CRCurveElementPtr& point = curve.Item(i);
        if (point && point->spo2() >= kFirstSpO2 && point->spo2() <= kLastSpO2)
            slots[static_cast<size_t>(point->spo2() - kFirstSpO2)] = point;
    }
    return slots;
}

}  // namespace

std::string MakesFileText(const COximeterMake& make) {
    std::string text;
    auto line = [&](std::string_view content) {
        text += content;
        text += "\r\n";
    };
    line("[MANUFACTURER]");
    line("MAN_NAME=" + make.Name());
    line("");
    line("");
    line("[LIGHT]");
    line("RDC=" + std::to_string(make.RedDC()));
    line("IRDC=" + std::to_string(make.IRDC()));
    line("IRAC=" + std::to_string(make.IRAC()));
    line("LightLevel=" + std::to_string(make.LightLevel()));
    line("TLC=" + std::to_string(make.TLC()));
    line("");
    line("");
    line("[RVALUE]");
    // An empty slot is "0".
    const auto slots = PointsBySpO2(*make.RCurve());
    for (size_t k = 0; k < slots.size(); ++k)
        line("RVALUE" + std::to_string(kFirstSpO2 + static_cast<int32_t>(k)) + "=" +
             (slots[k] ? WrittenRValue(*slots[k]) : std::string("0")));
    return text;
}

plat::Collection<plat::Variant> CurveForUpload(const COximeterMake& make) {
    plat::Collection<plat::Variant> values;
    std::array<CRCurveElementPtr, kCurvePoints> slots{};
    if (make.RCurve()) slots = PointsBySpO2(*make.RCurve());
    for (const CRCurveElementPtr& point : slots) (void)values.Add(plat::Variant(point ? point->rvalue() : "0"));
    return values;
}

namespace {

// Replaces the file in one step (rename over it): the old file is never lost,
// a link at the name is replaced rather than followed, and the new file has
// the normal mode of a new file whatever the old one had. A save killed
// half-way leaves its temporary file behind; in the make folder, which saves
// come back to, the next save removes it.
void ReplaceMakeFile(const std::string& finalPath, const COximeterMake& make) {
    plat::fs::RemoveAbandonedTemporaryFiles(plat::fs::FolderOf(finalPath));
    std::string error;
    if (!plat::fs::ReplaceFile(finalPath, MakesFileText(make), plat::fs::NewFileMode(), &error))
        throw std::runtime_error(error);
}

// A control character (CR and LF among them) would make the file read back as
// another make or as none.
bool HasControlCharacter(std::string_view text) {
    return std::any_of(text.begin(), text.end(), [](char c) {
        auto byte = static_cast<unsigned char>(c);
        return byte < 0x20 || byte == 0x7F;
    });
}

bool HasCurveOfMakeSize(const COximeterMake& make) {
    return make.RCurve() && make.RCurve()->Count() == kCurvePoints;
}

// One level only: a folder whose parent is missing (an unmounted drive, a
// mistyped path) must not be built silently somewhere the user does not look.
bool CreateOneFolder(const std::string& path) {
    return ::mkdir(path.c_str(), 0777) == 0 || plat::fs::FolderExists(path);
}

// The user's own make folder by the XDG convention; "" for a user without a home.
std::string UserMakesFolder() {
    const std::string data = plat::fs::XdgBaseFolder("XDG_DATA_HOME", ".local/share");
    return data.empty() ? std::string() : plat::fs::Join(data, "orvik/Pelmo2/makes");
}

int32_t ClampLight(int32_t value) { return std::clamp(value, 0, kLightMax); }

template <size_t N>
bool IsOneOf(const std::array<std::string_view, N>& names, std::string_view name) {
    return std::any_of(names.begin(), names.end(), [&](std::string_view listed) { return plat::EqualsNoCase(name, listed); });
}

}  // namespace

const std::array<std::string_view, kFirstCustomMake>& BuiltInMakeNames() {
    static const std::array<std::string_view, kFirstCustomMake> names = {
        "BCI",     "Criticare", "Datascope",    "Datex",         "PMS M1190",
        "Masimo",  "Nellcor",   "Nihon-Kohden", "Ohmeda & Nova", "Respironics"};
    return names;
}

const std::array<std::string_view, 6>& FirstListedMakeNames() {
    static const std::array<std::string_view, 6> names = {"Invivo", "M1190", "M1191", "N-10", "Nonin", "PALCO"};
    return names;
}

std::string GetMakesExtension() { return "txt"; }
std::string GetMakesExtensionPattern() { return "*." + GetMakesExtension(); }

std::string DefaultMakesDirectory(const std::string& moduleFolder) {
    const std::string beside = plat::fs::Join(moduleFolder, "makes");
    if (!plat::fs::FolderExists(beside)) (void)CreateOneFolder(beside);
    // access() asks for this user: a folder of root's refuses a technician.
    if (plat::fs::FolderExists(beside) && ::access(beside.c_str(), W_OK | X_OK) == 0)
        return plat::fs::AddSeparator(beside);
    const std::string own = UserMakesFolder();
    // Without a home there is nowhere better: the write meets the failure.
    if (own.empty()) return plat::fs::AddSeparator(beside);
    (void)plat::fs::CreateFolder(own);
    return plat::fs::AddSeparator(own);
}

std::string GetMakesDirectory(std::string_view registryKey) {
    std::string path;
    plat::PassOver([&] {
        auto key = std::make_shared<host::CRegistryKey>();
        key->Open(host::HKey::LocalMachine, registryKey);
        path = plat::Trim(key->ReadValue("Path"));
    });
    if (path.empty()) {
        std::string folder;
        plat::PassOver([&] { folder = DefaultMakesDirectory(plat::fs::FolderOf(plat::ModulePath(&kModuleAnchor))); });
        return folder;
    }
    // A folder that cannot be created is the caller's to meet when it writes.
    plat::PassOver([&] {
        if (!plat::fs::FolderExists(path)) (void)CreateOneFolder(path);
    });
    std::string folder = path;
    plat::PassOver([&] { folder = host::PathHelper().AddBackslash(path); });
    return folder;
}

MakeListPtr ReadMakes(std::string_view registryKey) {
    auto list = std::make_shared<MakeList>();
    std::string folder;
    plat::PassOver([&] { folder = GetMakesDirectory(registryKey); });
    std::vector<std::string> files;
    plat::PassOver([&] { files = plat::fs::ListFiles(folder, GetMakesExtensionPattern()); });
    // The first-listed makes go straight into the list, the others follow them.
    // A name already listed keeps its first file.
    std::vector<OximeterMakePtr> others;
    for (const std::string& file : files) {
        plat::PassOver([&] {
            OximeterMakePtr make = ReadMakesFile(folder + file);
            if (!make || make->Name().empty() || !ValidateMakeName(make->Name())) return;
            if (IsFirstListedMake(make->Name())) (void)list->Add(make, make->Name());
            else others.push_back(make);
        });
    }
    for (const OximeterMakePtr& make : others)
        plat::PassOver([&] { (void)list->Add(make, make->Name()); });
    return list;
}

OximeterMakePtr ReadMakesFile(const std::string& path) {
    OximeterMakePtr make;
    plat::PassOver([&] { make = ParseMakeBytes(ReadMakeFileBytes(path), plat::fs::FileName(path)); });
    return make;
}

OximeterMakePtr ParseMakesText(std::string_view bytes, std::string_view fileName) {
    OximeterMakePtr make;
    plat::PassOver([&] { make = ParseMakeBytes(bytes, fileName); });
    return make;
}

bool IsSafeMakeFileName(std::string_view fileName) {
    if (fileName.empty() || fileName == "." || fileName == "..") return false;
    for (char c : fileName) {
        auto byte = static_cast<unsigned char>(c);
        if (c == '/' || c == '\\' || byte < 0x20 || byte == 0x7F) return false;
    }
    return true;
}

bool SaveMakesFile(OximeterMakePtr& make, std::string_view fileName, std::string_view registryKey) {
    // The name can come from saved test data: never let it leave the make folder.
    if (!IsSafeMakeFileName(fileName) || !make || HasControlCharacter(make->Name())) return false;
    std::string folder;
    std::string finalPath;
    bool written = false;

    if constexpr (!kPluginBuild) {
        bool ok = plat::PassOver([&] {
            folder = GetMakesDirectory(registryKey);
            if (folder.empty()) throw std::runtime_error("No make folder");
            finalPath = folder + std::string(fileName);
            // GetMakesDirectory has tried to create it; here its absence is fatal.
            if (!plat::fs::FolderExists(folder)) throw std::runtime_error("No make folder " + folder);
        });
        // A curve of the wrong size is refused before anything is touched.
        if (ok && !HasCurveOfMakeSize(*make)) return false;
        if (ok) {
            ok = plat::PassOver([&] {
                ClampMakeValues(make);
                ReplaceMakeFile(finalPath, *make);
            });
        }
        written = ok;
        if (!written) {
            plat::PassOver([&] {
                if (folder.empty()) return;
                if (plat::fs::FileExists(finalPath)) make = ReadMakesFile(finalPath);
            });
        }
    } else {
        if (!HasCurveOfMakeSize(*make)) return false;
        written = plat::PassOver([&] {
            folder = GetMakesDirectory(registryKey);
            if (folder.empty()) throw std::runtime_error("No make folder");
            ClampMakeValues(make);
            finalPath = folder + std::string(fileName);
            if (plat::fs::FileExists(finalPath) && plat::fs::IsReadOnly(finalPath))
                throw std::runtime_error("Permission denied: " + finalPath);
            ReplaceMakeFile(finalPath, *make);
        });
    }
    return written;
}

void ClampMakeValues(const OximeterMakePtr& make) {
    if (!make) return;
    COximeterMake& m = *make;
    m.SetIRAC(ClampLight(m.IRAC()));
    m.SetIRDC(ClampLight(m.IRDC()));
    m.SetRedDC(ClampLight(m.RedDC()));
    if (m.LightLevel() != 1 && m.LightLevel() != 2) m.SetLightLevel(1);
    m.SetTLC(ClampLight(m.TLC()));
    if (!m.RCurve()) return;
    const int32_t last = std::min(m.RCurve()->Count(), kCurvePoints);
    for (int32_t i = 1; i <= last; ++i) {
        plat::PassOver([&] {
            const CRCurveElementPtr& point = m.RCurve()->Item(i);
            if (!point) return;
            double value = ValText(point->rvalue());
            if (value < kMinRValue) point->SetRvalue(plat::NumberToText(kMinRValue));
            else if (value > kMaxRValue) point->SetRvalue(plat::NumberToText(kMaxRValue));
        });
    }
}

std::string DefaultMakeName() {
    std::string name;
    plat::PassOver([&] {
        name = "<<" + host::TranslateText("Pelmo2", "20021::Custom oximeter") + ">>";
    });
    return name;
}

bool ValidateMakeName(std::string_view name) { return !IsOneOf(BuiltInMakeNames(), name); }

bool IsFirstListedMake(std::string_view name) { return IsOneOf(FirstListedMakeNames(), name); }

double ValText(std::string_view text) {
    // Most texts hold no comma: no copy for them.
    if (text.find(',') == std::string_view::npos) return plat::ReadLeadingNumber(text);
    return plat::ReadLeadingNumber(plat::Replace(text, ",", "."));
}

}  // namespace ORVIK_MAKES_FLAVOUR
}  // namespace makes
