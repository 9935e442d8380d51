// The import of XDF drawings: a line-oriented text format of bracketed sections ([PAPER], [SCALE],
// [PEN], [ELEMENT], ...) whose element records become shapes on the layers "Layer1".."Layer100";
// layers that stay empty are removed again. Groups nest through MXDFGroupStack.
#pragma once

#include <array>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "document/Interchange.h"
#include "model/helpers/ImportLosses.h"
#include "model/geometry/FloatPoint.h"
#include "model/geometry/FloatPointArray.h"

class MCadShape;
class MGroupShape;
class MTessarayDoc;

using CString = std::string;

// One open group, the number of members that completes it, the number it has and the layer of
// its last member. A group past the nesting limit is folded: it has no shape of its own, its
// members go to the deepest group that has one.
struct MXDFGroup {
    std::unique_ptr<MGroupShape> group;
    int expected = 0;
    int received = 0;
    int layer = 0;
};

// Open groups, innermost on top; groups still open when the stack is cleared are deleted with their
// members.
class MXDFGroupStack {
public:
    MXDFGroupStack();
    ~MXDFGroupStack();
    MXDFGroupStack(const MXDFGroupStack&) = delete;
    MXDFGroupStack& operator=(const MXDFGroupStack&) = delete;

    // A null group is a folded one.
    void Push(std::unique_ptr<MGroupShape> group, int expected);
    bool IsEmpty() const { return m_entries.empty(); }
    int GetSize() const { return static_cast<int>(m_entries.size()); }
    MXDFGroup& Top() { return m_entries.back(); }
    // The top group, taken off the stack (null for a folded one).
    std::unique_ptr<MGroupShape> Pop();
    // The deepest group that has a shape; null when there is none.
    MGroupShape* DeepestShape() const;
    void RemoveAll();

private:
    std::vector<MXDFGroup> m_entries;
};

// What shows the reading to the user (the modeless dialog "XDF Reading" with a progress bar and
// the file's path, and the wait cursor). The application installs one; without it nothing shows.
class MXDFProgress {
public:
    virtual ~MXDFProgress() = default;
    // Before anything is read: the wait cursor.
    virtual void BeginWait() {}
    virtual void EndWait() {}
    // The dialog, shown and painted at once with the path, range 0..1 and position 0.
    virtual void Open(const std::string& path) = 0;
    virtual void SetRange(int upper) = 0;
    virtual void SetPos(int position) = 0;
    virtual void Close() = 0;
};
MXDFProgress* GetXDFProgress();
MXDFProgress* SetXDFProgress(MXDFProgress* progress);

class MXDFReader : public MDocumentReader {
public:
    static constexpr int kLayers = 100;
    // The longest line read; a longer one is skipped (a text line keeps its start).
    static constexpr std::size_t kMaxLine = std::size_t{1} << 20;
    // The farthest an origin offset or a text height reaches, in drawing units: past it a double
    // keeps less than an eighth of a unit, and the box of the longest text stays finite.
    static constexpr double kMaxReach = 1e15;

    // Sections and elements of the keyword maps; names the maps do not hold give 0.
    enum Section {
        kStart = 1,
        kEnd = 2,
        kElement = 3,
        kOrigin = 4,
        kPaper = 5,
        kScale = 6,
        kPen = 7,
        kArrow = 8
    };
    enum Element {
        kNone = 0,
        kLine = 1,
        kCircle = 2,
        kArc = 3,
        kGroup = 4,
        kString = 5,
        kStringText = 6,
        kFont = 7,
        kHatch = 8,
        kSize = 9,
        kDaen = 10,
        kSpline = 11,
        kSplinePoint = 12,
        kLoop = 13,
        kLoopPoint = 14
    };

    explicit MXDFReader(MTessarayDoc& doc);
    ~MXDFReader() override;

