// Values at the edge of what the DXF reader takes: bulges whose arc is out of range, drawings that
// ask for more copies than the expansion limit, lines and texts too long for the reader or for the
// program's own file. What is read must survive a save and a reopening; what is left out is told.
#include <cmath>

#include "DxfTestSupport.h"
#include "model/shapes/lines/PolygonShape.h"

using namespace dxftest;

namespace {

class DxfLimits : public DxfTest {
protected:
    // Saves the document as the program's own file and opens it again in another document.
    void Reopen(MTessarayDoc& into) {
        const std::string path = MakeTempDir("dxf-limits") + "/drawing.qfd";
        ASSERT_TRUE(doc.OnSaveDocument(path));
        MessageBoxRecorder reopening;
        ASSERT_TRUE(into.OnOpenDocument(path));
        EXPECT_TRUE(reopening.Messages().empty()) << reopening.Messages()[0].text;
    }
};

TEST_F(DxfLimits, ABulgeWhoseArcIsOutOfRangeDrawsTheStraightSegment) {
    // 1e308 squared overflows; 1e-310 has no finite reciprocal.
    for (const char* bulge : {"1e308", "-1e308", "1.7976931348623157e308", "1e-310"}) {
        SCOPED_TRACE(bulge);
        MTessarayDoc reopened;
        doc.DeleteContents();
        ASSERT_EQ(Read(Dxf(std::string("0|SECTION|2|ENTITIES|0|LWPOLYLINE|70|0|10|0|20|0|42|") + bulge +
                           "|10|1|20|0|10|2|20|1|0|ENDSEC|0|EOF")),
                  1);
        ASSERT_EQ(ShapeCount(), 1);
        auto* polygon = dynamic_cast<MPolygonShape*>(Shape(0));
        ASSERT_NE(polygon, nullptr);
        ASSERT_EQ(polygon->GetPoints().GetSize(), 3);
        EXPECT_EQ(polygon->GetPoints()[1], MFloatPoint(1, 0));
        Reopen(reopened);
        ASSERT_EQ(AllShapes(reopened).size(), 1u);
        EXPECT_EQ(dynamic_cast<MPolygonShape*>(AllShapes(reopened)[0])->GetPoints().GetSize(), 3);
    }
}

}  // namespace
