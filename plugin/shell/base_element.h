#pragma once
// CBaseElement: what the plug-in's two elements share: the host's base
// element (or container) that they wrap, and the members they hand to it
// unchanged. A terminated element (base released) answers empty.

#include <cstdint>
#include <memory>

#include "host/test_element_base.h"
#include "platform/values/pass_over.h"

namespace plugin {

template <class Base>
class CBaseElement : public plat::Object, public host::ITestElement {
public:
    int32_t TestID() const override { return base_ ? base_->TestID() : 0; }
    int32_t ID() const override { return base_ ? base_->ID() : 0; }
    void SetID(int32_t id) override {
        if (base_) base_->SetID(id);
    }
    host::TestElementPtr Parent() const override { return base_ ? base_->Parent() : nullptr; }
    void SetParent(const host::TestElementPtr& parent) override {
        if (base_) base_->SetParent(parent);
    }
    std::shared_ptr<host::ITestInfo> Info() const override { return base_ ? base_->Info() : nullptr; }
    std::shared_ptr<host::ITestFilter> Filter() const override { return base_ ? base_->Filter() : nullptr; }
    std::shared_ptr<host::IResultData> Result() const override { return base_ ? base_->Result() : nullptr; }
    std::shared_ptr<host::ILimitData> Limits() const override { return base_ ? base_->Limits() : nullptr; }
    std::shared_ptr<host::IConfigData> Configuration() const override {
        return base_ ? base_->Configuration() : nullptr;
    }
    bool QuerySetParent(const host::TestElementPtr&) override { return true; }
    plat::Variant GetMeasurementList() override { return {}; }

protected:
    explicit CBaseElement(std::shared_ptr<Base> base) : base_(std::move(base)) {}

    // This element as the host holds it; nullptr while it is not held by a shared_ptr.
    host::TestElementPtr Self() {
        host::TestElementPtr self;
        plat::PassOver([&] { self = std::dynamic_pointer_cast<host::ITestElement>(shared_from_this()); });
        return self;
    }

    // Points the standards of the element's limits at this element.
    void UpdateLimitReferences() {
        plat::PassOver([&] {
            auto limits = Limits();
            auto standards = limits ? limits->Standards() : nullptr;
            if (standards) standards->UpdateReferences(Self());
        });
    }

    std::shared_ptr<Base> base_;
};

}  // namespace plugin
