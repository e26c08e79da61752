#include "platform/com/com.h"

#include <dlfcn.h>
#include <link.h>
#include <limits.h>
#include <stdlib.h>
#include <unistd.h>

#include <map>
#include <mutex>

#include "platform/com/fs.h"
#include "platform/com/registry.h"
#include "platform/values/pass_over.h"
#include "platform/values/text.h"

namespace plat {
namespace {

std::string Quoted(std::string_view s) { return "\"" + std::string(s) + "\""; }

struct Classes {
    std::mutex mutex;
    std::map<std::string, ClassFactory> factories;  // by lower-case ProgID
    std::map<std::string, void*> libraries;         // by path as registered; never unloaded
};

Classes& TheClasses() {
    static Classes classes;
    return classes;
}

std::string InprocKey(std::string_view progId) { return std::string(progId) + "\\InprocServer32"; }

void* LoadLibrary(const std::string& path, std::string_view forWhat) {
    Classes& classes = TheClasses();
    {
        std::lock_guard lock(classes.mutex);
        auto it = classes.libraries.find(path);
        if (it != classes.libraries.end()) return it->second;
    }
    ::dlerror();
    // A path without "/" would be searched for on the library path; a registered server is always a file.
    std::string file = path.find('/') == std::string::npos ? "./" + path : path;
    void* handle = ::dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        const char* why = ::dlerror();
        throw ComError("The library " + Quoted(path) + std::string(forWhat) + " cannot be loaded: " +
                       (why ? why : "unknown reason"));
    }
    std::lock_guard lock(classes.mutex);
    classes.libraries.emplace(path, handle);
    return handle;
}

// The library's own export: dlsym on a handle also searches the libraries it
// depends on, and one of those may be a server too.
void* OwnExport(void* handle, const char* name) {
    ::dlerror();
    void* sym = ::dlsym(handle, name);
    if (!sym) return nullptr;
    link_map* map = nullptr;
    Dl_info info{};
    if (::dlinfo(handle, RTLD_DI_LINKMAP, &map) != 0 || !map || ::dladdr(sym, &info) == 0) return sym;
    if (info.dli_fname && map->l_name && std::string(info.dli_fname) != map->l_name) return nullptr;
    return sym;
}

template <class Fn>
Fn RequireExport(void* handle, const std::string& path, const char* name) {
    void* sym = OwnExport(handle, name);
    if (!sym) throw ComError("The library " + Quoted(path) + " does not export " + name);
    return reinterpret_cast<Fn>(sym);
}

// The ProgID as its server recorded it, so the server sees its own spelling.
std::string RecordedProgId(std::string_view progId) {
    try {
        for (const auto& name : Registry::Instance().SubKeys(Hive::ClassesRoot, "")) {
            if (EqualsNoCase(name, progId)) return name;
        }
    } catch (const RegistryError&) {
        // The path was just read; a file damaged since then leaves the caller's spelling.
    }
    return std::string(progId);
}

void CallRegistration(const std::string& libraryPath, const char* exportName) {
    void* handle = LoadLibrary(libraryPath, "");
    auto fn = RequireExport<int32_t (*)()>(handle, libraryPath, exportName);
    int32_t rc;
    try {
        rc = fn();
    } catch (const ComError&) {
        throw;
    } catch (const std::exception& e) {
        throw ComError(std::string(exportName) + " of the library " + Quoted(libraryPath) + " failed: " + e.what());
    }
    if (rc != 0)
        throw ComError(std::string(exportName) + " of the library " + Quoted(libraryPath) + " failed with code " +
                       std::to_string(rc));
}

}  // namespace

ObjectPtr CreateObject(std::string_view progId) {
    if (progId.empty()) throw ComError("No class name was given to create an object");
    ClassFactory factory;
    {
        Classes& classes = TheClasses();
        std::lock_guard lock(classes.mutex);
        auto it = classes.factories.find(ToLower(progId));
        if (it != classes.factories.end()) factory = it->second;
    }
    if (factory) {
        ObjectPtr obj = factory();
        if (!obj) throw ComError("The class " + Quoted(progId) + " could not create its object");
        return obj;
    }

    std::string path;
    try {
        path = Registry::Instance().ReadValue(Hive::ClassesRoot, InprocKey(progId), "");
    } catch (const RegistryError& e) {
        throw ComError("The class " + Quoted(progId) + " cannot be looked up: " + e.what());
    }
    if (path.empty()) throw ComError("The class " + Quoted(progId) + " is not registered");

    void* handle = LoadLibrary(path, " of the class " + Quoted(progId));
    auto getClassObject = RequireExport<int32_t (*)(const char*, ObjectPtr*)>(handle, path, "DllGetClassObject");
    std::string asRecorded = RecordedProgId(progId);
    ObjectPtr obj;
    int32_t rc;
    try {
        rc = getClassObject(asRecorded.c_str(), &obj);
    } catch (const std::exception& e) {
        throw ComError("The library " + Quoted(path) + " failed to create " + Quoted(progId) + ": " + e.what());
    }
    if (rc != 0 || !obj)
        throw ComError("The library " + Quoted(path) + " does not serve the class " + Quoted(progId));
    return obj;
}

