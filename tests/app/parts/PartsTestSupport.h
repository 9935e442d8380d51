// A started program with its parts bar, parts files in a folder of the test's own, and the file
// dialog answered by the test.
#pragma once

#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "app/FilePrompt.h"
#include "document/parts/CadParts.h"
#include "document/parts/CadPartsList.h"
#include "model/shapes/lines/LineShape.h"
#include "platform/ui/DialogRunner.h"
#include "resources/ResourceIds.h"
#include "tests/app/AppTestSupport.h"
#include "view/TessarayView.h"

class PartsBarProgram : public StartedProgram {
protected:
    void SetUp() override {
        StartedProgram::SetUp();
        dir = MakeTempDir(::testing::UnitTest::GetInstance()->current_test_info()->name());
    }
    void TearDown() override {
        SetFilePromptHandler({});
        StartedProgram::TearDown();
    }

    MPartsDialogBar& Bar() { return Frame()->GetPartsBar(); }
    std::string PathOf(const std::string& file) const { return (std::filesystem::path(dir) / file).string(); }

    // A part of one line from (0, 0) to (length, length / 2).
    std::unique_ptr<MCadParts> Part(const std::string& name, double length = 40) {
        return std::make_unique<MCadParts>(Frame()->GetView(), name,
                                           new MLineShape({0, 0}, {length, length / 2}), 1, 1.0);
    }
    // A parts file holding parts of those names.
    std::string WriteList(const std::string& file, const std::string& name,
                          std::vector<std::string> parts = {}) {
        MCadPartsList list(name);
        list.m_path = PathOf(file);
        for (const std::string& part : parts)
            list.Add(Part(part).release());
        EXPECT_TRUE(SavePartsListFile(list));
        return list.m_path;
    }
    static std::string FileText(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }
    // The names of the parts in a file, as it reads back.
    static std::vector<std::string> PartNames(const std::string& path) {
        MCadPartsList list;
        LoadPartsListFile(list, path);
        std::vector<std::string> names{list.GetName()};
        for (int i = 0; i < list.GetSize(); ++i)
            names.push_back(list.GetAt(i)->m_name);
        return names;
    }
    std::vector<std::string> Tabs() {
        std::vector<std::string> tabs;
        for (int i = 0; i < Bar().GetTabCtrl().GetItemCount(); ++i)
            tabs.push_back(Bar().GetTabCtrl().GetItemText(i));
        return tabs;
    }
    // Each file dialog gets the next answer; nullopt cancels.
    void AnswerFiles(std::vector<std::optional<std::vector<std::string>>> answers) {
        m_answers = std::move(answers);
        SetFilePromptHandler([this](FileDialogState& dialog) {
            shown.push_back(dialog);
            if (m_answers.empty() || !m_answers.front()) {
                if (!m_answers.empty()) m_answers.erase(m_answers.begin());
                return false;
            }
            dialog.paths = *m_answers.front();
            dialog.path = dialog.paths.front();
            m_answers.erase(m_answers.begin());
            return true;
        });
    }
    void AnswerFile(const std::string& path) { AnswerFiles({std::vector<std::string>{path}}); }
    // Loads the files as the profile names them.
    void LoadFromProfile(const std::vector<std::pair<std::string, std::string>>& values) {
        for (const auto& [entry, path] : values)
            AfxGetProfile().WriteProfileString("Parts\\path", entry, path);
        Frame()->LoadPartsLists();
    }
    // What the frame's menu item shows: enabled, and the check (-1: not set).
    std::pair<bool, int> ItemState(UINT command) { return CommandItemState(Frame(), command); }
    void Command(UINT id) { Frame()->SendCommand(id); }

    std::string dir;
    std::vector<FileDialogState> shown;
    DialogRunner dialogs;

private:
    std::vector<std::optional<std::vector<std::string>>> m_answers;
};
