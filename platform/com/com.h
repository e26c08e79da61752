#pragma once
// COM-style objects: creation by ProgID through a component registry, and the
// in-process server protocol of our shared libraries.
//
// Objects are plat::Object in std::shared_ptr. Calls "by member name" are calls
// through typed C++ interfaces declared in a header both sides include; only
// creation by ProgID and a control container's generic event go by name.
//
// An in-process server is a shared library that exports the four functions
// below (extern "C"), best defined with ORVIK_INPROC_SERVER. Registering it
// records each of its ProgIDs with the library's path in the registry stand-in
// (hive ClassesRoot, key "<ProgID>\InprocServer32", unnamed value = path).
// CreateObject loads the library with dlopen (RTLD_LOCAL: two servers never
// see each other's symbols) on first use and asks its DllGetClassObject.

#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "platform/values/variant.h"

namespace plat {

// A failure of creation or registration, with a message for the user.
class ComError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

using ClassFactory = std::function<ObjectPtr()>;

// Creates an object by ProgID (case-insensitive): classes registered in this
// process first, then registered in-process servers. Throws ComError naming
// the ProgID when it is not registered, the library cannot be loaded, or the
// library does not serve the class.
ObjectPtr CreateObject(std::string_view progId);

template <class T>
std::shared_ptr<T> CreateObjectAs(std::string_view progId) {
    auto obj = std::dynamic_pointer_cast<T>(CreateObject(progId));
    if (!obj) throw ComError("The object \"" + std::string(progId) + "\" does not offer the interface asked for");
    return obj;
}

// Makes a class creatable in this process without a library (tests, and the
// classes a program or library serves to itself).
void RegisterClass(std::string_view progId, ClassFactory factory);
void UnregisterClass(std::string_view progId);

// Registers / unregisters the in-process server at `libraryPath` by loading it
// and calling its DllRegisterServer / DllUnregisterServer. Throws ComError.
void RegisterServer(const std::string& libraryPath);
void UnregisterServer(const std::string& libraryPath);

// A program that loads in-process servers works without a manual step, with
// the server it was installed or built with: `libraryPath` (the library beside
// the program) is registered for `progId` unless the ProgID already names that
// very file. Without that library, a registration naming an existing one
// stays. True when the ProgID then names an existing library. Never throws
// (an AbortError aside).
bool EnsureServerRegistered(std::string_view progId, const std::string& libraryPath);

// One class an in-process server serves: its ProgID and how to make its object.
struct ServedClass {
    std::string progId;
    ClassFactory factory;
};
using ServedClasses = std::vector<ServedClass>;

// Result codes of the server exports.
inline constexpr int32_t kServerOk = 0;                                              // S_OK
inline constexpr int32_t kServerFalse = 1;                                           // S_FALSE
inline constexpr int32_t kServerClassNotAvailable = static_cast<int32_t>(0x80040111);  // CLASS_E_CLASSNOTAVAILABLE
inline constexpr int32_t kServerRegistrationFailed = static_cast<int32_t>(0x80040201); // SELFREG_E_CLASS

// The bodies of the four exports (see ORVIK_INPROC_SERVER). `classes` lists
// what the library serves; every failure becomes a result code, since nothing
// may be thrown out of an export.
int32_t ServerRegister(ServedClasses (*classes)(), const void* addressInLibrary) noexcept;
int32_t ServerUnregister(ServedClasses (*classes)()) noexcept;
// Creates the class of that ProgID (any case) into *result.
int32_t ServerGetClassObject(ServedClasses (*classes)(), const char* progId, ObjectPtr* result) noexcept;
// kServerOk when none of the library's objects is alive.
int32_t ServerCanUnloadNow(int64_t (*liveObjects)()) noexcept;

// For a server's own DllRegisterServer: records the ProgIDs with the path of
// the shared library that holds `addressInLibrary`.
void RecordServerProgIds(const std::vector<std::string>& progIds, const void* addressInLibrary);
void EraseServerProgIds(const std::vector<std::string>& progIds);

// The file path of the loaded module (program or library) holding the address.
std::string ModulePath(const void* addressInLibrary);

// The generic event of a control container: an event name and its parameters.
using GenericEvent = std::function<void(const std::string& name, std::vector<Variant>& params)>;

// Base of an embeddable control's object. The container that added the
// control sets the sink; RaiseEvent delivers an event to it by name and keeps
// the control alive while the handler runs, even when the handler removes it.
class ControlObject : public Object {
public:
    void SetEventSink(GenericEvent sink) { sink_ = std::move(sink); }
protected:
    // Returns the parameters as the handler left them (its by-reference arguments).
    // The control is kept alive only until RaiseEvent returns: a member that goes
    // on using the object afterwards holds KeepAlive() for its own duration.
    std::vector<Variant> RaiseEvent(const std::string& name, std::vector<Variant> params);
    ObjectPtr KeepAlive() { return weak_from_this().lock(); }
private:
    GenericEvent sink_;
};

}  // namespace plat

// Defines the four exports of an in-process server; put it in one source file
// of the library. `classes` is a function `plat::ServedClasses()` naming what
// the library serves, `liveObjects` a function `int64_t()` counting its
// objects still alive. The library's version script exports these four only.
#define ORVIK_INPROC_SERVER(classes, liveObjects)                                                   \
    namespace {                                                                                     \
    const char kOrvikServerAnchor = 0; /* an address inside this library */                         \
    }                                                                                               \
    extern "C" int32_t DllRegisterServer() { return ::plat::ServerRegister(classes, &kOrvikServerAnchor); } \
    extern "C" int32_t DllUnregisterServer() { return ::plat::ServerUnregister(classes); }          \
    extern "C" int32_t DllGetClassObject(const char* progId, ::plat::ObjectPtr* result) {           \
        return ::plat::ServerGetClassObject(classes, progId, result);                               \
    }                                                                                               \
    extern "C" int32_t DllCanUnloadNow() { return ::plat::ServerCanUnloadNow(liveObjects); }

// The exports of an in-process server (0 = success, as S_OK).
extern "C" {
int32_t DllRegisterServer();
int32_t DllUnregisterServer();
// Creates the object of the ProgID into *result; non-zero when the library does not serve it.
int32_t DllGetClassObject(const char* progId, plat::ObjectPtr* result);
// 0 when the library may be unloaded.
int32_t DllCanUnloadNow();
}
