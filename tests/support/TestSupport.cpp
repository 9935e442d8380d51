#include "tests/support/TestSupport.h"

#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <string>

#include "platform/File.h"
#include "platform/ui/CmdUI.h"

MessageBoxRecorder::MessageBoxRecorder(int answer)
    : m_answer(answer), m_override(AfxMessageBoxSlot(), [this](const std::string& text, UINT type) {
          m_messages.push_back({text, type});
          return m_answer;
      }) {}

bool MessageBoxRecorder::Saw(UINT stringId) const {
    const std::string text = AfxLoadString(stringId);
    for (const auto& m : m_messages)
        if (m.text == text) return true;
    return false;
}

void ResetProgramState() {
    AfxResetProgramState();
}

std::string TestDataDir() {
    std::error_code ec;
    return std::filesystem::is_directory(TESSARAY_TESTDATA_DIR, ec) ? std::string(TESSARAY_TESTDATA_DIR)
                                                                    : std::string();
}

std::string TestDataFile(const std::string& relative) {
    const std::string dir = TestDataDir();
    if (dir.empty()) return {};
    const std::string path = dir + "/" + relative;
    return FileExists(path) ? path : std::string();
}

std::vector<std::string> TestDataFiles(const std::string& folder, const std::string& extension) {
    std::vector<std::string> files;
    const std::string dir = TestDataDir();
    if (dir.empty() || !std::filesystem::is_directory(dir + "/" + folder)) return files;
    const auto lower = [](std::string s) {
        std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return std::tolower(c); });
        return s;
    };
    for (const auto& entry : std::filesystem::directory_iterator(dir + "/" + folder))
        if (lower(entry.path().extension().string()) == "." + lower(extension))
            files.push_back(entry.path().string());
    std::sort(files.begin(), files.end());
    return files;
}

std::string MakeTempDir(const std::string& name) {
    namespace fs = std::filesystem;
    // CTest runs each test in its own process, in parallel: tests sharing a fixture must not share
    // (and remove) each other's directory.
    const fs::path dir =
        fs::path(TESSARAY_BINARY_DIR) / "test-output" / (name + "-" + std::to_string(::getpid()));
    std::error_code ec;
    fs::remove_all(dir, ec);
    fs::create_directories(dir);
    return dir.string();
}

std::pair<bool, int> CommandItemState(CCmdTarget* target, UINT command) {
    struct Probe : CCmdUI {
        void Enable(BOOL on) override {
            enabled = on;
            m_bEnableChanged = TRUE;
        }
        void SetCheck(int check) override { checked = check; }
        bool enabled = false;
        int checked = -1;
    } probe;
    probe.m_nID = command;
    probe.DoUpdate(target, TRUE);
    return {probe.enabled, probe.checked};
}
