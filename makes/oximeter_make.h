#pragma once
// One oximeter make (name, light values, light level, R-curve) and one point
// of its R-curve. The setters store what they are given without any check:
// ranges are applied by the make-file operations (make_utils.h).

#include <cstdint>
#include <memory>
#include <string>

#include "makes/flavour.h"
#include "platform/values/collection.h"
#include "platform/values/variant.h"

namespace makes {
inline namespace ORVIK_MAKES_FLAVOUR {

class CRCurveElement : public plat::Object {
public:
    int32_t spo2() const { return spo2_; }
    void SetSpo2(int32_t value) { spo2_ = value; }

    // The stored text read as a number (either decimal sign) and written back
    // in the general number form with the user's decimal sign: "1.50" -> "1.5",
    // "abc" -> "0".
    std::string rvalue() const;
    void SetRvalue(std::string value) { rvalue_ = std::move(value); }
    // The text exactly as stored.
    const std::string& StoredRvalue() const { return rvalue_; }

private:
    int32_t spo2_ = 0;
    std::string rvalue_ = "0";
};

using CRCurveElementPtr = std::shared_ptr<CRCurveElement>;
// Ordered, 1-based, without keys.
using RCurveCollection = plat::Collection<CRCurveElementPtr>;
using RCurvePtr = std::shared_ptr<RCurveCollection>;

class COximeterMake;
using OximeterMakePtr = std::shared_ptr<COximeterMake>;

class COximeterMake : public plat::Object {
public:
    // Defaults: an empty R-curve, 3500/3500/1000 for RedDC/IRDC/IRAC, the
    // default make name (one translation), no file, light level 1, TLC 3500.
    COximeterMake();

    const std::string& Name() const { return name_; }
    void SetName(std::string value) { name_ = std::move(value); }
    const std::string& File() const { return file_; }
    void SetFile(std::string value) { file_ = std::move(value); }
    int32_t RedDC() const { return redDC_; }
    void SetRedDC(int32_t value) { redDC_ = value; }
    int32_t IRDC() const { return irDC_; }
    void SetIRDC(int32_t value) { irDC_ = value; }
    int32_t LightLevel() const { return lightLevel_; }
    void SetLightLevel(int32_t value) { lightLevel_ = value; }
    int32_t IRAC() const { return irAC_; }
    void SetIRAC(int32_t value) { irAC_ = value; }
    // The make's own collection (callers may add to it); may be set to none.
    const RCurvePtr& RCurve() const { return rCurve_; }
    void SetRCurve(RCurvePtr value) { rCurve_ = std::move(value); }
    int32_t TLC() const { return tlc_; }
    void SetTLC(int32_t value) { tlc_ = value; }

    // A deep copy; each point's R value in the getter's normalised form.
    OximeterMakePtr Clone() const;
    // Appends the point object itself.
    void AddRCurveElement(CRCurveElementPtr element);
    // Appends a new point holding these values unchanged.
    void AddRValue(int32_t spo2, std::string rvalue);

private:
    RCurvePtr rCurve_;
    int32_t redDC_ = 0;
    int32_t irDC_ = 0;
    int32_t irAC_ = 0;
    std::string name_;
    std::string file_;
    int32_t lightLevel_ = 0;
    int32_t tlc_ = 0;
};

}  // namespace ORVIK_MAKES_FLAVOUR
}  // namespace makes
