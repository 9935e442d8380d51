// The one reset reaches every program-wide object of every layer, so that no test inherits what
// another left behind.
#include <gtest/gtest.h>

#include "document/Interchange.h"
#include "document/PaperSettings.h"
#include "document/TessarayDoc.h"
#include "document/ToolSettings.h"
#include "interchange/DxfImportUi.h"
#include "interchange/XdfReader.h"
#include "model/render/DrawFlags.h"
#include "model/settings/OptionRecord.h"
#include "model/shapes/CadShape.h"
#include "model/shapes/ShapeDialogs.h"
#include "model/shapes/dimension/SizeFormatInfo.h"
#include "model/shapes/dimension/SizeStyle.h"
#include "platform/Profile.h"
#include "platform/Strings.h"
#include "tests/support/TestSupport.h"
#include "view/TessarayView.h"

namespace {

struct NoInterchange : MInterchangeFactory {
    std::unique_ptr<MDocumentReader> CreateReader(MInterchangeFormat, MTessarayDoc&) override { return {}; }
    std::unique_ptr<MDocumentWriter> CreateWriter(MInterchangeFormat, MTessarayDoc&) override { return {}; }
};

}  // namespace

TEST(ProgramStateReset, EveryProgramWideObjectReturnsToItsStart) {
    ResetProgramState();
    const MDefaultPaper paper = GetDefaultPaper();
    const std::string format = GetCurrentSizeFormat(0).m_name;

    GetOptionRecord().m_undoCount = 3;
    GetDrawAttributes().lineColor = RGB(1, 2, 3);
    GetCoordinateEntry().distance = 5.0;
    AngleDialogAngle() = 12.0;
    GetDefaultPaper().scale = 7.0;
    SetCurrentSizeFormat(0, MSizeFormatInfo("x", "", "", 1.0, FALSE, FALSE, MSizeFormatInfo::kUserFormat));
    GetDefaultSizeStyle().m_textHeight = 9.0;
    MShapeDialogFactory dialogs;
    SetShapeDialogFactory(&dialogs);
    NoInterchange interchange;
    SetInterchangeFactory(&interchange);
    AfxGetProfile().WriteProfileInt("SECTION", "VALUE", 1);
    AfxSetMessageBoxHandler([](const std::string&, UINT) { return IDYES; });
    SnapSuspended() = 1;
    PrintBlackWhite() = 1;
    SetImported(1);
    SetMetafileDrawing(true);

    ResetProgramState();

    EXPECT_EQ(GetOptionRecord().m_undoCount, MOptionRecord().m_undoCount);
    EXPECT_EQ(GetDrawAttributes().lineColor, MDrawAttributes().lineColor);
    EXPECT_EQ(GetCoordinateEntry().distance, MCoordinateEntry().distance);
    EXPECT_EQ(AngleDialogAngle(), 90.0);
    EXPECT_EQ(GetDefaultPaper().scale, paper.scale);
    EXPECT_EQ(GetCurrentSizeFormat(0).m_name, format);
    EXPECT_EQ(GetDefaultSizeStyle(), MSizeStyle());
    EXPECT_TRUE(IsDefaultShapeDialogFactory());
    EXPECT_EQ(GetInterchangeFactory(), nullptr);
    EXPECT_EQ(AfxGetProfile().GetProfileInt("SECTION", "VALUE", 0), 0);
    EXPECT_EQ(AfxMessageBox("?", MB_YESNO), IDNO);
    EXPECT_EQ(SnapSuspended(), 0);
    EXPECT_EQ(PrintBlackWhite(), 0);
    EXPECT_EQ(GetImported(), 0);
    EXPECT_FALSE(IsMetafileDrawing());
}
