// Whether an imported drawing reads back whole: its layers in the text form of the program's own
// file, before and after a save and a reopening.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "document/Layer.h"
#include "document/TessarayDoc.h"
#include "platform/TextFile.h"
#include "tests/support/TestSupport.h"

namespace importtest {

// Every layer of the document in its text form.
inline std::string LayersText(MTessarayDoc& doc) {
    TextOutput os;
    for (int i = 0; i < doc.GetLayers()->GetLayerCount(); ++i)
        doc.GetLayers()->GetLayer(i)->WriteText(&doc, os);
    return os.str();
}

// Saves the document as the program's own file, opens it again without a message and expects the
// same layers and shapes.
inline void ExpectReadsBackWhole(MTessarayDoc& doc, const std::string& name) {
    const std::string path = MakeTempDir(name) + "/drawing.qfd";
    ASSERT_TRUE(doc.OnSaveDocument(path));
    MTessarayDoc reopened;
    MessageBoxRecorder reopening;
    ASSERT_TRUE(reopened.OnOpenDocument(path));
    EXPECT_TRUE(reopening.Messages().empty()) << reopening.Messages()[0].text;
    EXPECT_EQ(LayersText(reopened), LayersText(doc));
}

}  // namespace importtest
