#include "plugin/shell/f_test_guide.h"

#include <algorithm>

#include "host/host_application.h"
#include "host/translate_text.h"
#include "platform/ui/grid.h"
#include "platform/ui/metrics.h"
#include "platform/ui/picture.h"
#include "platform/values/pass_over.h"
#include "plugin/shell/mti_data.h"
#include "plugin/config/spo2_simulation_config.h"
#include "plugin/shell/html_help_interface.h"
#include "plugin/shell/identity_pane_flag.h"
#include "plugin/shell/result_view_interface.h"
#include "plugin/shell/test_kind.h"
#include "plugin/shell/utilities.h"

namespace plugin {

namespace {

constexpr const char* kSection = "Pelmo2";

constexpr int32_t kGridFramePixels = 4;

// The first grid among a page's controls, or nullptr.
const plat::ui::Grid* FirstGrid(const plat::ui::ControlHost& page) {
    for (const auto& control : page.Controls())
        if (const auto* grid = dynamic_cast<const plat::ui::Grid*>(control.get())) return grid;
    return nullptr;
}

// The window's own control object of that name as a shared pointer.
std::shared_ptr<plat::ui::ObjectControl> SharedObjectControl(plat::ui::ControlHost& host, std::string_view name) {
    return std::dynamic_pointer_cast<plat::ui::ObjectControl>(host.Controls().Shared(name));
}

}  // namespace

FTestGuide::FTestGuide()
    : Form("FTestGuide"),
      toolbar_(std::make_shared<host::XTgToolbar>()),
      contents_(std::make_shared<host::XTgContentPane>()),
      mtiData_(std::make_shared<XMTIData>()),
      xtbToolbar(AddObject("xtbToolbar", toolbar_)),
      xcpContents(AddObject("xcpContents", contents_)),
      xmdMtiData(AddObject("xmdMtiData", mtiData_)) {
    SetCaption("Test guide");
    SetInnerSize(8820, 5535);
    xtbToolbar.Move(0, 4950, 8880, host::XTgToolbar::kDesignHeight);
    xcpContents.Move(0, 0, 8895, 4935);
    xmdMtiData.Move(960, 240, 4575, 3015);
    xtbToolbar.SetTabIndex(0);
    xcpContents.SetTabIndex(1);

    OnLoad = [this] { Form_Load(); };
    OnResize = [this] { Form_Resize(); };
    OnQueryUnload = [this](bool& cancel, plat::ui::UnloadMode mode) { Form_QueryUnload(cancel, mode); };
    OnUnload = [this](bool&) { Form_Unload(); };
    toolbar_->OnButtonClick = [this](int32_t id, bool flag) { ButtonClicked(id, flag); };
    toolbar_->OnStandardChanged = [this] { StandardChanged(); };
}

FTestGuide::~FTestGuide() = default;

// ---- Operations ----------------------------------------------------------

std::shared_ptr<drv::IXVTIControl> FTestGuide::VTIControl() const {
    return mVTIControl ? mVTIControl->ObjectAs<drv::IXVTIControl>() : nullptr;
}

std::shared_ptr<IResultView> FTestGuide::ResultView() const {
    return xrvResult ? xrvResult->ObjectAs<IResultView>() : nullptr;
}

std::shared_ptr<IHtmlHelp> FTestGuide::HtmlHelp() const {
    return xhhHtmlHelp ? xhhHtmlHelp->ObjectAs<IHtmlHelp>() : nullptr;
}

void FTestGuide::UpdateToolBar() {
    ShowResultStatus();
    SetButtonStates(true);
}

void FTestGuide::CreateVTI() {
    plat::PassOver([&] {
        mVTIControl = GetOrAddVTIControl(*this);
        mVTIControl->SetVisible(false);  // the driver draws nothing
        mVTIControl->OnObjectEvent = [this](const std::string& name, std::vector<plat::Variant>& params) {
            VTIControl_ObjectEvent(name, params);
        };
    });
    if (auto control = VTIControl()) plat::PassOver([&] { control->InitVTI(); });
}

void FTestGuide::RemoveVTI() {
    // Taken out first: a driver event during the calls below may enter again.
    auto extender = std::move(mVTIControl);
    mVTIControl = nullptr;
    if (!extender) return;
    if (auto control = extender->ObjectAs<drv::IXVTIControl>()) {
        plat::PassOver([&] { control->ResetInstrument(); });
        plat::PassOver([&] { control->EndRemote(); });
    }
    plat::PassOver([&] {
        if (Controls().Shared(drv::kVTIControlName) == extender) Controls().Remove(drv::kVTIControlName);
    });
}

void FTestGuide::ShowMeasurements() {
    auto result = Result();
    int32_t count = 0;
    plat::PassOver([&] {
        if (result) count = result->MeasurementCount();
    });
    auto grid = ResultView();
    if (count > 0 && grid) {
        plat::PassOver([&] { grid->DisplayResults(result); });
        if (HasTypedReadings(TestID())) plat::PassOver([&] { grid->SetEditMode(true); });
    }
    // The status beside the readings is theirs: a probe test's grid judges
    // nothing on display, so nothing else would show an earlier run's status.
    ShowResultStatus();
}

void FTestGuide::EnableStopAndAbortButtons(bool enable) {
    plat::PassOver([&] { toolbar_->SetButtonEnabled(kStop, enable); });
    plat::PassOver([&] { toolbar_->SetButtonEnabled(kAbort, enable); });
}

void FTestGuide::InitGuide(const host::TestElementPtr& element, const std::shared_ptr<host::ITestSetup>& setup,
                           const std::shared_ptr<CMtiData2>& identity) {
    std::string title;
    plat::PassOver([&] { title = host::HostApplication().Title(); });
    SetCaption(title.empty() ? host::TranslateText(kSection, "20087::TEST GUIDE") : title);

    element_ = element;
    running_ = false;
    const int32_t testId = TestID();

    plat::PassOver([&] { contents_->Setup(element, setup); });
    plat::PassOver([&] { contents_->SetMainControl(xrvResult); });

    plat::PassOver([&] {
        if (identity && (!identity->FWVersion().empty() || !identity->SerialNo().empty()))
            mtiData_->SetMtiData(identity);
    });
    const int32_t mtiPane = AddMtiPane();
    plat::PassOver([&] { mtiData_->InitMTI(HasConfiguration(testId)); });

    InitResultView();
    ShowHelpPage();

    plat::PassOver([&] { toolbar_->Setup(7, 3); });
    if (!HasConfiguration(testId)) plat::PassOver([&] { toolbar_->SetButtonEnabled(kExpectedValues, false); });
    plat::PassOver([&] { toolbar_->Initialize(element, setup); });

    if (!HasTypedReadings(testId)) {
        auto grid = ResultView();
        bool probeRows = false;
        plat::PassOver([&] {
            auto runStandards = setup ? setup->LimitStandards() : nullptr;
            if (runStandards && runStandards->Count() == 0) {
                probeRows = true;
            } else if (auto limits = element ? element->Limits() : nullptr) {
                auto standards = limits->Standards();
                probeRows = !standards || standards->Count() == 0;
            }
        });
        if (probeRows && grid) plat::PassOver([&] { grid->InitProbeTest(); });
    }

    SetButtonStates(true);
    plat::PassOver([&] { contents_->SetWindow(*this); });
    SizeToContents();

    if (!IdentityPaneShown()) {
        plat::PassOver([&] { contents_->SelectPane(mtiPane); });
        SetIdentityPaneShown(true);
    }
}

void FTestGuide::ResetRun() {
    if (auto grid = ResultView()) plat::PassOver([&] { grid->InitTest(); });
    plat::PassOver([&] { toolbar_->SetStatus(0); });
}

void FTestGuide::CompleteRun() {
    if (!running_) return;
    SetBusy({}, false);
    if (auto grid = ResultView()) {
        plat::PassOver([&] { grid->FireTestResultsChangedEvent(); });
        plat::PassOver([&] { grid->SetEditMode(true); });
    }
    SetButtonStates(true);
}

void FTestGuide::EndRun() {
    if (HasTypedReadings(TestID()))
        if (auto grid = ResultView()) plat::PassOver([&] { grid->SetEditMode(false); });
    running_ = false;
    SetBusy({}, false);
    SetButtonStates(true);
}

std::shared_ptr<CMtiData2> FTestGuide::CurrentMtiData() const { return mtiData_->GetMtiData(); }

std::string FTestGuide::HelpFileName(int32_t testId) {
    const TestKind* kind = FindTestKind(testId);
    return kind ? std::string(kind->helpFile) : std::string();
}

// ---- Window life ---------------------------------------------------------

void FTestGuide::Form_Load() {
    plat::PassOver([&] {
        auto picture = host::HostResources().Picture(101);
        if (picture && plat::ui::HasPictureResource(picture->ResourceName()))
            SetIcon(plat::ui::LoadResPicture(picture->ResourceName()));
    });
    plat::PassOver([&] {
        xrvResult = GetOrAddControl(*this, "XResultView", "xrvResult");
        xrvResult->Move(600, 3720, 8175, 1095);
        xrvResult->SetTabIndex(2);
        xrvResult->SetVisible(true);
        xrvResult->OnObjectEvent = [this](const std::string& name, std::vector<plat::Variant>& params) {
            xrvResult_ObjectEvent(name, params);
        };
    });
    plat::PassOver([&] {
        xhhHtmlHelp = GetOrAddControl(*this, "XHtmlHelp", "xhhHtmlHelp");
        xhhHtmlHelp->Move(6840, 2040, 1935, 1335);
        xhhHtmlHelp->SetTabIndex(3);
        xhhHtmlHelp->SetVisible(true);
    });
}

void FTestGuide::Form_Resize() {
    plat::PassOver([&] {
        const int32_t h = ScaleHeight() - xtbToolbar.Height();
        if (h > 0) xcpContents.Move(0, 0, ScaleWidth(), h);
        xtbToolbar.Move(0, h, ScaleWidth(), xtbToolbar.Height());
    });
}

void FTestGuide::Form_QueryUnload(bool& cancel, plat::ui::UnloadMode mode) {
    if (mode != plat::ui::UnloadMode::ControlMenu) return;
    // The close box is Abort: the test stops its run and hides the window, and
    // unloads it once the driver's call has returned (never under a command).
    cancel = true;
    EndReadingEntry();
    AbortRun();
    if (Visible()) plat::PassOver([&] { Hide(); });
}

void FTestGuide::SizeToContents() {
    // The design's twips were drawn for a smaller font: the window opens at least wide
    // enough for every toolbar button, the whole limit selector and the grid's columns.
    plat::PassOver([&] {
        int32_t width = std::max(ScaleWidth(), toolbar_->MinimumWidth());
        const auto page = xrvResult ? xrvResult->ObjectAs<plat::ui::UserControl>() : nullptr;
        const auto* grid = page ? FirstGrid(*page) : nullptr;
        if (grid) {
            const plat::ui::TextMetrics& metrics = plat::ui::Metrics();
            const int32_t frame = kGridFramePixels * metrics.TwipsPerPixelX();
            int32_t columns = metrics.VScrollBarWidth() * metrics.TwipsPerPixelX();
            for (int32_t col = 0; col < grid->Cols(); ++col) columns += grid->ColWidth(col);
            if (columns > grid->Width() + frame) width = std::max(width, contents_->WidthForPage(columns + frame));
        }
        if (width > ScaleWidth()) SetInnerSize(width, ScaleHeight());
    });
}

void FTestGuide::Form_Unload() {
    plat::PassOver([&] { contents_->Release(*this); });
    plat::PassOver([&] { contents_->Clear(); });
    element_.reset();
    xrvResult.reset();
    xhhHtmlHelp.reset();
}

// ---- Private operations --------------------------------------------------

int32_t FTestGuide::TestID() const {
    int32_t id = 0;
    plat::PassOver([&] {
        if (element_) id = element_->TestID();
    });
    return id;
}

std::shared_ptr<host::IResultData> FTestGuide::Result() const {
    std::shared_ptr<host::IResultData> result;
    plat::PassOver([&] {
        if (element_) result = element_->Result();
    });
    return result;
}

int32_t FTestGuide::ConfigurationFlags() const {
    int32_t flags = 3;
    if (!HasConfiguration(TestID())) return flags;
    plat::PassOver([&] {
        if (auto config = std::dynamic_pointer_cast<CSpO2SimulationConfig>(element_->Configuration()))
            flags = config->EnableBtnFlags();
    });
    return flags;
}

void FTestGuide::SetButtonStates(bool enable) {
    const int32_t flags = ConfigurationFlags();
    bool hasStatus = false;
    plat::PassOver([&] {
        auto result = Result();
        hasStatus = result && result->Status() != 0;
    });
    auto set = [&](int32_t id, bool on) { plat::PassOver([&] { toolbar_->SetButtonEnabled(id, on); }); };
    set(kPrevious, enable && hasStatus);
    set(kNA, enable && (flags & 2) != 0);  // the N/A flag gates the N/A button
    set(kStop, false);  // Stop acts on a run in progress: the test enables it with Abort
    set(kAbort, !enable);
    set(kStart, enable);
    set(kReserved, enable);
    set(kNext, enable);
    set(kSkip, enable && (flags & 1) != 0);
}

void FTestGuide::Raise(const std::function<void()>& event) {
    if (!event) return;
    auto keep = weak_from_this().lock();
    auto copy = event;
    copy();
}

void FTestGuide::ButtonClicked(int32_t id, bool flag) {
    auto keep = weak_from_this().lock();
    EndReadingEntry();
    switch (id) {
    case kStop: ConfirmStop(); break;
    case kNA: Raise(OnNA); break;
    case kPrevious:
        RegSaveMtiData();
        Raise(OnPrevious);
        break;
    case kAbort: AbortRun(); break;
    case kStart: {
        bool previousPressed = false;
        plat::PassOver([&] { previousPressed = toolbar_->ButtonValue(kPrevious); });
        if (flag && running_) {
            AbortRun();
        } else if (flag && previousPressed) {
            RegSaveMtiData();
            Raise(OnPrevious);
        } else {
            RegSaveMtiData();
            StartRun();
        }
        break;
    }
    case kNext:
        RegSaveMtiData();
        Raise(OnNextTest);
        break;
    case kSkip: Raise(OnSkip); break;
    default: break;
    }
    ShowResultStatus();
}

void FTestGuide::EndReadingEntry() {
    // A reading typed without Enter is kept, or refused, as a focus move would
    // have it, while the result it belongs to is still the test's: a Start
    // that empties the result must not get it afterwards.
    auto page = xrvResult ? xrvResult->ObjectAs<plat::ui::UserControl>() : nullptr;
    if (!page) return;
    plat::PassOver([&] {
        for (const auto& control : page->Controls())
            if (auto* grid = dynamic_cast<plat::ui::Grid*>(control.get())) grid->EndEditing();
    });
}

void FTestGuide::ShowResultStatus() {
    plat::PassOver([&] {
        if (auto result = Result()) toolbar_->SetStatus(result->Status());
    });
}

void FTestGuide::RegSaveMtiData() {
    plat::PassOver([&] { mtiData_->RegSave(); });
}

void FTestGuide::StartRun() {
    SetButtonStates(false);
    plat::PassOver([&] { toolbar_->SetButtonEnabled(kAbort, false); });
    SetBusy({}, true);
    running_ = true;
    Raise(OnStartTest);
}

void FTestGuide::AbortRun() {
    plat::PassOver([&] { toolbar_->SetButtonEnabled(kAbort, false); });
    plat::PassOver([&] { toolbar_->SetButtonEnabled(kStop, false); });
    Raise(OnAbortTest);
    SetBusy({}, false);
}

void FTestGuide::ConfirmStop() {
    bool confirmed = false;
    plat::PassOver([&] { confirmed = host::HostApplication().ConfirmStop(); });
    if (confirmed) Raise(OnStopTest);
}

void FTestGuide::SetBusy(const std::string& text, bool busy) {
    if (!text.empty()) plat::PassOver([&] { toolbar_->SetStatusText(host::TranslateText(kSection, text)); });
    plat::PassOver([&] {
        toolbar_->Busy().SetVisible(busy);
        toolbar_->Busy().SetRunning(busy);
    });
}

void FTestGuide::InitResultView() {
    auto grid = ResultView();
    if (!grid) return;
    plat::PassOver([&] { grid->SetOwner(element_); });
    plat::PassOver([&] { grid->InitTest(); });
    ShowMeasurements();
    plat::PassOver([&] { grid->Refresh(); });
}

void FTestGuide::ShowHelpPage() {
    bool shown = false;
    if (auto help = HtmlHelp()) plat::PassOver([&] { shown = help->Initialize(HelpFileName(TestID())); });
    if (shown) {
        plat::PassOver([&] { contents_->SetHelpControl(xhhHtmlHelp); });
    } else if (xhhHtmlHelp) {
        // An empty viewer left at its place would cover the pages.
        plat::PassOver([&] { xhhHtmlHelp->SetVisible(false); });
    }
}

int32_t FTestGuide::AddMtiPane() {
    int32_t index = 0;
    plat::PassOver([&] {
        auto item = std::make_shared<host::CContentPaneItem>();
        item->SetStyle(255);
        item->SetBackColor(mtiData_->BackColor());
        plat::ui::Picture picture;
        plat::PassOver([&] { picture = plat::ui::LoadResPicture("PELMO2MTI1"); });
        item->SetPicture(picture);
        item->SetSelectedPicture(picture);
        item->SetCaption(host::TranslateText(kSection, "462::MTI Data"));
        index = contents_->AddPane(item, SharedObjectControl(*this, "xmdMtiData"));
    });
    return index;
}

void FTestGuide::StandardChanged() {
    auto grid = ResultView();
    if (!grid) return;
    plat::PassOver([&] {
        if (!toolbar_->HasSelectedStandard()) return;
        const auto selected = toolbar_->GetSelectedStandard();
        grid->SelectStandard(selected.name, selected.text, selected.useExpected);
    });
}

void FTestGuide::xrvResult_ObjectEvent(const std::string& name, const std::vector<plat::Variant>& params) {
    if (!HasTypedReadings(TestID()) || name != kTestResultsChangedEvent) return;
    const auto readings = EventReadings(params);
    if (!readings || !OnTestResultsChanged) return;
    auto keep = weak_from_this().lock();
    auto handler = OnTestResultsChanged;
    handler(readings->spo2, readings->bpm);
}

void FTestGuide::VTIControl_ObjectEvent(const std::string& name, const std::vector<plat::Variant>& params) {
    if (name != drv::kCommunicationErrorEvent) return;
    auto error = drv::EventError(params);  // none unless parameter 0 is an error object
    if (!error || !OnCommunicationError) return;
    auto keep = weak_from_this().lock();
    auto handler = OnCommunicationError;
    handler(error);
}

}  // namespace plugin
