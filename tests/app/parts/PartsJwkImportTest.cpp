// JW_CAD parts files taken into the current parts list.
#include <gtest/gtest.h>

#include <fstream>

#include "tests/app/parts/PartsTestSupport.h"
#include "tests/interchange/JwcTestSupport.h"

namespace {

using namespace jwtest;

constexpr UINT kPenDialog = 261;

class PartsJwkImport : public PartsBarProgram {
protected:
    std::string WriteJwk(const std::string& file, bool damaged = false) {
        std::string bytes = "jw_cad(c)sym........";
        bytes.resize(200, ' ');
        bytes += Block("1,0") + LineRecord(0, 0, 10, 0, 1, 2, 0);
        if (damaged) bytes.resize(bytes.size() - 7);
        std::ofstream(PathOf(file), std::ios::binary) << bytes;
        return PathOf(file);
    }
};

}  // namespace

TEST_F(PartsJwkImport, ThreeFilesWithOneDamagedGiveTwoPartsAndOneMessage) {
    LoadFromProfile({{"0", WriteList("a.qfp", "A")}});
    AnswerFiles(
        {std::vector<std::string>{WriteJwk("bolt.jwk"), WriteJwk("broken.jwk", true), WriteJwk("nut.jwk")}});
    dialogs.Script(kPenDialog, DialogScript().Ok());
    MessageBoxRecorder messages;
    Command(ID_FILE_READ_JWK);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_TRUE(shown[0].multiSelect);
    EXPECT_EQ(PartNames(PathOf("a.qfp")), (std::vector<std::string>{"A", "bolt", "nut"}));
    ASSERT_EQ(messages.Messages().size(), 1u);
    EXPECT_TRUE(messages.Saw(IDS_CANNOT_OPEN_FILE));
}

TEST_F(PartsJwkImport, WithoutAListTheFileIsAskedForOnceAndCancellingReadsNothing) {
    AnswerFiles({std::vector<std::string>{WriteJwk("bolt.jwk"), WriteJwk("nut.jwk")}, std::nullopt});
    dialogs.Script(kPenDialog, DialogScript().Ok());
    MessageBoxRecorder messages;
    Command(ID_FILE_READ_JWK);
    EXPECT_EQ(shown.size(), 2u);
    EXPECT_TRUE(messages.Messages().empty());
    EXPECT_EQ(Bar().GetListCount(), 0);

    AnswerFiles({std::vector<std::string>{WriteJwk("bolt.jwk"), WriteJwk("nut.jwk")},
                 std::vector<std::string>{PathOf("new.qfp")}});
    dialogs.Script(kPenDialog, DialogScript().Ok());
    dialogs.Script(IDD_PARTS_LIST_NAME, DialogScript().Ok());
    Command(ID_FILE_READ_JWK);
    EXPECT_EQ(shown.size(), 4u);
    EXPECT_EQ(PartNames(PathOf("new.qfp")), (std::vector<std::string>{"new", "bolt", "nut"}));
}
