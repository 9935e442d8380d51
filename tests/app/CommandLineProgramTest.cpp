// The built program printing every sample from the command line ends by itself, with the PDF or with a
// failing status and no file, whatever the reading asks.
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
    UINT message = 0;  // one standard error must show
};

using CommandLineProgram = ShellStart;

TEST_F(CommandLineProgram, PrintingEverySampleEndsByItselfWithAPdfOrAFailingStatus) {
    std::vector<Sample> samples = {
        {WriteCross("plan.qfd"), Outcome::Prints},
        // Any drawing exchange file asks for its paper and whether to scale it automatically.
        {dir + "/line.dxf", Outcome::Prints, IDS_DXF_AUTO_SCALE},
        {dir + "/missing.dxf", Outcome::Fails, IDS_CANNOT_OPEN_FILE},
    };
    dxftest::WriteFileBytes(samples[1].path,
                            dxftest::Dxf("0|SECTION|2|ENTITIES|0|LINE|8|0|10|0|20|0|11|20000|21|"
                                         "15000|0|ENDSEC|0|EOF"));
    std::error_code ec;
    for (const char* corpus :
         {"dxf_reader", "jwc_reader", "xdf_reader", "native_reader", "native_view_reader"})
        for (const auto& entry :
             fs::directory_iterator(std::string(TESSARAY_SOURCE_DIR) + "/fuzz/corpus/" + corpus, ec))
            if (entry.is_regular_file()) samples.push_back({entry.path().string(), Outcome::Either});
    for (const std::string& file : TestDataFiles("dxf", "dxf"))
        samples.push_back({file, Outcome::Either});

    const std::vector<std::string> env = ProgramEnvironment();
    const std::string err = dir + "/stderr.txt";
    const auto run = [&](std::vector<std::string> args) {
        // A hang is killed after two minutes; the samples after it would only hang as well.
        const int status = RunProgram(args, env, std::chrono::seconds(120), err);
        EXPECT_NE(status, -1) << "killed: the print waited for somebody";
        return status;
    };
    for (std::size_t i = 0; i < samples.size(); ++i) {
        const Sample& sample = samples[i];
        SCOPED_TRACE(sample.path);
        const std::string pdf = dir + "/out" + std::to_string(i) + ".pdf";
        const int status = run({TESSARAY_PROGRAM, "-pt", sample.path, pdf});
        if (status == -1) return;
        const std::string messages = ReadFile(err);
        if (status == 0) {
            EXPECT_EQ(ReadFile(pdf).substr(0, 4), "%PDF");
        } else {
            EXPECT_EQ(status, 1);
            EXPECT_FALSE(fs::exists(pdf));
            EXPECT_FALSE(messages.empty());
        }
        if (sample.outcome != Outcome::Either) {
            EXPECT_EQ(status, sample.outcome == Outcome::Prints ? 0 : 1) << messages;
        }
        if (sample.message) {
            EXPECT_NE(messages.find(AfxLoadString(sample.message)), std::string::npos) << messages;
        }
    }
    // Printing on the application's printer (a PDF beside the drawing here) fails the same way.
    EXPECT_EQ(run({TESSARAY_PROGRAM, "-p", dir + "/missing.dxf"}), 1);
    EXPECT_NE(ReadFile(err).find(AfxLoadString(IDS_CANNOT_OPEN_FILE)), std::string::npos);
    EXPECT_FALSE(fs::exists(dir + "/missing.pdf"));
}

}  // namespace
