#pragma once
// The host's limit objects: limit items (every item can compute tolerance
// bounds), standards holding items, and the collection of standards with its
// saving, loading and failed-standards check.
//
// A bound's expression (the item's expression of the bound's index, else
// expression 0) turns the stored bound value Y and an expected value X into
// the bound: "" or "Y" gives Y, "X+Y" gives X + Y, "X+(X*Y%)" gives
// X + X * Y / 100. Any other expression raises errors::LimitExpression.
//
// Saved form (the plug-in renames the top element, e.g. "ExpectedResult"):
//   <LimitStandards>
//     <Standard Name=".." Text=".." Kind="1">
//       <Item Key="SpO2" Unit="%" Text2="" Text3="" Expression="X+Y">
//         <Bound Index="0" Enabled="1" Value="2"/> <Bound Index="1" Enabled="1" Value="-2"/>
//       </Item>
//     </Standard>
//   </LimitStandards>
// Numbers are written with "." and read with either decimal sign.

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "host/limits.h"
#include "platform/values/variant.h"

namespace host {

class CLimitItem : public plat::Object, public ILimitItem, public IToleranceItem {
public:
    void Initialize(const std::string& key, const std::string& unit, const std::string& text2,
                    const std::string& text3) override;
    std::string Key() const override { return key_; }
    std::string Unit() const override { return unit_; }
    void SetUnit(const std::string& unit) override { unit_ = unit; }
    // Index 0 and 1 (one per bound); other indices raise errors::LimitIndex.
    std::string Expression(int32_t index) const override;
    void SetExpression(int32_t index, const std::string& expression) override;
    bool BoundEnabled(int32_t index) const override;
    void SetBoundEnabled(int32_t index, bool enabled) override;
    float BoundValue(int32_t index) const override;
    void SetBoundValue(int32_t index, float value) override;
    // 0 the unit, 1 and 2 the two further texts of Initialize; "" otherwise.
    std::string Text(int32_t index) const override;

    float Bound(float expectedValue, int32_t index) const override;

    std::shared_ptr<CLimitItem> Copy() const { return std::make_shared<CLimitItem>(*this); }

private:
    std::string key_, unit_, text2_, text3_;
    std::array<std::string, 2> expressions_{};
    std::array<bool, 2> enabled_{false, false};
    std::array<float, 2> bounds_{0.0f, 0.0f};
};

class CLimitStandard : public plat::Object, public ILimitStandard {
public:
    void Initialize(const std::string& name, const std::string& text, int32_t kind) override;
    std::string Name() const override { return name_; }
    std::string Text() const override { return text_; }
    int32_t Kind() const { return kind_; }
    std::shared_ptr<ILimitItems> LimitItems() const override;
    void AddItem(std::shared_ptr<ILimitItem> item) override;
    // The first item of that key (exact case), or nullptr.
    std::shared_ptr<ILimitItem> FindItem(const std::string& key) const;
    std::shared_ptr<CLimitStandard> Copy() const;

private:
    std::string name_, text_;
    int32_t kind_ = 0;
    std::vector<std::shared_ptr<ILimitItem>> items_;
};

// The standards that a check found failed, in collection order.
class CLimitStandardList : public plat::Object {
public:
    std::vector<std::shared_ptr<ILimitStandard>> standards;
};

class CLimitStandards : public plat::Object, public ILimitStandards, public ILimitStandardsCheck {
public:
    int32_t Count() const override { return static_cast<int32_t>(standards_.size()); }
    std::shared_ptr<ILimitStandard> Item(int32_t index, const std::string& name = {},
                                         const std::string& text = {}) const override;
    std::shared_ptr<ILimitStandards> Copy() const override;
    // Replaces the collection's standards by those of the node.
    // errors::LimitData for a node of another form.
    void Load(const IXmlElement& node, const std::shared_ptr<ILoadContext>& context) override;
    std::shared_ptr<IXmlElement> Save(IXmlDocument& document) const override;
    void Add(std::shared_ptr<ILimitStandard> standard) override;
    // The stand-in's standards refer to no element: nothing to update.
    void UpdateReferences(const std::shared_ptr<ITestElement>& owner) override;

    // A standard of this collection takes part when the run's standards hold
    // one of the same name and text (all take part without run standards). It
    // fails when the measurement's value lies outside an enabled bound of its
    // item of the measurement's limit key (else key); tolerance bounds follow
    // from the measurement's preset value when it has one. A measurement
    // without a number fails nothing here. Returns a CLimitStandardList, or
    // nullptr when no standard fails.
    plat::ObjectPtr FailedStandards(const std::shared_ptr<IMeasurement>& measurement,
                                    const std::shared_ptr<ILimitStandards>& runStandards) const override;

private:
    std::vector<std::shared_ptr<ILimitStandard>> standards_;
};

}  // namespace host
