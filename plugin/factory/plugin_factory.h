#pragma once
// The seam between the plug-in's elements and the parts that other modules of
// the plug-in build: the test configuration, the limits, the test result and
// the group result (and the element setup dialog). CTestData, CTestGroup and CPluginSetup create these parts
// only through Factory(); they call them through the typed interfaces below.
//
// Who registers: each real class installs its maker once per process with a
// PartRegistrar at namespace scope in its own .cpp file, e.g.
//
//   // plugin/results/limit_data.cpp
//   const plugin::PartRegistrar kLimitsPart(plugin::Part::Limits,
//       [] { return plat::ObjectPtr(std::make_shared<CLimitData>()); });
//
// The plug-in library links its parts whole (plugin/CMakeLists.txt), so every
// registrar runs when the library loads. Tests install fakes with
// Factory().Install and clear them with Factory().ResetForTests().
//
// A part without a maker is not made: New* gives nullptr, and the element
// goes on without it (no configuration, no limits, no result, no run).
//
// What each made object must offer (it derives from plat::Object once):
//   Configuration  host::IConfigData and ITestConfiguration (CSpO2SimulationConfig)
//   Limits         host::ILimitData and ITestLimits (CLimitData); a new one has HasDialog true
//   TestResult     host::IResultData and ITestResult (CResultData)
//   GroupResult    host::IResultData and IGroupResult (CResultTestGroup); a new one has status 0
//   SetupDialog    host::IDialog and ISetupDialogHost (the element setup dialog)
//
// Back references (parent test, owner, parent of a result) point up the tree
// that owns the part: keep them as std::weak_ptr, never as shared_ptr.

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "host/test_element.h"
#include "host/ui_interfaces.h"

namespace plugin {

class CPluginSetup;
class CMeasurementColl;
class CTestData;

// The SpO2 simulation configuration of the kind that has one.
class ITestConfiguration {
public:
    virtual ~ITestConfiguration() = default;
    // The owning test element; called after creation and after every clone.
    virtual void SetParentTest(const host::TestElementPtr& element) = 0;
    // Keeps the settings object, follows its ConfigChanged (see CPluginSetup)
    // and resets the configuration to its defaults.
    virtual void SetPluginSetup(const std::shared_ptr<CPluginSetup>& setup) = 0;
};

// The limits of an element.
class ITestLimits {
public:
    virtual ~ITestLimits() = default;
    // The owning element, which host::ILimitData::Owner returns and whose test
    // ID selects the default limits.
    virtual void SetOwner(const host::TestElementPtr& element) = 0;
    // What host::ILimitData::HasDialog answers from now on (groups set false).
    virtual void SetHasDialog(bool hasDialog) = 0;
};

// The result of a test.
class ITestResult {
public:
    virtual ~ITestResult() = default;
    // Keeps the parent element, sets status 0 and a new empty measurement
    // collection; also used to empty a result.
    virtual void InitializeResult(const host::TestElementPtr& parent) = 0;
    // Rebuilds the measurements of the parent's test kind from the fields of
    // the text split at "::", judges them against the parent's limits and the
    // run's standards and sets the status.
    virtual void StoreResult(const std::string& resultText, const std::shared_ptr<host::ITestSetup>& setup) = 0;
    // The same from the fields themselves, so that a reading is never split.
    virtual void StoreReadings(const std::vector<std::string>& fields,
                               const std::shared_ptr<host::ITestSetup>& setup) = 0;
    virtual std::shared_ptr<CMeasurementColl> Measurements() const = 0;
    // Empties the measurement collection, if there is one.
    virtual void ClearMeasurements() = 0;
    // EResultStatus: 0 not evaluated, 1 passed, 2 failed, 3 not applicable.
    virtual void SetStatus(int32_t status) = 0;
    // The key of the test-instrument record stored with the result (0: none).
    virtual void SetMTIID(int32_t id) = 0;
};

// The result of a test group.
class IGroupResult {
public:
    virtual ~IGroupResult() = default;
    // Sets the status from the direct children of `element` (an
    // host::ITestContainer): 0 when no child result has a status other than
    // 0; else 3 when every child result is 3; else 2 when a selected child's
    // result is 2; else 1. Children without a result count nowhere.
    virtual void UpdateStatus(const host::TestElementPtr& element,
                              const std::shared_ptr<host::ILimitStandards>& standards) = 0;
};

// The element setup dialog that holds one settings page.
class ISetupDialogHost {
public:
    virtual ~ISetupDialogHost() = default;
    virtual void Load() = 0;
    // Adds the page of that ProgID under the control name; returns its object.
    virtual plat::ObjectPtr CreateSetupCtrl(const std::string& progId, const std::string& controlName) = 0;
};

enum class Part { Configuration, Limits, TestResult, GroupResult, SetupDialog };

class PluginFactory {
public:
    using Maker = std::function<plat::ObjectPtr()>;

    // Replaces the maker of a part; an empty maker removes it.
    void Install(Part part, Maker maker);
    bool Installed(Part part) const;
    // Removes every maker (tests).
    void ResetForTests();

    // A new object of the part, or nullptr when no maker is installed or the
    // object does not offer the interface.
    std::shared_ptr<host::IConfigData> NewConfiguration() const;
    std::shared_ptr<host::ILimitData> NewLimits() const;
    std::shared_ptr<host::IResultData> NewTestResult() const;
    std::shared_ptr<host::IResultData> NewGroupResult() const;
    std::shared_ptr<host::IDialog> NewSetupDialog() const;

private:
    plat::ObjectPtr New(Part part) const;
    std::array<Maker, 5> makers_{};
};

// The one factory of the process (of the module that holds the plug-in).
PluginFactory& Factory();

// Installs a maker when constructed: one per real class, at namespace scope.
struct PartRegistrar {
    PartRegistrar(Part part, PluginFactory::Maker maker) { Factory().Install(part, std::move(maker)); }
};

}  // namespace plugin
