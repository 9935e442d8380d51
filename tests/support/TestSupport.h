// Helpers shared by the test programs.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "platform/ProgramState.h"
#include "platform/Strings.h"

// Records message boxes instead of showing them, and answers with a chosen button.
class MessageBoxRecorder {
public:
    explicit MessageBoxRecorder(int answer = IDOK);
    MessageBoxRecorder(const MessageBoxRecorder&) = delete;
    MessageBoxRecorder& operator=(const MessageBoxRecorder&) = delete;

    struct Entry {
        std::string text;
        UINT type;
    };
    const std::vector<Entry>& Messages() const { return m_messages; }
    bool Saw(UINT stringId) const;
    void SetAnswer(int answer) { m_answer = answer; }

private:
    std::vector<Entry> m_messages;
    int m_answer;
    CProgramSlot<MessageBoxHandler>::Override m_override;
};

// Every program-wide object back to its default: options, drawing attributes, paper defaults,
// dimension formats, installed services and hooks. Fixtures call it first.
void ResetProgramState();

// The folder of files from other programs; empty when it is absent (tests then skip).
std::string TestDataDir();
// Path of a file under the test data folder, or empty when the folder or file is absent.
std::string TestDataFile(const std::string& relative);
// The files with the extension (any case, without the dot) in a folder of the test data, sorted;
// none when the folder is absent.
std::vector<std::string> TestDataFiles(const std::string& folder, const std::string& extension);
// A fresh empty directory under the build tree for one test.
std::string MakeTempDir(const std::string& name);

class CCmdTarget;
// What the menu item of a command shows, as target's update handlers decide: enabled, and the
// check state (-1 when no handler sets one).
std::pair<bool, int> CommandItemState(CCmdTarget* target, UINT command);

#define SKIP_WITHOUT_TESTDATA(path)                                                             \
    do {                                                                                        \
        if ((path).empty()) GTEST_SKIP() << "test data not found under " TESSARAY_TESTDATA_DIR; \
    } while (0)
