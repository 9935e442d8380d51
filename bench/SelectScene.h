// The select tool over the mixed scene, as the select benchmarks share it.
#pragma once

#include "bench/MixedScene.h"
#include "resources/ResourceIds.h"
#include "tools/select/SelectTool.h"

namespace benchscene {

// One tool for the whole run, as the program keeps one.
inline MSelectTool& SelectSceneTool() {
    static MSelectTool* tool = [] {
        auto* t = new MSelectTool(30);
        t->SetCommandInfo(ID_TOOL_SELECT, FALSE, "SELECT");
        return t;
    }();
    return *tool;
}

// Every tenth shape of the first layer selected, count of them, after ending what was there.
inline void SelectEveryTenth(Scene& scene, MSelectTool& tool, int count) {
    tool.End(&scene.view, FALSE);
    const MLayer* layer = scene.doc.GetLayers()->GetLayer(0);
    for (int i = 0; i < count; ++i) {
        MCadShape* shape = layer->GetAt(i * 10);
        tool.Lists().AddPick(shape, shape->GetCenter(), 0);
    }
}

}  // namespace benchscene
