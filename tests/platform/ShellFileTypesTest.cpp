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

TEST_F(ShellFileTypes, TheEntryOffersPrintingAndTheEntryAndTheTypeShowTheIconUntilUnregistered) {
    type.printAction = "印刷";
    type.iconSvg = "<?xml version=\"1.0\"?>\n<svg xmlns=\"http://www.w3.org/2000/svg\"/>\n";
    ASSERT_TRUE(RegisterShellFileTypes(type));
    const std::string entry = Read(fs::path(dir) / "applications" / "tessaray.desktop");
    EXPECT_NE(entry.find("Icon=tessaray\n"), std::string::npos);
    EXPECT_NE(entry.find("Actions=Print;\n"), std::string::npos);
    // Keys of the main group come before the first action group.
    EXPECT_LT(entry.find("X-FileTypeId="), entry.find("[Desktop Action Print]"));
    EXPECT_NE(entry.find("[Desktop Action Print]\nName=印刷\n"
                         "Exec=\"/opt/my apps/te\\\\$\\\\$aray 100%%/tessaray\" -p %f\n"),
              std::string::npos)
        << entry;
    EXPECT_NE(Read(fs::path(dir) / "mime" / "packages" / "tessaray.xml")
                  .find("<icon name=\"application-x-tessaray-document\"/>"),
              std::string::npos);
    const fs::path appIcon = fs::path(dir) / "icons" / "hicolor" / "scalable" / "apps" / "tessaray.svg";
    const fs::path typeIcon = fs::path(dir) / "icons" / "hicolor" / "scalable" / "mimetypes" /
                              "application-x-tessaray-document.svg";
    // The declaration stays first; the mark that makes the file ours follows it.
    EXPECT_EQ(Read(appIcon),
              "<?xml version=\"1.0\"?>\n<!-- Tessaray.Document -->\n"
              "<svg xmlns=\"http://www.w3.org/2000/svg\"/>\n");
    EXPECT_EQ(Read(typeIcon), Read(appIcon));

    // Another program's icon of the same name stays; ours goes.
    { std::ofstream(appIcon, std::ios::binary) << "<svg/>"; }
    EXPECT_TRUE(UnregisterShellFileTypes(type));
    EXPECT_TRUE(fs::exists(appIcon));
    EXPECT_FALSE(fs::exists(typeIcon));
    EXPECT_FALSE(fs::exists(fs::path(dir) / "applications" / "tessaray.desktop"));
}

TEST_F(ShellFileTypes, WithoutIconOrActionTheEntryNamesNeither) {
    const std::string entry = DesktopEntryText(type);
    EXPECT_EQ(entry.find("Icon="), std::string::npos);
    EXPECT_EQ(entry.find("Action"), std::string::npos);
    EXPECT_EQ(MimePackageText(type).find("<icon"), std::string::npos);
    type.iconSvg = "<svg/>";
    EXPECT_EQ(IconText(type), "<!-- Tessaray.Document -->\n<svg/>");
}
