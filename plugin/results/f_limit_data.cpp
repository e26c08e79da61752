#include "plugin/results/f_limit_data.h"

#include <cmath>

#include "host/translate_text.h"
#include "host/view/limit_view.h"
#include "host/view/x_limit_view.h"
#include "platform/ui/object_control.h"
#include "platform/values/abort_error.h"
#include "platform/values/pass_over.h"
#include "plugin/results/test_type_keys.h"
#include "plugin/shell/pelmo2_utils.h"
#include "plugin/shell/test_kind.h"

namespace plugin {

namespace {

constexpr int32_t kPins = 13;

void AddRows(host::ILimitView& view, int32_t testId) {
    const TestKind* kind = FindTestKind(testId);
    if (!kind) return;
    if (kind->readings == TestKind::Readings::PinPairs) {
        const std::string unit = host::TranslateText(kLanguageSection, MeasurementUnitId(PinPairKey(1, 2)));
        for (int32_t a = 1; a < kPins; ++a)
            for (int32_t b = a + 1; b <= kPins; ++b)
                view.AddRow(PinPairKey(a, b),
                            host::TranslateText(kLanguageSection, kPinPairText, {plat::Variant(a), plat::Variant(b)}),
                            unit, "");
        return;
    }
    const std::string operators = kind->hasConfiguration ? SpO2Operators() : std::string();
    for (const TestKind::Measurement& row : kind->measurements)
        view.AddRow(std::string(row.key), host::TranslateText(kLanguageSection, row.description),
                    host::TranslateText(kLanguageSection, row.unit), operators);
}

}  // namespace

std::string SpO2Operators() { return std::string("<op>") + "X+Y" + ";" + "Y" + ";" + "X+(X*Y%)" + "</op>"; }

FLimitData::ViewMaker FLimitData::DefaultViewMaker() {
    return [] { return plat::ObjectPtr(std::make_shared<host::XLimitView>()); };
}

FLimitData::FLimitData(const ViewMaker& makeView) : Form("FLimitData") {
    SetInnerSize(8760, 4200);
    plat::ObjectPtr view;
    plat::PassOver([&] { view = makeView ? makeView() : nullptr; });
    if (view) {
        xlvLimits = &AddObject("xlvLimits", view);
        xlvLimits->Move(0, 0, 8760, 4200);
    }
    OnLoad = [this] { Form_Load(); };
}

void FLimitData::Form_Load() {
    plat::PassOver([&] { page_ = xlvLimits ? xlvLimits->ObjectAs<host::ICustomControl>() : nullptr; });
}

std::shared_ptr<host::ICallBack> FLimitData::CallBack() const {
    std::shared_ptr<host::ICallBack> callBack;
    plat::PassOver([&] { if (page_) callBack = page_->CallBack(); });
    return callBack;
}

void FLimitData::SetCallBack(std::shared_ptr<host::ICallBack> callBack) {
    plat::PassOver([&] { if (page_) page_->SetCallBack(std::move(callBack)); });
}

bool FLimitData::Locked() const {
    bool locked = false;
    plat::PassOver([&] { if (page_) locked = page_->Locked(); });
    return locked;
}

void FLimitData::SetLocked(bool locked) {
    plat::PassOver([&] { if (page_) page_->SetLocked(locked); });
}

void FLimitData::Initialize(const plat::Variant& value) {
    plat::PassOver([&] { if (page_) page_->Initialize(value); });
}

void FLimitData::Hide() {
    plat::PassOver([&] { if (page_) page_->SetVisible(false); });
}

void FLimitData::Show(const plat::Variant&) {
    plat::PassOver([&] { if (page_) page_->SetVisible(true); });
}

void FLimitData::Dock(host::WindowHandle parent) {
    plat::PassOver([&] {
        if (!page_) return;
        plat::ui::SetParent(static_cast<plat::ui::WindowHandle>(page_->HWnd()),
                            static_cast<plat::ui::WindowHandle>(parent));
        docked_ = true;
    });
}

void FLimitData::UnDock() {
    if (!docked_) return;
    plat::PassOver([&] {
        if (page_) plat::ui::SetParent(static_cast<plat::ui::WindowHandle>(page_->HWnd()), hWnd());
        docked_ = false;
    });
}

void FLimitData::Unload() {
    // What the view is editing is kept as leaving the cell would keep it.
    plat::PassOver([&] {
        if (auto view = xlvLimits ? xlvLimits->ObjectAs<host::ILimitView>() : nullptr) view->EndEdit();
    });
    if (docked_) UnDock();
    plat::PassOver([&] { plat::ui::Form::Unload(); });
}

void FLimitData::Move(float left, float top, float width, float height) {
    plat::PassOver([&] {
        if (xlvLimits)
            xlvLimits->Move(static_cast<int32_t>(std::lround(left)), static_cast<int32_t>(std::lround(top)),
                            static_cast<int32_t>(std::lround(width)), static_cast<int32_t>(std::lround(height)));
    });
}

void FLimitData::Refresh() {
    plat::PassOver([&] { if (page_) page_->Refresh(); });
}

void FLimitData::SetFocus() {
    plat::PassOver([&] { if (page_) page_->SetFocus(); });
}

std::shared_ptr<host::IDialog> NewLimitDataDialog(const std::shared_ptr<host::ILimitData>& limits, int32_t testId,
                                                  const FLimitData::ViewMaker& makeView) {
    auto form = std::make_shared<FLimitData>(makeView);
    try {
        form->Load();
        auto view = form->View() ? form->View()->ObjectAs<host::ILimitView>() : nullptr;
        // A dialog without a page would edit nothing: the host is told there is none.
        if (!form->Page() || !view) {
            form->Unload();
            return nullptr;
        }
        AddRows(*view, testId);
        form->Initialize(plat::Variant(std::dynamic_pointer_cast<plat::Object>(limits)));
    } catch (...) {
        plat::RethrowAbort();
        plat::PassOver([&] { form->Unload(); });
        throw;
    }
    return form;
}

}  // namespace plugin
