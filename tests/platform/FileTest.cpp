#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "platform/Exceptions.h"
#include "platform/File.h"

namespace {

class ReadWholeFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir = std::filesystem::temp_directory_path() / ("tessaray_file_test_" + std::to_string(::getpid()));
        std::filesystem::create_directories(dir);
    }
    void TearDown() override {
        std::error_code ec;
        std::filesystem::remove_all(dir, ec);
    }
    std::string Write(const std::string& name, const std::string& bytes) {
        const std::string path = (dir / name).string();
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }
    static std::string AsString(const std::vector<BYTE>& bytes) {
        return std::string(bytes.begin(), bytes.end());
    }
    std::filesystem::path dir;
};

TEST_F(ReadWholeFileTest, GivesEveryByteOfFilesOfAnySize) {
    std::string big(200000 + 17, '\0');
    for (std::size_t i = 0; i < big.size(); ++i)
        big[i] = static_cast<char>(i * 31 % 251);
    EXPECT_EQ(AsString(ReadWholeFile(Write("big.bin", big))), big);
    EXPECT_EQ(AsString(ReadWholeFile(Write("small.txt", "0\r\nEOF\r\n"))), "0\r\nEOF\r\n");
    EXPECT_TRUE(ReadWholeFile(Write("empty", "")).empty());
}

TEST_F(ReadWholeFileTest, ReadsOnPastTheSizeAFileStates) {
    // Files of the kernel state no size and still have content.
    const std::vector<BYTE> status = ReadWholeFile("/proc/self/status");
    EXPECT_NE(AsString(status).find("VmRSS"), std::string::npos);
}

TEST_F(ReadWholeFileTest, AMissingFileThrows) {
    EXPECT_THROW(ReadWholeFile((dir / "missing.dxf").string()), CFileException);
}

}  // namespace
