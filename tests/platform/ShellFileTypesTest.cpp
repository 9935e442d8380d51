// Registering the drawing type with the desktop: the files written into the user's data folder,
// rewritten only when out of date, and removed on unregistering only when they are ours.
#include "platform/ShellFileTypes.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "tests/support/TestSupport.h"

namespace {

namespace fs = std::filesystem;

std::string Read(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

class ShellFileTypes : public ::testing::Test {
protected:
    void SetUp() override {
        const char* old = std::getenv("XDG_DATA_HOME");
        if (old) m_saved = old, m_hadValue = true;
        dir = MakeTempDir("shell_file_types");
        setenv("XDG_DATA_HOME", dir.c_str(), 1);
        type.typeId = "Tessaray.Document";
        type.fileName = "tessaray";
        type.appName = "Tessaray";
        type.description = "Tessaray Document";
        type.mimeType = "application/x-tessaray-document";
        type.extension = ".qfd";
        type.magic = "$$TessarayText$$";
        type.command = "/opt/my apps/te$$aray 100%/tessaray";
    }
    void TearDown() override {
        if (m_hadValue)
            setenv("XDG_DATA_HOME", m_saved.c_str(), 1);
        else
            unsetenv("XDG_DATA_HOME");
    }

    std::string dir;
    ShellFileType type;

private:
    std::string m_saved;
    bool m_hadValue = false;
};

}  // namespace

TEST_F(ShellFileTypes, RegisteringWritesTheTypeAndTheEntryOnceAndUnregisteringRemovesOnlyOurs) {
    ASSERT_EQ(UserDataHome(), dir);
    const fs::path entry = fs::path(dir) / "applications" / "tessaray.desktop";
    const fs::path mime = fs::path(dir) / "mime" / "packages" / "tessaray.xml";
    ASSERT_TRUE(RegisterShellFileTypes(type));
    const std::string entryText = Read(entry);
    EXPECT_NE(entryText.find("MimeType=application/x-tessaray-document;\n"), std::string::npos);
    // Quoted, with the reserved characters escaped twice over and the percent sign doubled.
    EXPECT_NE(entryText.find("Exec=\"/opt/my apps/te\\\\$\\\\$aray 100%%/tessaray\" %f\n"), std::string::npos)
        << entryText;
    const std::string mimeText = Read(mime);
    EXPECT_NE(mimeText.find("<glob pattern=\"*.qfd\"/>"), std::string::npos);
    EXPECT_NE(mimeText.find("value=\"$$TessarayText$$\""), std::string::npos);

    // Registering again leaves current files alone; an outdated one is replaced.
    const auto written = fs::last_write_time(entry);
    { std::ofstream(mime, std::ios::binary) << "<!-- Tessaray.Document --> old"; }
    ASSERT_TRUE(RegisterShellFileTypes(type));
    EXPECT_EQ(fs::last_write_time(entry), written);
    EXPECT_EQ(Read(mime), mimeText);

    // Unregistering keeps a file of the same name that is not ours.
    { std::ofstream(entry, std::ios::binary) << "[Desktop Entry]\nName=Another program\n"; }
    EXPECT_TRUE(UnregisterShellFileTypes(type));
    EXPECT_TRUE(fs::exists(entry));
    EXPECT_FALSE(fs::exists(mime));
}
