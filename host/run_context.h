#pragma once
// The host's run context of a test sequence, its test-instrument record list
// and its load context: the objects the host hands to Perform and Load.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "host/test_element.h"

namespace host {

class CMtiRecordList : public plat::Object, public IMtiRecordList {
public:
    int32_t Count() const override { return static_cast<int32_t>(records_.size()); }
    std::shared_ptr<CMtiRecord> Item(int32_t index) const override {
        if (index < 1 || index > Count()) return nullptr;
        return records_[static_cast<size_t>(index - 1)];
    }
    void Add(std::shared_ptr<CMtiRecord> record) override {
        if (record) records_.push_back(std::move(record));
    }
private:
    std::vector<std::shared_ptr<CMtiRecord>> records_;
};

// A run: may-run follows the element's filter; element-done records the
// element. The record does not keep the element alive: an element keeps its
// last run context, so a strong record would hold both forever.
class CTestSetup : public plat::Object, public ITestSetup {
public:
    CTestSetup() : records_(std::make_shared<CMtiRecordList>()) {}

    int32_t StepCode() const override { return stepCode_; }
    void SetStepCode(int32_t code) override { stepCode_ = code; }
    std::shared_ptr<IMtiRecordList> MtiRecords() const override { return records_; }
    std::shared_ptr<ILimitStandards> LimitStandards() const override { return standards_; }
    void SetLimitStandards(std::shared_ptr<ILimitStandards> standards) { standards_ = std::move(standards); }
    bool MayRun(const TestElementPtr& element) override {
        return element && (!element->Filter() || element->Filter()->Selected());
    }
    void ElementDone(const TestElementPtr& element) override { done_.push_back(element); }
    // The elements that reported done, in order (nullptr for one gone since).
    std::vector<TestElementPtr> Done() const {
        std::vector<TestElementPtr> done;
        for (const auto& element : done_) done.push_back(element.lock());
        return done;
    }

private:
    int32_t stepCode_ = 0;
    std::shared_ptr<CMtiRecordList> records_;
    std::shared_ptr<ILimitStandards> standards_;
    std::vector<std::weak_ptr<ITestElement>> done_;
};

// Entered by a plug-in around reading its data; entries nest.
class CLoadContext : public plat::Object, public ILoadContext {
public:
    struct Entry {
        std::string plugInId;
        std::string version;
        int32_t cookie;
    };
    int32_t Enter(const std::string& plugInId, const std::string& version) override {
        entries_.push_back(Entry{plugInId, version, ++lastCookie_});
        return lastCookie_;
    }
    // Leaves the entry of that cookie and every entry made inside it.
    void Leave(int32_t cookie) override {
        for (size_t i = entries_.size(); i-- > 0;)
            if (entries_[i].cookie == cookie) {
                entries_.resize(i);
                return;
            }
    }
    const std::vector<Entry>& Entries() const { return entries_; }
private:
    std::vector<Entry> entries_;
    int32_t lastCookie_ = 0;
};

}  // namespace host
