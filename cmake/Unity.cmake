# Unity builds: with CMAKE_UNITY_BUILD on (the test command's builds), each library and test
# program compiles its sources in batches, which cuts a cold build's processor time by more than
# half. A source whose file-local names clash with another's in its batch compiles alone: list it
# here, relative to the source tree (or give its helpers names of their own and take it off).
set(TESSARAY_UNITY_ALONE
    document/parts/CadPartsList.cpp
    model/geometry/Trim.cpp
    model/render/RenderClip.cpp
    model/shapes/containers/LShapeArray.cpp
    model/shapes/dimension/AngleShape.cpp
    platform/ProgramState.cpp
    platform/ui/Cursor.cpp
    tests/app/DxfImportUiTest.cpp
    tests/app/FileDialogTest.cpp
    tests/app/FileNewTest.cpp
    tests/app/RecentFileTest.cpp
    tests/app/ShellTest.cpp
    tests/app/StartupTest.cpp
    tests/document/MirrorOStreamTest.cpp
    tests/interchange/DxfLimitsTest.cpp
    tests/interchange/DxfPlacementTest.cpp
    tests/interchange/DxfReaderTest.cpp
    tests/model/geometry/LineEditTest.cpp
    tests/model/geometry/PolygonBooleanOracleTest.cpp
    tests/model/geometry/PolygonBooleanTest.cpp
    tests/model/geometry/RegionEraseTest.cpp
    tests/model/shapes/annotation/LabelShapeTest.cpp
    tests/model/shapes/curves/ArcShapeTest.cpp
    tests/model/shapes/curves/CircleShapeTest.cpp
    tests/model/shapes/curves/SplineShapeTest.cpp
    tests/model/shapes/dimension/AngleShapeTest.cpp
    tests/model/shapes/dimension/RadiusShapeTest.cpp
    tests/model/shapes/dimension/SizeShapeTest.cpp
    tests/model/shapes/lines/LineShapeTest.cpp
    tests/model/shapes/lines/MarkShapeTest.cpp
    tests/model/shapes/picture/BitmapShapeTest.cpp
    tests/model/shapes/text/TextShapeTest.cpp
    tests/platform/DCTrackingTest.cpp
    tests/platform/UiTabIconListTest.cpp
    tests/tools/circle/CircleToolTest.cpp
    tests/tools/circle/TangentCirclesPropertyTest.cpp
    tests/tools/circle/ThreePointToolsTest.cpp
    tests/tools/dimension/AngleDimensionToolsTest.cpp
    tests/tools/dimension/MeasureToolsTest.cpp
    tests/tools/dimension/RadialDimensionToolsTest.cpp
    tests/tools/edit/CopyToolsTest.cpp
    tests/tools/edit/DividToolTest.cpp
    tests/tools/edit/HoleToolTest.cpp
    tests/tools/line/ContLineToolTest.cpp
    tests/tools/line/FigureSettingsTest.cpp
    tests/tools/line/LineToolTest.cpp
    tests/tools/line/MarkToolTest.cpp
    tests/tools/line/NPolygonToolTest.cpp
    tests/tools/line/RectToolTest.cpp
    tests/tools/line/SplineToolsTest.cpp
    tests/tools/line/WallToolTest.cpp
    tests/tools/select/SelectToolArrangeTest.cpp
    tests/tools/select/SelectToolClipboardTest.cpp
    tests/tools/select/SelectToolCommandsTest.cpp
    tests/tools/select/SelectToolDialogsTest.cpp
    tests/tools/select/SelectToolDisplayTest.cpp
    tests/tools/select/SelectToolDragTest.cpp
    tests/tools/select/SelectToolMenuTest.cpp
    tests/tools/select/SelectToolPickTest.cpp
    tests/tools/select/StretchToolTest.cpp
    tests/view/SettingsCommandsTest.cpp
    tests/widgets/LineStyleComboTest.cpp
)

# GCC takes a source included into a batch for a header and warns about every test fixture in an
# anonymous namespace; the warning means nothing for sources.
if(CMAKE_UNITY_BUILD AND CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
    add_compile_options(-Wno-subobject-linkage)
endif()

function(tessaray_unity target)
    if(NOT CMAKE_UNITY_BUILD)
        return()
    endif()
    get_target_property(sources ${target} SOURCES)
    foreach(source IN LISTS sources)
        cmake_path(RELATIVE_PATH source BASE_DIRECTORY ${CMAKE_SOURCE_DIR} OUTPUT_VARIABLE relative)
        if(relative IN_LIST TESSARAY_UNITY_ALONE)
            set_source_files_properties(${source} PROPERTIES SKIP_UNITY_BUILD_INCLUSION ON)
        endif()
    endforeach()
endfunction()