void RegisterClass(std::string_view progId, ClassFactory factory) {
    if (progId.empty() || !factory) throw ComError("A class needs a name and a factory to be registered");
    Classes& classes = TheClasses();
    std::lock_guard lock(classes.mutex);
    classes.factories[ToLower(progId)] = std::move(factory);
}

void UnregisterClass(std::string_view progId) {
    Classes& classes = TheClasses();
    std::lock_guard lock(classes.mutex);
    classes.factories.erase(ToLower(progId));
}

void RegisterServer(const std::string& libraryPath) { CallRegistration(libraryPath, "DllRegisterServer"); }

void UnregisterServer(const std::string& libraryPath) { CallRegistration(libraryPath, "DllUnregisterServer"); }

bool EnsureServerRegistered(std::string_view progId, const std::string& libraryPath) {
    auto registered = [&] {
        return PassOver([&] {
            return Registry::Instance().ReadValue(Hive::ClassesRoot, InprocKey(progId), "");
        }, std::string());
    };
    auto usable = [](const std::string& path) { return !path.empty() && fs::FileExists(path); };
    if (!fs::FileExists(libraryPath)) return usable(registered());
    const std::string current = registered();
    if (usable(current) && fs::RealPath(current) == fs::RealPath(libraryPath)) return true;
    PassOver([&] { RegisterServer(libraryPath); });
    return usable(registered());
}

void RecordServerProgIds(const std::vector<std::string>& progIds, const void* addressInLibrary) {
    std::string path = ModulePath(addressInLibrary);
    if (path.empty()) throw ComError("The library to be registered cannot be found on disk");
    try {
        for (const auto& progId : progIds) {
            Registry::Instance().WriteValue(Hive::ClassesRoot, InprocKey(progId), "", path);
        }
    } catch (const RegistryError& e) {
        throw ComError("The library " + Quoted(path) + " cannot be registered: " + e.what());
    }
}

void EraseServerProgIds(const std::vector<std::string>& progIds) {
    try {
        for (const auto& progId : progIds) Registry::Instance().DeleteKey(Hive::ClassesRoot, progId);
    } catch (const RegistryError& e) {
        throw ComError(std::string("The classes cannot be unregistered: ") + e.what());
    }
}

int32_t ServerRegister(ServedClasses (*classes)(), const void* addressInLibrary) noexcept {
    try {
        std::vector<std::string> progIds;
        for (const ServedClass& served : classes()) progIds.push_back(served.progId);
        RecordServerProgIds(progIds, addressInLibrary);
        return kServerOk;
    } catch (...) {
        return kServerRegistrationFailed;
    }
}

int32_t ServerUnregister(ServedClasses (*classes)()) noexcept {
    try {
        std::vector<std::string> progIds;
        for (const ServedClass& served : classes()) progIds.push_back(served.progId);
        EraseServerProgIds(progIds);
        return kServerOk;
    } catch (...) {
        return kServerRegistrationFailed;
    }
}

int32_t ServerGetClassObject(ServedClasses (*classes)(), const char* progId, ObjectPtr* result) noexcept {
    if (!progId || !result) return kServerClassNotAvailable;
    try {
        for (const ServedClass& served : classes()) {
            if (!EqualsNoCase(served.progId, progId) || !served.factory) continue;
            ObjectPtr object = served.factory();
            if (!object) return kServerClassNotAvailable;
            *result = std::move(object);
            return kServerOk;
        }
    } catch (...) {
    }
    return kServerClassNotAvailable;
}

int32_t ServerCanUnloadNow(int64_t (*liveObjects)()) noexcept {
    try {
        return liveObjects() == 0 ? kServerOk : kServerFalse;
    } catch (...) {
        return kServerFalse;
    }
}

std::string ModulePath(const void* addressInLibrary) {
    Dl_info info{};
    link_map* map = nullptr;
    if (::dladdr1(addressInLibrary, &info, reinterpret_cast<void**>(&map), RTLD_DL_LINKMAP) == 0) return {};
    std::string file;
    if (map && map->l_name && map->l_name[0] != '\0') {
        file = map->l_name;
    } else if (map && map->l_prev == nullptr) {
        // The main program has an empty name in the link map.
        char buf[PATH_MAX];
        ssize_t n = ::readlink("/proc/self/exe", buf, sizeof buf - 1);
        if (n > 0) return std::string(buf, static_cast<size_t>(n));
    } else if (info.dli_fname) {
        file = info.dli_fname;
    }
    if (file.empty()) return {};
    return fs::RealPath(file);
}

std::vector<Variant> ControlObject::RaiseEvent(const std::string& name, std::vector<Variant> params) {
    // Copies: the handler may drop the last other reference to this control or
    // replace its sink, and neither may pull the running handler away.
    ObjectPtr self = weak_from_this().lock();
    GenericEvent sink = sink_;
    if (sink) sink(name, params);
    return params;
}

}  // namespace plat
