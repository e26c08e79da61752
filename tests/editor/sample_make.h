#pragma once
// Make files for the editor's tests.

#include <memory>
#include <string>

#include "makes/make_utils.h"
#include "platform/values/numfmt.h"

namespace editor_test {

// A make with a straight R-curve: R at SpO2 s is `start` - (s - 50) * 0.01.
inline makes::OximeterMakePtr SampleMake(const std::string& name, int32_t redDC = 1000, double start = 1.5) {
    auto make = std::make_shared<makes::COximeterMake>();
    make->SetName(name);
    make->SetRedDC(redDC);
    make->SetIRDC(2000);
    make->SetIRAC(300);
    make->SetTLC(400);
    make->SetLightLevel(1);
    make->SetRCurve(std::make_shared<makes::RCurveCollection>());
    for (int32_t spo2 = 50; spo2 <= 100; ++spo2)
        make->AddRValue(spo2, plat::NumberToText(start - (spo2 - 50) * 0.01));
    return make;
}

}  // namespace editor_test
