#include "makes/oximeter_make.h"

#include <stdexcept>

#include "makes/make_utils.h"
#include "platform/values/numfmt.h"
#include "platform/values/pass_over.h"

namespace makes {
inline namespace ORVIK_MAKES_FLAVOUR {

namespace {
RCurveCollection& CurveOf(const RCurvePtr& curve) {
    if (!curve) throw std::runtime_error("Object variable not set");
    return *curve;
}
}  // namespace

std::string CRCurveElement::rvalue() const {
    std::string text = "0";
    plat::PassOver([&] { text = plat::NumberToText(ValText(rvalue_)); });
    return text;
}

COximeterMake::COximeterMake() {
    plat::PassOver([&] { rCurve_ = std::make_shared<RCurveCollection>(); });
    redDC_ = 3500;
    irDC_ = 3500;
    irAC_ = 1000;
    plat::PassOver([&] { name_ = DefaultMakeName(); });
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
            plat::PassOver([&] {
                const CRCurveElementPtr& point = rCurve_->Item(i);
                if (!point) throw std::runtime_error("Object variable not set");
                copy->AddRValue(point->spo2(), point->rvalue());
            });
        }
    }
    return copy;
}

void COximeterMake::AddRCurveElement(CRCurveElementPtr element) {
    plat::PassOver([&] { (void)CurveOf(rCurve_).Add(std::move(element)); });
}

void COximeterMake::AddRValue(int32_t spo2, std::string rvalue) {
    plat::PassOver([&] {
        auto point = std::make_shared<CRCurveElement>();
        point->SetSpo2(spo2);
        point->SetRvalue(std::move(rvalue));
        (void)CurveOf(rCurve_).Add(std::move(point));
    });
}

}  // namespace ORVIK_MAKES_FLAVOUR
}  // namespace makes
