#include <gtest/gtest.h>

#include "makes/make_utils.h"
#include "makes/oximeter_make.h"
#include "tests/makes/make_fixture.h"

using makes::COximeterMake;
using makes::CRCurveElement;

namespace {

using MakeModelTest = makes_test::MakeFolderTest;

TEST_F(MakeModelTest, NewMakeHoldsTheDefaults) {
    COximeterMake make;
    EXPECT_EQ(make.Name(), "<<Custom oximeter>>");
    EXPECT_EQ(make.File(), "");
    EXPECT_EQ(make.RedDC(), 3500);
    EXPECT_EQ(make.IRDC(), 3500);
    EXPECT_EQ(make.IRAC(), 1000);
    EXPECT_EQ(make.LightLevel(), 1);
    EXPECT_EQ(make.TLC(), 3500);
    ASSERT_TRUE(make.RCurve());
    EXPECT_EQ(make.RCurve()->Count(), 0);

    CRCurveElement point;
    EXPECT_EQ(point.spo2(), 0);
    EXPECT_EQ(point.rvalue(), "0");
}

TEST_F(MakeModelTest, DefaultNameIsTranslated) {
    WriteBelowRoot("languages/German/Pelmo2.lng", "20021=Eigenes Oximeter\n");
    host::LanguageService().SetLanguage("German");
    EXPECT_EQ(makes::DefaultMakeName(), "<<Eigenes Oximeter>>");
    EXPECT_EQ(COximeterMake().Name(), "<<Eigenes Oximeter>>");
    host::LanguageService().SetLanguage("English");
}

TEST_F(MakeModelTest, PointsStoreTextUncheckedAndReadItNormalised) {
    COximeterMake make;
    make.AddRValue(120, "x");
    make.AddRValue(60, "1.50");
    ASSERT_EQ(make.RCurve()->Count(), 2);
    auto first = make.RCurve()->Item(1);
    EXPECT_EQ(first->spo2(), 120);
    EXPECT_EQ(first->StoredRvalue(), "x");
    EXPECT_EQ(first->rvalue(), "0");
    EXPECT_EQ(make.RCurve()->Item(2)->rvalue(), "1.5");

    plat::ScopedDecimalSign comma(',');
    EXPECT_EQ(make.RCurve()->Item(2)->rvalue(), "1,5");
}

TEST_F(MakeModelTest, CloneIsDeepAndNormalisesRValues) {
    COximeterMake make;
    make.SetName("Acme");
    make.SetFile("acme.txt");
    make.SetRedDC(1);
    make.SetIRDC(2);
    make.SetIRAC(3);
    make.SetLightLevel(2);
    make.SetTLC(4);
    make.AddRValue(50, "0.50");
    auto point = std::make_shared<CRCurveElement>();
    point->SetSpo2(51);
    make.AddRCurveElement(point);
    EXPECT_EQ(make.RCurve()->Item(2), point);  // the object itself

    auto copy = make.Clone();
    EXPECT_EQ(copy->Name(), "Acme");
    EXPECT_EQ(copy->File(), "acme.txt");
    EXPECT_EQ(copy->RedDC(), 1);
    EXPECT_EQ(copy->IRDC(), 2);
    EXPECT_EQ(copy->IRAC(), 3);
    EXPECT_EQ(copy->LightLevel(), 2);
    EXPECT_EQ(copy->TLC(), 4);
    ASSERT_EQ(copy->RCurve()->Count(), 2);
    EXPECT_EQ(copy->RCurve()->Item(1)->StoredRvalue(), "0.5");
    EXPECT_NE(copy->RCurve()->Item(2), point);
    EXPECT_NE(copy->RCurve(), make.RCurve());

    copy->AddRValue(52, "1");
    EXPECT_EQ(make.RCurve()->Count(), 2);
}

TEST_F(MakeModelTest, MakeWithoutCurveSurvivesAddsAndClone) {
    COximeterMake make;
    make.SetRCurve(nullptr);
    make.AddRValue(50, "1");
    make.AddRCurveElement(std::make_shared<CRCurveElement>());
    auto copy = make.Clone();
    ASSERT_TRUE(copy->RCurve());
    EXPECT_EQ(copy->RCurve()->Count(), 0);
}

TEST_F(MakeModelTest, CurveForUploadGivesOneValuePerSpO2InOrder) {
    COximeterMake make;
    make.AddRValue(100, "2.4");
    make.AddRValue(50, "1.50");
    make.AddRValue(51, "x");
    make.AddRValue(51, "0.7");  // later point of the same SpO2 wins
    make.AddRValue(49, "2");    // outside the curve
    const auto values = makes::CurveForUpload(make);
    ASSERT_EQ(values.Count(), 51);
    EXPECT_EQ(values.Item(1).AsString(), "1.5");
    EXPECT_EQ(values.Item(2).AsString(), "0.7");
    EXPECT_EQ(values.Item(3).AsString(), "0");
    EXPECT_EQ(values.Item(51).AsString(), "2.4");

    make.SetRCurve(nullptr);
    const auto none = makes::CurveForUpload(make);
    ASSERT_EQ(none.Count(), 51);
    EXPECT_EQ(none.Item(51).AsString(), "0");
}

}  // namespace
