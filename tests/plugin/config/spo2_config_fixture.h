#pragma once
// A sandboxed make folder for SpO2 configuration tests, a scripted save-make
// dialog, and element-tree round trips through the host's XML text.

#include <gtest/gtest.h>

#include <deque>
#include <filesystem>
#include <map>
#include <memory>
#include <string>

#include "host/xml.h"
#include "platform/com/fs.h"
#include "plugin/config/save_make_dialog_maker.h"
#include "plugin/config/spo2_simulation_config.h"
#include "tests/makes/make_fixture.h"

namespace plugin_test {

// Answers the save-make dialog as scripted; with nothing scripted it is
// cancelled (and the test fails on the unexpected dialog).
class ScriptedSaveMakeDialog : public plugin::ISaveMakeDialog {
public:
    struct Answer {
        bool accept;
        std::string name, file;
    };
    struct Shown {
        std::string name, file;
        int32_t listed;
    };
    std::deque<Answer> answers;
    std::vector<Shown> shown;

    void Initialize(const makes::MakeListPtr& allMakes, const std::string& makeName,
                    const std::string& fileName) override {
        shown.push_back({makeName, fileName, allMakes ? allMakes->Count() : -1});
    }
    void ShowModal() override {
        if (answers.empty()) {
            ADD_FAILURE() << "save-make dialog shown unexpectedly";
            response_ = kRefused;
            return;
        }
        Answer a = answers.front();
        answers.pop_front();
        response_ = a.accept ? kAccepted : kRefused;
        name_ = a.name;
        file_ = a.file;
    }
    int32_t Response() const override { return response_; }
    std::string OximeterName() const override { return name_; }
    std::string Filename() const override { return file_; }
    void Unload() override {}

private:
    int32_t response_ = 0;
    std::string name_, file_;
};

class Spo2ConfigTest : public makes_test::MakeFolderTest {
protected:
    void SetUp() override {
        MakeFolderTest::SetUp();
        std::filesystem::create_directories(folder_);
        dialog_ = std::make_shared<ScriptedSaveMakeDialog>();
        previous_ = plugin::SetSaveMakeDialogMaker([d = dialog_] { return d; });
    }
    void TearDown() override {
        plugin::SetSaveMakeDialogMaker(previous_);
        EXPECT_TRUE(dialog_->answers.empty()) << "save-make dialog answers left";
        MakeFolderTest::TearDown();
    }

    // A make file of a full make in the make folder; returns the make written.
    makes::OximeterMakePtr PutMake(const std::string& name, const std::string& file) {
        auto make = makes_test::FullMake(name);
        make->SetFile(file);
        EXPECT_TRUE(makes::SaveMakesFile(make, file, makes::kRegistryKey)) << file;
        return make;
    }

    // Every entry of the make folder's parent (the test's root) with its bytes.
    std::map<std::string, std::string> Snapshot() const {
        std::map<std::string, std::string> files;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(root_)) {
            if (!entry.is_regular_file()) continue;
            std::string bytes;
            plat::fs::ReadFile(entry.path().string(), bytes);
            files[entry.path().string()] = bytes;
        }
        return files;
    }

    // Saves the configuration into a document, writes it as text, parses the
    // text again and loads it into `target` (a new configuration by default).
    static std::shared_ptr<plugin::CSpO2SimulationConfig> RoundTrip(
        const plugin::CSpO2SimulationConfig& source,
        std::shared_ptr<plugin::CSpO2SimulationConfig> target = nullptr) {
        if (!target) target = std::make_shared<plugin::CSpO2SimulationConfig>();
        LoadXml(*target, SaveXml(source));
        return target;
    }
    static std::string SaveXml(const plugin::CSpO2SimulationConfig& source) {
        auto doc = host::XmlFactory().NewDocument();
        doc->AppendChild(source.Save(*doc));
        return doc->Xml();
    }
    static void LoadXml(plugin::CSpO2SimulationConfig& target, const std::string& xml) {
        auto doc = host::XmlFactory().NewDocument();
        doc->LoadXml(xml);
        target.Load(*doc->DocumentElement(), {});
    }

    std::shared_ptr<ScriptedSaveMakeDialog> dialog_;
    plugin::SaveMakeDialogMaker previous_;
};

}  // namespace plugin_test
