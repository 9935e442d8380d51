// The built program printing every sample drawing from the command line: with nobody there it must
// end by itself, with the PDF or with a failing status and no file, whatever the reading asks.
#include <gtest/gtest.h>

#include "platform/Strings.h"
#include "resources/ResourceIds.h"
#include "tests/app/ShellTestSupport.h"
#include "tests/interchange/DxfTestSupport.h"

namespace {

namespace fs = std::filesystem;

enum class Outcome { Prints, Fails, Either };

struct Sample {
    std::string path;
    Outcome outcome;
    // A message standard error must show (0: none in particular).
    UINT message = 0;
};

std::vector<std::string> FilesIn(const std::string& folder) {
    std::vector<std::string> files;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(folder, ec))
        if (entry.is_regular_file()) files.push_back(entry.path().string());
    std::sort(files.begin(), files.end());
    return files;
}

using CommandLineProgram = ShellStart;

TEST_F(CommandLineProgram, PrintingEverySampleEndsByItselfWithAPdfOrAFailingStatus) {
    std::vector<Sample> samples = {
        {WriteCross("plan.qfd"), Outcome::Prints},
        // Any drawing exchange file asks for its paper and whether to scale it automatically.
        {dir + "/line.dxf", Outcome::Prints, IDS_DXF_AUTO_SCALE},
        {dir + "/missing.dxf", Outcome::Fails, IDS_CANNOT_OPEN_FILE},
        {dir + "/not-a-drawing.dxf", Outcome::Fails, IDS_CANNOT_OPEN_FILE},
        {dir + "/not-a-drawing.jwc", Outcome::Fails},
    };
    dxftest::WriteFileBytes(samples[1].path,
                            dxftest::Dxf("0|SECTION|2|ENTITIES|0|LINE|8|0|10|0|20|0|11|20000|21|"
                                         "15000|0|ENDSEC|0|EOF"));
    dxftest::WriteFileBytes(samples[3].path, "This is no drawing.\n");
    dxftest::WriteFileBytes(samples[4].path, "This is no drawing.\n");
    for (const char* corpus :
         {"dxf_reader", "jwc_reader", "xdf_reader", "native_reader", "native_view_reader"})
        for (const std::string& file : FilesIn(std::string(TESSARAY_SOURCE_DIR) + "/fuzz/corpus/" + corpus))
            samples.push_back({file, Outcome::Either});
    for (const std::string& file : TestDataFiles("dxf", "dxf"))
        samples.push_back({file, Outcome::Either});

    const std::vector<std::string> env = ProgramEnvironment();
    const std::string err = dir + "/stderr.txt";
    for (std::size_t i = 0; i < samples.size(); ++i) {
        const Sample& sample = samples[i];
        SCOPED_TRACE(sample.path);
        const std::string pdf = dir + "/out" + std::to_string(i) + ".pdf";
        // A hang is killed after two minutes; the samples after it would only hang as well.
        const int status = RunProgram({TESSARAY_PROGRAM, "-pt", sample.path, pdf}, env,
                                      std::chrono::seconds(120), err);
        ASSERT_NE(status, -1) << "killed: the print waited for somebody";
        const std::string messages = ReadFile(err);
        if (status == 0) {
            EXPECT_EQ(ReadFile(pdf).substr(0, 4), "%PDF");
        } else {
            EXPECT_EQ(status, 1);
            EXPECT_FALSE(fs::exists(pdf));
            EXPECT_FALSE(messages.empty());
        }
        if (sample.outcome == Outcome::Prints) {
            EXPECT_EQ(status, 0) << messages;
        } else if (sample.outcome == Outcome::Fails) {
            EXPECT_EQ(status, 1);
        }
        if (sample.message) {
            EXPECT_NE(messages.find(AfxLoadString(sample.message)), std::string::npos) << messages;
        }
    }
    // Printing on the application's printer (a PDF beside the drawing here) fails the same way.
    const int status = RunProgram({TESSARAY_PROGRAM, "-p", dir + "/missing.dxf"}, env,
                                  std::chrono::seconds(120), err);
    EXPECT_EQ(status, 1);
    EXPECT_NE(ReadFile(err).find(AfxLoadString(IDS_CANNOT_OPEN_FILE)), std::string::npos);
    EXPECT_FALSE(fs::exists(dir + "/missing.pdf"));
}

}  // namespace
