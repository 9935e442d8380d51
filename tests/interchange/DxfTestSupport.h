// Helpers of the DXF tests: a document read from DXF text, shapes counted by kind, a fake progress
// dialog and window side, and the independent reader (python3-ezdxf) run through small scripts.
#pragma once

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <fstream>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "document/ClassRegistry.h"
#include "document/Layer.h"
#include "document/TessarayDoc.h"
#include "interchange/DxfImportUi.h"
#include "interchange/DxfReader.h"
#include "model/shapes/containers/GroupShape.h"
#include "tests/support/TestSupport.h"

namespace dxftest {

// The interpreter the independent reader is installed for (Debian's python3-ezdxf).
inline constexpr const char* kPython = "/usr/bin/python3";

inline std::string ScriptPath(const std::string& name) {
    return std::string(TESSARAY_SOURCE_DIR) + "/tests/interchange/" + name;
}

// Runs a command; its exit status and what it printed (standard output and error).
inline int RunCommand(const std::string& command, std::string* output) {
    std::string text;
    FILE* pipe = ::popen((command + " 2>&1").c_str(), "r");
    if (!pipe) return -1;
    char buffer[4096];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
        text.append(buffer, n);
    const int status = ::pclose(pipe);
    if (output) *output = text;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

inline std::string Quoted(const std::string& s) {
    std::string out = "'";
    for (char c : s) {
        if (c == '\'')
            out += "'\\''";
        else
            out += c;
    }
    return out + "'";
}

inline int RunScript(const std::string& script, const std::vector<std::string>& args, std::string* output) {
    std::string command = std::string(kPython) + " " + Quoted(ScriptPath(script));
    for (const std::string& a : args)
        command += " " + Quoted(a);
    return RunCommand(command, output);
}

inline bool HasEzdxf() {
    static const int status = RunCommand(std::string(kPython) + " -c 'import ezdxf'", nullptr);
    return status == 0;
}

#define SKIP_WITHOUT_EZDXF()                                                                        \
    do {                                                                                            \
        if (!dxftest::HasEzdxf()) GTEST_SKIP() << "python3-ezdxf is not installed (scripts/setup)"; \
    } while (0)

// Shape counts by keyword, groups counted as "GROUP" with their members counted as well.
using KindCounts = std::map<std::string, int>;

inline void CountShape(const MCadShape* shape, KindCounts& counts) {
    if (const auto* group = dynamic_cast<const MGroupShape*>(shape)) {
        ++counts["GROUP"];
        for (int i = 0; i < group->GetShapeCount(); ++i)
            CountShape(group->GetShapeAt(i), counts);
        return;
    }
    ++counts[shape->GetTypeName()];
}

inline KindCounts CountShapes(const MTessarayDoc& doc) {
    KindCounts counts;
    const MDocShapeArray* layers = doc.GetLayers();
    for (int i = 0; i < layers->GetLayerCount(); ++i) {
        const MLayer* layer = layers->GetLayer(i);
        for (int k = 0; k < layer->GetSize(); ++k)
            CountShape(layer->GetAt(k), counts);
    }
    return counts;
}

// "KIND n" lines, as the counting script prints them.
inline KindCounts ParseCounts(const std::string& text) {
    KindCounts counts;
    std::istringstream in(text);
    std::string kind;
    int n;
    while (in >> kind >> n)
        counts[kind] = n;
    return counts;
}

inline std::string FormatCounts(const KindCounts& counts) {
    std::string s;
    for (const auto& [kind, n] : counts)
        s += kind + " " + std::to_string(n) + "\n";
    return s;
}

inline std::string ReadFileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

inline void WriteFileBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

// All shapes of the document in layer order (groups as one shape).
inline std::vector<MCadShape*> AllShapes(const MTessarayDoc& doc) {
    std::vector<MCadShape*> shapes;
    const MDocShapeArray* layers = doc.GetLayers();
    for (int i = 0; i < layers->GetLayerCount(); ++i) {
        const MLayer* layer = layers->GetLayer(i);
        for (int k = 0; k < layer->GetSize(); ++k)
            shapes.push_back(layer->GetAt(k));
    }
    return shapes;
}

// A progress dialog that records its texts and presses Cancel after a number of updates.
class FakeProgress : public MDXFReadProgress {
public:
    void SetText(const std::string& text) override { texts.push_back(text); }
    void PumpMessages() override {
        ++pumps;
        if (!IsDXFImportPumping()) ++unguardedPumps;
        if (cancelAfter >= 0 && pumps > cancelAfter) cancelled = TRUE;
    }
    BOOL IsCancelled() const override { return cancelled; }

    std::vector<std::string> texts;
    int pumps = 0;
    int unguardedPumps = 0;
    int cancelAfter = -1;
    BOOL cancelled = FALSE;
};

// The window side with a scripted paper dialog.
class FakeImportUi : public MDXFImportUi {
public:
    FakeImportUi() { m_previous = SetDXFImportUi(this); }
    ~FakeImportUi() override { SetDXFImportUi(m_previous); }
    int RunPaperDialog(MTessarayDoc&) override {
        ++paperDialogs;
        return paperResult;
    }
    std::unique_ptr<MDXFReadProgress> CreateProgress() override {
        ++progressDialogs;
        return std::make_unique<FakeProgress>();
    }

    int paperResult = IDOK;
    int paperDialogs = 0;
    int progressDialogs = 0;

private:
    MDXFImportUi* m_previous = nullptr;
};

// Registers the classes; every test starts from an empty document.
class DxfTest : public ::testing::Test {
protected:
    void SetUp() override { RegisterDocumentClasses(); }

    // Reads DXF text (UTF-8 here, as test sources are) into the document; the reader's result.
    int Read(const std::string& text) {
        MDXFReader reader(doc);
        const int result = reader.ReadBytes(text);
        return result;
    }
    MCadShape* Shape(int index) {
        const std::vector<MCadShape*> shapes = AllShapes(doc);
        return index < static_cast<int>(shapes.size()) ? shapes[static_cast<std::size_t>(index)] : nullptr;
    }
    int ShapeCount() { return static_cast<int>(AllShapes(doc).size()); }

    MessageBoxRecorder messages;
    MTessarayDoc doc;
};

// DXF text from groups written as "code value" pairs separated by '|': "0|SECTION|2|ENTITIES|...".
inline std::string Dxf(const std::string& pairs) {
    std::string out;
    for (char c : pairs)
        out += c == '|' ? '\n' : c;
    return out + "\n";
}

}  // namespace dxftest
