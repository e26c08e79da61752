#pragma once
// The host's limit standards: a collection of standards, each holding limit
// items with an upper (index 0) and a lower (index 1) bound. Items named
// "SpO2" and "BPM" are tolerance items, whose bounds follow from an expected
// value. A value equal to a bound passes. Interfaces as in test_element.h.

#include <cstdint>
#include <memory>
#include <string>

#include "platform/values/variant.h"

namespace host {

class IXmlDocument;
class IXmlElement;
class IMeasurement;
class ITestElement;

// The load context of the host: a plug-in enters it with its id and version
// before reading its data and leaves it afterwards.
class ILoadContext {
public:
    virtual ~ILoadContext() = default;
    virtual int32_t Enter(const std::string& plugInId, const std::string& version) = 0;
    virtual void Leave(int32_t cookie) = 0;
};

class ILimitItem {
public:
    virtual ~ILimitItem() = default;
    virtual void Initialize(const std::string& key, const std::string& unit, const std::string& text3,
                            const std::string& text4) = 0;
    virtual std::string Key() const = 0;  // the item's name
    virtual std::string Unit() const = 0;
    virtual void SetUnit(const std::string& unit) = 0;
    virtual std::string Expression(int32_t index) const = 0;
    virtual void SetExpression(int32_t index, const std::string& expression) = 0;
    virtual bool BoundEnabled(int32_t index) const = 0;
    virtual void SetBoundEnabled(int32_t index, bool enabled) = 0;
    virtual float BoundValue(int32_t index) const = 0;
    virtual void SetBoundValue(int32_t index, float value) = 0;
    // The item's texts by index (0: the unit text).
    virtual std::string Text(int32_t index) const = 0;
};

// A limit item whose bounds are computed from an expected value.
class IToleranceItem {
public:
    virtual ~IToleranceItem() = default;
    virtual float Bound(float expectedValue, int32_t index) const = 0;
};

class ILimitItems {
public:
    virtual ~ILimitItems() = default;
    virtual int32_t Count() const = 0;
    // 1-based; nullptr outside the range.
    virtual std::shared_ptr<ILimitItem> Item(int32_t index) const = 0;
};

class ILimitStandard {
public:
    virtual ~ILimitStandard() = default;
    virtual void Initialize(const std::string& name, const std::string& text, int32_t kind) = 0;
    virtual std::string Name() const = 0;  // the first text
    virtual std::string Text() const = 0;  // the second text
    virtual std::shared_ptr<ILimitItems> LimitItems() const = 0;
    virtual void AddItem(std::shared_ptr<ILimitItem> item) = 0;
};

class ILimitStandards {
public:
    virtual ~ILimitStandards() = default;
    virtual int32_t Count() const = 0;
    // By 1-based index; index 0 finds the standard by its two texts. nullptr when none.
    virtual std::shared_ptr<ILimitStandard> Item(int32_t index, const std::string& name = {},
                                                 const std::string& text = {}) const = 0;
    virtual std::shared_ptr<ILimitStandards> Copy() const = 0;
    virtual void Load(const IXmlElement& node, const std::shared_ptr<ILoadContext>& context) = 0;
    // The collection's element, or nullptr when there is nothing to write.
    virtual std::shared_ptr<IXmlElement> Save(IXmlDocument& document) const = 0;
    virtual void Add(std::shared_ptr<ILimitStandard> standard) = 0;
    virtual void UpdateReferences(const std::shared_ptr<ITestElement>& owner) = 0;
};

// Offered by the same object as ILimitStandards: the standards of `runStandards`
// that the measurement fails; nullptr when it fails none.
class ILimitStandardsCheck {
public:
    virtual ~ILimitStandardsCheck() = default;
    virtual plat::ObjectPtr FailedStandards(const std::shared_ptr<IMeasurement>& measurement,
                                            const std::shared_ptr<ILimitStandards>& runStandards) const = 0;
};

}  // namespace host