    // Reads the file and checks that it holds a section of this format; 0 with message 62700 when
    // it cannot be read or holds none, and the open drawing stays as it is.
    int Prepare(const std::string& path) override;
    // Prepares when that was not done, creates the 100 layers, reads the file, removes the layers
    // left empty (a drawing left without layers gets a new default one). 1 when the file was read;
    // 0 with message 62700 when it could not be opened. What the drawing could not keep (the end
    // missing, records left out, values replaced, texts cut) is told in one message.
    int Read(const std::string& path) override;
    // The steps of Read on text already decoded (UTF-8, "\n"); path is shown in the dialog.
    int ReadText(std::string_view text, const std::string& path);
    // Whether a line of the text opens one of the format's sections.
    static bool LooksLikeXdf(std::string_view text);
    // The file's bytes as UTF-8: code page 932, or UTF-8 after a byte-order mark.
    static std::string DecodeFile(std::string_view bytes);
    // The section a line opens ("[NAME]..."): 0 for a name the format does not have, -1 for a
    // line that opens none.
    static int SectionOf(std::string_view line);

    // Layer pen code (0..9) to colour.
    static COLORREF PenColor(int code);
    // Arrow kind to arrow style; line type to line-style index.
    static int ArrowStyleOf(int kind);
    static int LineStyleOf(int type);

    // The colour of layer L by its pen code.
    COLORREF LayerColor(int layer) const;
    int GetPenCode(int layer) const { return m_penCodes[static_cast<std::size_t>(layer)]; }
    int GetShapeCount(int layer) const { return m_counts[static_cast<std::size_t>(layer)]; }

    CString m_defaultFont;

private:
    void CreateLayers();
    void RemoveEmptyLayers();
    int ReadFile(std::string_view text, const std::string& path);
    void ReadLine(std::string_view line);
    // What the reading could not keep, in one message.
    void ReportLosses();
    void ResetPending();
    void HandleSection(int section, std::string_view line);
    void SetScale(double scale);
    void SetOrigin(double x, double y);
    void SetPaper(const std::vector<std::string_view>& tokens);
    void HandleElementLine(std::string_view line);
    // Builds what the data line of the pending element gives; false when a value is missing.
    bool HandleData(int state, std::string_view line, const std::vector<std::string_view>& tokens);
    bool HandleShapeData(int state, const std::vector<std::string_view>& tokens);
    bool HandleText(std::string_view line);
    bool HandleSize(const std::vector<std::string_view>& tokens);
    bool HandleSplinePoint(int state, const std::vector<std::string_view>& tokens);
    // The pending element ends before its data: a spline keeps the points it has, others are lost.
    void EndPending();
    void FinishSpline(int state);
    // A record that gives no shape: told, and it still takes its place in an open group.
    void Lose(int state);
    // Groups still open at the end keep the members they have.
    void CloseGroups();
    // Style, colour and the add step.
    void Finish(std::unique_ptr<MCadShape> shape, int layer, int lineType);
    // A shape with values that are not finite is left out.
    void AddStep(std::unique_ptr<MCadShape> shape, int layer);
    MFloatPoint ToDrawing(double x, double y) const;
    static const char* KindName(int state);

    MTessarayDoc& m_doc;
    std::map<std::string, int, std::less<>> m_elements;
    int m_section = 0;
    int m_state = kNone;
    // The element whose shapes are being built, for the losses.
    int m_record = kNone;
    MFloatPoint m_originOffset;
    double m_arrowSize = 3.0;
    // The pending text.
    MFloatPoint m_textPosition;
    double m_textNumber = 6.0;
    double m_textHeight = 12.0;
    double m_textAngle = 0.0;
    int m_textLayer = 0;
    // The pending spline.
    int m_splineRemaining = 0;
    int m_splineLayer = 0;
    int m_splineType = 0;
    MFloatPointArray m_splinePoints;
    CString m_fontName;
    MXDFGroupStack m_groups;
    std::array<int, kLayers> m_penCodes{};
    std::array<int, kLayers> m_counts{};
    int m_penIndex = 0;
    int m_started = 0;
    int m_layerBase = 0;
    bool m_layersCreated = false;
    // The file read by Prepare, decoded.
    std::string m_text;
    bool m_prepared = false;
    bool m_sawEnd = false;
    int m_foldedGroups = 0;
    int m_longLines = 0;
    int m_unfinishedGroups = 0;
    int m_unfinishedSplines = 0;
    MImportLosses m_losses;
};
