// The fixture of the XDF tests: a document at A4 1:1 read from XDF text, its layers and shapes.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "document/ClassRegistry.h"
#include "document/Layer.h"
#include "document/TessarayDoc.h"
#include "interchange/XdfReader.h"
#include "tests/support/TestSupport.h"

namespace xdftest {

class XdfTest : public ::testing::Test {
protected:
    void SetUp() override {
        RegisterDocumentClasses();
        doc.SetPaper(MPaperSizeInfo("A4", "297mm×210mm", 297, 210), MPaperScaleInfo("1:1", 1), TRUE);
    }
    int Read(const std::string& text) {
        MXDFReader reader(doc);
        reader.m_defaultFont = "Default";
        const int result = reader.ReadText(text, "test.xdf");
        for (int i = 0; i < MXDFReader::kLayers; ++i)
            penColors[i] = reader.LayerColor(i);
        return result;
    }
    const MLayer* Layer(const std::string& name) {
        const int i = doc.GetLayers()->FindLayerByName(name);
        return i < 0 ? nullptr : doc.GetLayers()->GetLayer(i);
    }
    MCadShape* Shape(const std::string& layer, int index) {
        const MLayer* l = Layer(layer);
        return l ? l->GetAt(index) : nullptr;
    }
    // A drawing point of the file's (x, y), with no origin offset.
    MFloatPoint At(double x, double y) const { return MFloatPoint(x, y) + doc.ComputePaperOrigin(); }
    static void ExpectNear(const MFloatPoint& a, const MFloatPoint& b) {
        EXPECT_NEAR(a.x, b.x, 1e-9);
        EXPECT_NEAR(a.y, b.y, 1e-9);
    }

    MTessarayDoc doc;
    COLORREF penColors[MXDFReader::kLayers];
    MessageBoxRecorder messages;
};

}  // namespace xdftest
