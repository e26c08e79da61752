#include "host/limit_standards.h"

#include <optional>

#include "host/error_service.h"
#include "host/test_element.h"
#include "host/xml.h"
#include "platform/values/numfmt.h"
#include "platform/values/text.h"

namespace host {

namespace {

[[noreturn]] void Fail(ErrorNumber number, const std::string& what) {
    throw HostError("Orvik", number, "CLimitStandards", 1, what);
}

size_t BoundSlot(int32_t index) {
    if (index != 0 && index != 1) Fail(errors::LimitIndex, "Bound index " + std::to_string(index) + " is neither 0 nor 1");
    return static_cast<size_t>(index);
}

std::string NumberText(float value) {
    std::string text = plat::NumberToText(static_cast<double>(value));
    if (plat::DecimalSign() != '.') text = plat::Replace(text, std::string(1, plat::DecimalSign()), ".");
    return text;
}

float NumberOf(const std::string& text) {
    return static_cast<float>(plat::ReadLeadingNumber(plat::Replace(text, ",", ".")));
}

// A saved "Kind", cut to a whole number; one beyond 32 bits is no kind of ours.
int32_t KindOf(const std::string& text, const std::string& standard) {
    const float kind = NumberOf(text);
    if (!(kind >= -2147483648.0f && kind < 2147483648.0f))
        Fail(errors::LimitData, "Kind \"" + text + "\" of limit standard \"" + standard + "\"");
    return static_cast<int32_t>(kind);
}

class LimitItems : public plat::Object, public ILimitItems {
public:
    explicit LimitItems(std::vector<std::shared_ptr<ILimitItem>> items) : items_(std::move(items)) {}
    int32_t Count() const override { return static_cast<int32_t>(items_.size()); }
    std::shared_ptr<ILimitItem> Item(int32_t index) const override {
        if (index < 1 || index > Count()) return nullptr;
        return items_[static_cast<size_t>(index - 1)];
    }
private:
    std::vector<std::shared_ptr<ILimitItem>> items_;
};

// A measurement's value and preset as numbers, when they are numbers.
std::optional<double> Number(const plat::Variant& v) {
    if (v.IsNumeric()) return v.AsDouble();
    return std::nullopt;
}

}  // namespace

// ---- Item ------------------------------------------------------------------

void CLimitItem::Initialize(const std::string& key, const std::string& unit, const std::string& text2,
                            const std::string& text3) {
    key_ = key;
    unit_ = unit;
    text2_ = text2;
    text3_ = text3;
}

std::string CLimitItem::Expression(int32_t index) const { return expressions_[BoundSlot(index)]; }
void CLimitItem::SetExpression(int32_t index, const std::string& expression) {
    expressions_[BoundSlot(index)] = expression;
}
bool CLimitItem::BoundEnabled(int32_t index) const { return enabled_[BoundSlot(index)]; }
void CLimitItem::SetBoundEnabled(int32_t index, bool enabled) { enabled_[BoundSlot(index)] = enabled; }
float CLimitItem::BoundValue(int32_t index) const { return bounds_[BoundSlot(index)]; }
void CLimitItem::SetBoundValue(int32_t index, float value) { bounds_[BoundSlot(index)] = value; }

std::string CLimitItem::Text(int32_t index) const {
    switch (index) {
        case 0: return unit_;
        case 1: return text2_;
        case 2: return text3_;
        default: return {};
    }
}

float CLimitItem::Bound(float expectedValue, int32_t index) const {
    size_t slot = BoundSlot(index);
    std::string expression = expressions_[slot].empty() ? expressions_[0] : expressions_[slot];
    const std::string compact = plat::ToUpper(plat::Replace(expression, " ", ""));
    const float x = expectedValue, y = bounds_[slot];
    if (compact.empty() || compact == "Y") return y;
    if (compact == "X+Y") return x + y;
    if (compact == "X+(X*Y%)") return x + x * y / 100.0f;
    Fail(errors::LimitExpression, "The limit expression \"" + expression + "\" of item \"" + key_ + "\" is unknown");
}

// ---- Standard --------------------------------------------------------------

void CLimitStandard::Initialize(const std::string& name, const std::string& text, int32_t kind) {
    name_ = name;
    text_ = text;
    kind_ = kind;
}

std::shared_ptr<ILimitItems> CLimitStandard::LimitItems() const { return std::make_shared<host::LimitItems>(items_); }

void CLimitStandard::AddItem(std::shared_ptr<ILimitItem> item) {
    if (item) items_.push_back(std::move(item));
}

std::shared_ptr<ILimitItem> CLimitStandard::FindItem(const std::string& key) const {
    for (const auto& item : items_)
        if (item->Key() == key) return item;
    return nullptr;
}

std::shared_ptr<CLimitStandard> CLimitStandard::Copy() const {
    auto copy = std::make_shared<CLimitStandard>();
    copy->Initialize(name_, text_, kind_);
    for (const auto& item : items_) {
        if (auto own = std::dynamic_pointer_cast<CLimitItem>(item)) {
            copy->AddItem(own->Copy());
        } else {
            auto c = std::make_shared<CLimitItem>();
            c->Initialize(item->Key(), item->Unit(), item->Text(1), item->Text(2));
            for (int32_t i = 0; i < 2; ++i) {
                c->SetExpression(i, item->Expression(i));
                c->SetBoundEnabled(i, item->BoundEnabled(i));
                c->SetBoundValue(i, item->BoundValue(i));
            }
            copy->AddItem(c);
        }
    }
    return copy;
}

// ---- Collection ------------------------------------------------------------

std::shared_ptr<ILimitStandard> CLimitStandards::Item(int32_t index, const std::string& name,
                                                      const std::string& text) const {
    if (index == 0) {
        for (const auto& s : standards_)
            if (s->Name() == name && s->Text() == text) return s;
        return nullptr;
    }
    if (index < 1 || index > Count()) return nullptr;
    return standards_[static_cast<size_t>(index - 1)];
}

std::shared_ptr<ILimitStandards> CLimitStandards::Copy() const {
    auto copy = std::make_shared<CLimitStandards>();
    for (const auto& s : standards_) {
        if (auto own = std::dynamic_pointer_cast<CLimitStandard>(s)) {
            copy->Add(own->Copy());
        } else {
            auto c = std::make_shared<CLimitStandard>();
            c->Initialize(s->Name(), s->Text(), 1);
            if (auto items = s->LimitItems())
                for (int32_t i = 1; i <= items->Count(); ++i) c->AddItem(items->Item(i));
            copy->Add(c->Copy());
        }
    }
    return copy;
}

void CLimitStandards::Load(const IXmlElement& node, const std::shared_ptr<ILoadContext>&) {
    std::vector<std::shared_ptr<ILimitStandard>> loaded;
    auto children = node.ChildNodes();
    for (int32_t i = 0; i < children->Count(); ++i) {
        auto element = children->ElementAt(i);
        if (!element) continue;
        if (element->Name() != "Standard")
            Fail(errors::LimitData, "Unknown element \"" + element->Name() + "\" in limits \"" + node.Name() + "\"");
        auto standard = std::make_shared<CLimitStandard>();
        std::string kind = element->GetAttribute("Kind");
        standard->Initialize(element->GetAttribute("Name"), element->GetAttribute("Text"),
                             kind.empty() ? 1 : KindOf(kind, element->GetAttribute("Name")));
        auto itemNodes = element->ChildNodes();
        for (int32_t j = 0; j < itemNodes->Count(); ++j) {
            auto itemNode = itemNodes->ElementAt(j);
            if (!itemNode) continue;
            if (itemNode->Name() != "Item")
                Fail(errors::LimitData, "Unknown element \"" + itemNode->Name() + "\" in limit standard \"" +
                                            standard->Name() + "\"");
            auto item = std::make_shared<CLimitItem>();
            item->Initialize(itemNode->GetAttribute("Key"), itemNode->GetAttribute("Unit"),
                             itemNode->GetAttribute("Text2"), itemNode->GetAttribute("Text3"));
            item->SetExpression(0, itemNode->GetAttribute("Expression"));
            item->SetExpression(1, itemNode->GetAttribute("Expression1"));
            auto bounds = itemNode->ChildNodes();
            for (int32_t k = 0; k < bounds->Count(); ++k) {
                auto bound = bounds->ElementAt(k);
                if (!bound || bound->Name() != "Bound") continue;
                std::string index = bound->GetAttribute("Index");
                if (index != "0" && index != "1")
                    Fail(errors::LimitData, "Bound index \"" + index + "\" of limit item \"" + item->Key() + "\"");
                int32_t b = index == "0" ? 0 : 1;
                item->SetBoundEnabled(b, bound->GetAttribute("Enabled") == "1");
                item->SetBoundValue(b, NumberOf(bound->GetAttribute("Value")));
            }
            standard->AddItem(item);
        }
        loaded.push_back(standard);
    }
    standards_ = std::move(loaded);
}

std::shared_ptr<IXmlElement> CLimitStandards::Save(IXmlDocument& document) const {
    auto root = document.CreateElement("LimitStandards");
    for (const auto& s : standards_) {
        auto standard = document.CreateElement("Standard");
        standard->SetAttribute("Name", s->Name());
        standard->SetAttribute("Text", s->Text());
        auto own = std::dynamic_pointer_cast<CLimitStandard>(s);
        standard->SetAttribute("Kind", std::to_string(own ? own->Kind() : 1));
        if (auto items = s->LimitItems()) {
            for (int32_t i = 1; i <= items->Count(); ++i) {
                auto item = items->Item(i);
                auto element = document.CreateElement("Item");
                element->SetAttribute("Key", item->Key());
                element->SetAttribute("Unit", item->Unit());
                element->SetAttribute("Text2", item->Text(1));
                element->SetAttribute("Text3", item->Text(2));
                element->SetAttribute("Expression", item->Expression(0));
                if (!item->Expression(1).empty()) element->SetAttribute("Expression1", item->Expression(1));
                for (int32_t b = 0; b < 2; ++b) {
                    auto bound = document.CreateElement("Bound");
                    bound->SetAttribute("Index", std::to_string(b));
                    bound->SetAttribute("Enabled", item->BoundEnabled(b) ? "1" : "0");
                    bound->SetAttribute("Value", NumberText(item->BoundValue(b)));
                    element->AppendChild(bound);
                }
                standard->AppendChild(element);
            }
        }
        root->AppendChild(standard);
    }
    return root;
}

void CLimitStandards::Add(std::shared_ptr<ILimitStandard> standard) {
    if (standard) standards_.push_back(std::move(standard));
}

void CLimitStandards::UpdateReferences(const std::shared_ptr<ITestElement>&) {}

plat::ObjectPtr CLimitStandards::FailedStandards(const std::shared_ptr<IMeasurement>& measurement,
                                                 const std::shared_ptr<ILimitStandards>& runStandards) const {
    if (!measurement) return nullptr;
    auto value = Number(measurement->Value());
    if (!value) return nullptr;
    auto preset = Number(measurement->PresetValue());
    std::string key = measurement->LimitKey();
    if (key.empty()) key = measurement->Key();

    auto result = std::make_shared<CLimitStandardList>();
    for (const auto& standard : standards_) {
        if (runStandards && runStandards->Count() > 0 && !runStandards->Item(0, standard->Name(), standard->Text()))
            continue;
        auto items = standard->LimitItems();
        bool failed = false;
        for (int32_t i = 1; items && i <= items->Count() && !failed; ++i) {
            auto item = items->Item(i);
            if (item->Key() != key) continue;
            auto tolerance = std::dynamic_pointer_cast<IToleranceItem>(item);
            const float v = static_cast<float>(*value);
            for (int32_t b = 0; b < 2 && !failed; ++b) {
                if (!item->BoundEnabled(b)) continue;
                float bound = preset && tolerance ? tolerance->Bound(static_cast<float>(*preset), b) : item->BoundValue(b);
                failed = b == 0 ? v > bound : v < bound;
            }
        }
        if (failed) result->standards.push_back(standard);
    }
    if (result->standards.empty()) return nullptr;
    return result;
}

}  // namespace host
