#pragma once
// CResultData: the result of one test: its measurements, the operator's
// comment, the test-instrument record and the status. It turns the readings
// of a run into measurement values, has each judged against the test's
// limits and rolls their statuses up into the test's status.
//
// Saved form:
//   <ResultItem MTI="4">                 MTI only when not 0
//     <Status>1</Status>
//     <Comment>..</Comment>              only when there is a comment
//     <AllMeasurements>..</AllMeasurements>
//   </ResultItem>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "host/report.h"
#include "host/test_element.h"
#include "plugin/factory/server_lock.h"
#include "plugin/results/measurement_coll.h"
#include "plugin/factory/plugin_factory.h"

namespace plugin {

class CResultData : public plat::Object, public host::IResultData, public ITestResult {
public:
    // ITestResult
    // Binds the result to its test and empties it; comment and MTIID stay.
    void InitializeResult(const host::TestElementPtr& parent) override;
    // Stores the readings of a run, fields joined by "::": the kind's fixed
    // readings in its order (test_kind.h), or for the resistance test one
    // "PIN<a>_TO_PIN<b>=<kOhm>" per pin pair. A field that is empty or
    // missing leaves its measurement without a value (not evaluated). Every
    // measurement is judged against the
    // test's limits and the run's standards; the status is 2 when one failed
    // or when passed ones stand beside unjudged ones, 1 when all passed, 0
    // when none was judged or there are no measurements. An empty text
    // changes nothing but the measurement list.
    void StoreResult(const std::string& resultText, const std::shared_ptr<host::ITestSetup>& setup) override;
    // The same from the fields, one reading each.
    void StoreReadings(const std::vector<std::string>& fields, const std::shared_ptr<host::ITestSetup>& setup) override;
    // The collection itself (the results grid reads it, the test clears it).
    std::shared_ptr<CMeasurementColl> Measurements() const override { return measurements_; }
    void ClearMeasurements() override {
        if (measurements_) measurements_->Clear();
    }
    void SetStatus(int32_t status) override { status_ = status; }
    void SetMTIID(int32_t id) override { mtiid_ = id; }

    // IResultData
    std::string Comment() const override { return comment_; }
    void SetComment(const std::string& comment) override { comment_ = comment; }
    bool HasDialog() const override { return !comment_.empty(); }
    int32_t Status() const override { return status_; }
    std::shared_ptr<host::IMeasurement> Measurement(const plat::Variant& index) const override;
    int32_t MeasurementCount() const override { return measurements_ ? measurements_->Count() : 0; }
    plat::ObjectPtr ServiceRecord() const override { return nullptr; }
    int32_t MTIID() const override { return mtiid_; }
    // The element setup dialog holding the detailed-result page, which shows
    // this result; none when the dialog or its page cannot be made.
    std::shared_ptr<host::IDialog> CreateDialog() override;
    // Reads a "ResultItem": what it does not carry keeps its value; the status
    // is taken as stored (0 when it is none of 0..3).
    void Load(const host::IXmlElement& element, const std::shared_ptr<host::ILoadContext>& context) override;
    host::XmlElementPtr Save(host::IXmlDocument& document) const override;
    // One table of the judged measurements, with the limit columns of the
    // test's own limits; nothing when no measurement was judged.
    void PrintReport(const std::shared_ptr<host::IReport>& report, const plat::Variant& second) override;

    // The column format and header of the result table.
    struct ReportLayout {
        std::string format, header;
    };
    ReportLayout GetReportLayout(host::IReport& report) const;
    std::string GetReportRows(const std::shared_ptr<host::IReport>& report) const;

private:
    void BuildMeasurementList();
    void AddMeasurement(const std::string& key, bool wholeNumbers, const plat::Variant& preset);
    void AddPinPairMeasurements(const host::ITestElement& parent);
    int32_t ParentTestID() const;

    ServerLock lock_;
    std::weak_ptr<host::ITestElement> parent_;
    std::string comment_;
    std::shared_ptr<CMeasurementColl> measurements_;
    int32_t mtiid_ = 0;
    int32_t status_ = 0;
};

}  // namespace plugin
