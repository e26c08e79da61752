#pragma once
// A value of one of a few kinds, for the places that pass "any value":
// generic control events, settings and measurement values.

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <type_traits>
#include <variant>

namespace plat {

// Base of every reference-counted object (the stand-in for a COM object).
// Objects live in std::shared_ptr; shared_from_this lets an object keep itself
// alive while one of its own events is being handled.
class Object : public std::enable_shared_from_this<Object> {
public:
    virtual ~Object() = default;
};
using ObjectPtr = std::shared_ptr<Object>;

enum class VarType { Empty, Boolean, Long, Double, String, Object };

// Raised when a Variant cannot be converted to the kind asked for.
class TypeMismatch : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class Variant {
public:
    Variant() = default;
    Variant(bool v);
    Variant(int32_t v);
    Variant(double v);
    Variant(std::string v);
    Variant(const char* v);
    Variant(ObjectPtr v);
    template <class T, class = std::enable_if_t<std::is_base_of_v<Object, T>>>
    Variant(std::shared_ptr<T> v) : Variant(std::static_pointer_cast<Object>(std::move(v))) {}

    VarType Type() const;
    bool IsEmpty() const { return Type() == VarType::Empty; }
    bool IsNumeric() const { return Type() == VarType::Long || Type() == VarType::Double; }

    // Conversions. Text converts to a number with the locale-independent rule
    // of ToDouble below and throws TypeMismatch when it holds no number; a
    // double converts to a whole number with halves to the even neighbour and
    // throws plat::Overflow (numfmt.h) outside 32 bits. Empty converts to
    // false, 0 and "". True converts to -1 and "True", False to 0 and "False";
    // text converts to a Boolean when it is "True" or "False" (any case) or a
    // number. An object converts only by AsObject; else TypeMismatch.
    bool AsBool() const;
    int32_t AsLong() const;
    double AsDouble() const;
    std::string AsString() const;  // numbers in the general number form
    ObjectPtr AsObject() const;    // nullptr unless the value is an object

    template <class T>
    std::shared_ptr<T> As() const { return std::dynamic_pointer_cast<T>(AsObject()); }

    // Same kind and value; numbers compare by value across Long and Double,
    // objects by identity.
    bool operator==(const Variant& other) const;

private:
    std::variant<std::monostate, bool, int32_t, double, std::string, ObjectPtr> value_;
};

}  // namespace plat
