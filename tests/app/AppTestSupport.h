// A started program for window-level tests: the whole start-up on an in-memory profile, a main
// window with a new drawing, and the profile put back afterwards.
#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "app/MainFrame.h"
#include "app/TessarayApp.h"
#include "document/Layer.h"
#include "document/TessarayDoc.h"
#include "model/settings/OptionRecord.h"
#include "platform/Profile.h"
#include "tests/support/TestSupport.h"

class StartedProgram : public ::testing::Test {
protected:
    void SetUp() override {
        ResetProgramState();
        MTessarayApp::InitProgram();
        ASSERT_TRUE(app.CreateMainWindow());
        ASSERT_TRUE(app.NewDocument());
    }
    void TearDown() override { ResetProgramState(); }

    MMainFrame* Frame() { return app.GetMainFrame(); }
    MTessarayDoc& Doc() { return *app.GetDocument(); }
    int ShapeCount() {
        int n = 0;
        for (int i = 0; i < Doc().GetLayers()->GetLayerCount(); ++i)
            n += Doc().GetLayers()->GetLayer(i)->GetSize();
        return n;
    }

    MTessarayApp app;
};
