#include "makes/oximeter_make.h"

#include <stdexcept>

#include "makes/make_utils.h"
#include "makes/step.h"
#include "platform/values/numfmt.h"

namespace makes {
inline namespace ORVIK_MAKES_FLAVOUR {

namespace {
constexpr std::string_view kMakeModule = "COximeterMake";
constexpr std::string_view kPointModule = "CRCurveElement";

RCurveCollection& CurveOf(const RCurvePtr& curve) {
    if (!curve) throw std::runtime_error("Object variable not set");
    return *curve;
}
}  // namespace

std::string CRCurveElement::rvalue() const {
    std::string text = "0";
    RunStep(kPointModule, "rvalue", __LINE__, [&] { text = plat::NumberToText(ValText(rvalue_)); });
    return text;
}

COximeterMake::COximeterMake() {
    RunStep(kMakeModule, "Class_Initialize", __LINE__, [&] { rCurve_ = std::make_shared<RCurveCollection>(); });
    redDC_ = 3500;
    irDC_ = 3500;
    irAC_ = 1000;
    RunStep(kMakeModule, "Class_Initialize", __LINE__, [&] { name_ = DefaultMakeName(); });
    lightLevel_ = 1;
    tlc_ = 3500;
}

OximeterMakePtr COximeterMake::Clone() const {
    auto copy = std::make_shared<COximeterMake>();
    copy->file_ = file_;
    copy->irDC_ = irDC_;
    copy->lightLevel_ = lightLevel_;
    copy->name_ = name_;
    copy->redDC_ = redDC_;
    copy->irAC_ = irAC_;
    copy->tlc_ = tlc_;
    if (rCurve_) {
        for (int32_t i = 1; i <= rCurve_->Count(); ++i) {
            RunStep(kMakeModule, "Clone", __LINE__, [&] {
                const CRCurveElementPtr& point = rCurve_->Item(i);
                if (!point) throw std::runtime_error("Object variable not set");
                copy->AddRValue(point->spo2(), point->rvalue());
            });
        }
    }
    return copy;
}

void COximeterMake::AddRCurveElement(CRCurveElementPtr element) {
    RunStep(kMakeModule, "AddRCurveElement", __LINE__, [&] { (void)CurveOf(rCurve_).Add(std::move(element)); });
}

void COximeterMake::AddRValue(int32_t spo2, std::string rvalue) {
    RunStep(kMakeModule, "AddRValue", __LINE__, [&] {
        auto point = std::make_shared<CRCurveElement>();
        point->SetSpo2(spo2);
        point->SetRvalue(std::move(rvalue));
        (void)CurveOf(rCurve_).Add(std::move(point));
    });
}

}  // namespace ORVIK_MAKES_FLAVOUR
}  // namespace makes
