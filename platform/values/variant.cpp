#include "platform/values/variant.h"

#include "platform/values/numfmt.h"
#include "platform/values/text.h"

namespace plat {

namespace {

const char* KindName(VarType t) {
    switch (t) {
        case VarType::Empty: return "empty";
        case VarType::Boolean: return "Boolean";
        case VarType::Long: return "Long";
        case VarType::Double: return "Double";
        case VarType::String: return "String";
        case VarType::Object: return "Object";
    }
    return "?";
}

[[noreturn]] void Mismatch(VarType from, const char* to) {
    throw TypeMismatch(std::string("Type mismatch: ") + KindName(from) + " to " + to);
}

double TextToDouble(const std::string& s) {
    auto v = ReadWholeNumber(Trim(s));
    if (!v) throw TypeMismatch("Type mismatch: \"" + s + "\" is no number");
    return *v;
}

}  // namespace

Variant::Variant(bool v) : value_(v) {}
Variant::Variant(int32_t v) : value_(v) {}
Variant::Variant(double v) : value_(v) {}
Variant::Variant(std::string v) : value_(std::move(v)) {}
Variant::Variant(const char* v) : value_(std::string(v ? v : "")) {}
Variant::Variant(ObjectPtr v) : value_(std::move(v)) {}

VarType Variant::Type() const {
    switch (value_.index()) {
        case 1: return VarType::Boolean;
        case 2: return VarType::Long;
        case 3: return VarType::Double;
        case 4: return VarType::String;
        case 5: return VarType::Object;
        default: return VarType::Empty;
    }
}

bool Variant::AsBool() const {
    switch (Type()) {
        case VarType::Empty: return false;
        case VarType::Boolean: return std::get<bool>(value_);
        case VarType::Long: return std::get<int32_t>(value_) != 0;
        case VarType::Double: return std::get<double>(value_) != 0;
        case VarType::String: {
            const std::string& s = std::get<std::string>(value_);
            std::string t = Trim(s);
            if (EqualsNoCase(t, "True")) return true;
            if (EqualsNoCase(t, "False")) return false;
            return TextToDouble(s) != 0;
        }
        case VarType::Object: break;
    }
    Mismatch(Type(), "Boolean");
}

double Variant::AsDouble() const {
    switch (Type()) {
        case VarType::Empty: return 0;
        case VarType::Boolean: return std::get<bool>(value_) ? -1 : 0;
        case VarType::Long: return std::get<int32_t>(value_);
        case VarType::Double: return std::get<double>(value_);
        case VarType::String: return TextToDouble(std::get<std::string>(value_));
        case VarType::Object: break;
    }
    Mismatch(Type(), "Double");
}

int32_t Variant::AsLong() const {
    switch (Type()) {
        case VarType::Empty: return 0;
        case VarType::Boolean: return std::get<bool>(value_) ? -1 : 0;
        case VarType::Long: return std::get<int32_t>(value_);
        case VarType::Double: return RoundToLong(std::get<double>(value_));
        case VarType::String: return RoundToLong(TextToDouble(std::get<std::string>(value_)));
        case VarType::Object: break;
    }
    Mismatch(Type(), "Long");
}

std::string Variant::AsString() const {
    switch (Type()) {
        case VarType::Empty: return {};
        case VarType::Boolean: return std::get<bool>(value_) ? "True" : "False";
        case VarType::Long: return std::to_string(std::get<int32_t>(value_));
        case VarType::Double: return NumberToText(std::get<double>(value_));
        case VarType::String: return std::get<std::string>(value_);
        case VarType::Object: break;
    }
    Mismatch(Type(), "String");
}

ObjectPtr Variant::AsObject() const {
    if (auto p = std::get_if<ObjectPtr>(&value_)) return *p;
    return nullptr;
}

bool Variant::operator==(const Variant& other) const {
    if (IsNumeric() && other.IsNumeric()) return AsDouble() == other.AsDouble();
    return value_ == other.value_;
}

}  // namespace plat
