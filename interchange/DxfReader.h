// The DXF import: reads an ASCII DXF drawing (group codes and values, two lines each) into the
// document it was made for, which the caller has just emptied. Its layers, line types and text
// styles come from the TABLES section, block definitions from BLOCKS, and the shapes from ENTITIES,
// added without undo records. Built on the stack by the document's import, used once, destroyed.
//
// A file is read a piece at a time and parsed pair by pair, so that only one piece is held; bytes
// already in memory are parsed where they are. Lines may be of any length; group codes and section,
// table and entity names may carry blanks around them. Binary DXF, and files whose lines end with a
// CR alone, are refused with a message that says so.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "document/Interchange.h"
#include "interchange/DxfPairSource.h"
#include "interchange/DxfText.h"
#include "interchange/GroupDictionary.h"
#include "model/geometry/FloatPoint.h"
#include "model/geometry/FloatPointArray.h"
#include "model/geometry/FloatRect.h"
#include "model/helpers/StoredText.h"
#include "model/helpers/TextStream.h"
#include "platform/WinTypes.h"

class CFile;
class MCadShape;
class MDXFReadProgress;
class MGroupShape;
class MPolygonShape;
class MShapeArray;
class MTextShape;
class MTessarayDoc;

using CString = std::string;

class MDXFReader : public MDocumentReader {
public:
    // The colour "by block": that of the INSERT that places the block (no colour is kNoColor).
    static constexpr COLORREF kByBlockColor = 0x1000002;
    // The line style "by block".
    static constexpr int kByBlockLineStyle = -3;
    // How shapes inside blocks carry "by block" until a placement resolves it: a style index past
    // the table, which the shapes do not take for an auxiliary line as they would -3.
    static constexpr int kByBlockStyleMark = 0x7F;
    // How many pairs pass between two updates of the progress dialog.
    static constexpr int kProgressInterval = 1024;
    // The default limit of what block placements may add (see SetExpansionLimit): their copies
    // then take no more than some 400 MB, and print in seconds.
    static constexpr std::size_t kDefaultExpansionLimit = 12u << 20;
    // The copies may also add no more than this much for each pair the file holds, once that
    // passes kMinExpansion: what they take stays in proportion to the file (a weight of 8 takes
    // some 200 bytes).
    static constexpr std::size_t kExpansionPerPair = 16;
    static constexpr std::size_t kMinExpansion = 8u << 20;
    // The default limit of the points bulged polyline segments add (see SetArcPointLimit).
    static constexpr std::size_t kDefaultArcPointLimit = 2u << 20;
    // Shapes keep their numbers (coordinates, text heights and boxes) below this, far from where
    // sums and products overflow; a shape past it is left out and told.
    static constexpr double kMaxReach = 1e300;

    // Reads the text font from the profile ("DXF", "FONT"), writing string 62723 there first when it
    // is empty.
    explicit MDXFReader(MTessarayDoc& doc);
    ~MDXFReader() override;
    MDXFReader(const MDXFReader&) = delete;
    MDXFReader& operator=(const MDXFReader&) = delete;

    // Before the document is emptied: opens the file (kept open for Read) and recognises it as DXF (anything
    // else gets 62700), then asks the paper dialog and the scale question (when the window side is
    // installed). 0 when the file is refused or the user cancels.
    int Prepare(const std::string& path) override;
    // The import entry: Prepare unless it ran, the chosen paper applied, then the reading. Nonzero
    // when a drawing was read.
    int Read(const std::string& path) override;
    // The reading loop on a whole file's bytes, without the paper dialog. Nonzero when a drawing
    // was read; 0 after Cancel and for bytes that are no ASCII DXF (message 62700, or one that says
    // what DXF the program does not read). Kinds that were not imported, and a file cut short, are
    // told in one message afterwards.
    int ReadBytes(std::string_view bytes);
    // Whether the bytes look like an ASCII DXF file: pairs of an integer group code and a value,
    // the first structure pair being a SECTION or EOF.
    static bool LooksLikeDxf(std::string_view bytes);
    // How much of a file Read takes at a time; the file is never held whole.
    void SetPieceSize(std::size_t size) { m_pieceSize = size; }

    // What the document takes after a successful read: the auto-scale answer, a flag that is always
    // 1, and the limits rectangle of the HEADER ($LIMMIN, $LIMMAX).
    int GetFitOnFirstUpdate() const override { return m_autoScale; }
    int GetExtentsValid() const override { return m_extentsValid; }
    MFloatRect GetExtents() const override { return m_limits; }

    // Block placements copy whole blocks, so a small file can ask for an enormous drawing (blocks
    // placing blocks placing blocks). The copies stop once they would add more than this much: a
    // shape weighs 8 plus its vertex count, a text 16 a line (see also kExpansionPerPair). What
    // was read stays.
    void SetExpansionLimit(std::size_t limit) { m_expansionLimit = limit; }
    // TRUE when a placement was left out because of the limit. Told after the reading, as are
    // placements left out for blocks nested deeper than the reader follows.
    BOOL WasExpansionLimited() const { return m_expansionLimited; }
    // A bulged segment becomes an arc of points, as many as a circle has for the same turn. Once
    // the arcs of a reading have added this many points, the arcs that follow get fewer (a
    // straight segment at last), and that is told.
    void SetArcPointLimit(std::size_t limit) { m_arcPointLimit = limit; }
    // Texts are placed at their point and measured when the view recalculates the drawing (before
    // it is shown); TRUE measures them as they are read (MoveTo), which needs the platform's fonts.
    void SetMeasureTexts(BOOL measure) { m_measureTexts = measure != FALSE; }
    // The progress dialog of ReadBytes; without one the window side's is used (if any).
    void SetProgress(MDXFReadProgress* progress) { m_externalProgress = progress; }
    const MDXFEncoding& GetEncoding() const { return m_encoding; }
    // Entity kinds that the drawing would have held but were not imported, with their counts: a
    // kind inside a block counts once per placement of the block (through nested placements too),
    // and not at all when the block is never placed. Circles, arcs, texts and placements out of
    // the drawing's plane count as "KIND (3D)".
    const std::map<std::string, int>& GetSkippedKinds() const { return m_skipped; }
    // TRUE when the file ended inside a section or without its EOF, or the reading stopped at a
    // line too long for any value (MDXFPairSource::kMaxLine).
    BOOL WasCutShort() const { return m_cutShort; }
    // The longest text line a text shape takes (bytes of code page 932): what the program's own
    // file reads in a line, and its copies keep whole. Longer lines are cut between two characters
    // and told.
    static constexpr std::size_t kMaxTextBytes = kMaxStoredTextBytes;

    // The index of the program's line style whose dash pattern is nearest the DXF dashes (positive
    // dash, negative gap); 0 for a pattern without length.
    static int MatchLineStyle(const std::vector<double>& dashes);
    // The COLORREF of a DXF colour number, without the by-layer and by-block rules: 1..255 through
    // the 16-entry table and the standard palette, below 0 no colour, 0 by block, above 256 black.
    static COLORREF ColorOfNumber(int number);

private:
    // The values of the entity (or table entry) being read.
    struct GroupStore {
        CString layer;       // 8
        CString lineType;    // 6, "%%"-decoded
        std::string text;    // 1, raw bytes
        std::string chunks;  // 3, raw bytes, in order (the MTEXT text before group 1)
        CString name;        // 2, "%%"-decoded
        CString rawName;     // 2 as written (table entry names)
        CString style;       // 7
        CString variable;    // 9
        int color = 256;     // 62
        MFloatPoint points[6];
        double d40 = 0.0, d41 = 1.0, d42 = 1.0;
        double d44 = 0.0, d45 = 0.0;  // an INSERT's column and row spacing
        double a50 = 0.0, a51 = 0.0;
        int i70 = 0, i71 = 0, i72 = 0, i73 = 0;
        int vertexFlags = 0;                    // 70 of a VERTEX
        double bulge = 0.0;                     // 42 of a VERTEX
        double extrusion[3] = {0.0, 0.0, 1.0};  // 210/220/230
        double elevation = 0.0;                 // 30 of point 0; 38 of an LWPOLYLINE
        bool embedded = false;                  // after 101: an MTEXT's embedded object
        bool has41 = false;
        bool hasPoint1 = false;  // 11/21 (cleared with the points)
        bool hasPoint3 = false;  // 13/23
    };
    struct Vertex {
        MFloatPoint point;
        int flags;
        double bulge;
    };
    // How an entity's own coordinate system lies: as the drawing's, mirrored (extrusion 0, 0, -1),
    // or tilted out of the drawing's plane.
    enum class Plane { kDrawing, kMirrored, kTilted };
    // An entity's own coordinate system: its extrusion direction and its elevation on it.
    struct Ocs {
        double normal[3] = {0.0, 0.0, 1.0};
        double elevation = 0.0;
    };
    // A block placement (INSERT or DIMENSION). Blocks may be defined after they are used, so each
    // placement first puts an empty group where it belongs (a placeholder that holds its placement),
    // replaced by the copy once every block is read.
    struct Placement {
        MGroupShape* owner;  // the block that holds the placeholder; null in ENTITIES
        std::string name;
        MFloatPoint point;
        double sx, sy, angle;
        // An INSERT's array: cells of columns x rows, each a placement of its own.
        int columns, rows;
        double columnSpacing, rowSpacing;
        bool insert, mirrored;
        COLORREF color;
        int lineStyle;
    };
    class PlacementMark;

    // What the bytes are, as far as the reader is concerned; the source is used up.
    enum class Form { kAscii, kBinary, kCrOnly, kOther };
    static Form FormOf(MDXFPairSource& source);
    static bool LooksLikeDxf(MDXFPairSource& source);
    // Tells why a file of the form is not read.
    static void Refuse(Form form);
    // ReadBytes after the check.
    int ReadPairs(MDXFPairSource& source);
    int ReadLoop(MDXFPairSource& source);
    void FinishLayers(bool cancelled);
    void ResetGroupStore(bool clearKind);
    void StoreGroup(int code, std::string_view value);
    void HandleSection(int code, std::string_view value);
    void HandleHeader(int code, std::string_view value);
    void HandleTables(int code, std::string_view value);
    void HandleLineType(int code, std::string_view value);
    void HandleLayer(int code, std::string_view value);
    void HandleStyle(int code, std::string_view value);

    // Entities and blocks.
    void HandleEntities(int code, std::string_view value);
    void HandleBlocks(int code, std::string_view value);
    // A code-0 pair builds the entity collected so far; the shape (or null) and its layer index.
    std::unique_ptr<MCadShape> ConvertEntity(int code, std::string_view value, int* layer);
    std::unique_ptr<MCadShape> BuildEntity(int kind);
    // Whether the shape keeps its numbers finite and within kMaxReach (texts when measured too).
    static bool HasNumbersInRange(const MCadShape& shape);
    // The polygon of n points, each segment with a bulge (the closing one too when closed) as an
    // arc, its points counted against the arc point limit.
    template <class PointAt, class BulgeAt>
    std::unique_ptr<MPolygonShape> BulgedPolygon(std::size_t n, PointAt point, BulgeAt bulge, bool closed);
    std::unique_ptr<MCadShape> BuildText();
    std::unique_ptr<MCadShape> BuildMText();
    std::unique_ptr<MCadShape> BuildPointList(bool closed);
    std::unique_ptr<MCadShape> BuildSolid();
    std::unique_ptr<MCadShape> PlaceBlock(bool insert);
    Plane EntityPlane() const;
    static Plane PlaneOf(const double normal[3]);
    // Mirrors a built shape about the y axis, as a (0, 0, -1) extrusion does; texts stay readable.
    static void MirrorAboutYAxis(MCadShape* shape);
    // Counts a kind not imported for the drawing or, inside a block, for each copy of the block.
    void CountSkipped(std::string_view kind);
    using KindCounts = std::map<std::string, int>;
    // Adds the kinds one copy of the block loses, times copies, to the owner's (the drawing's
    // without an owner).
    void AddBlockLosses(const MGroupShape* owner, const MGroupShape& block, std::uint64_t copies);
    static void AddKind(KindCounts& counts, const std::string& kind, std::uint64_t n);
    std::unique_ptr<MCadShape> ConvertWithPlane(std::unique_ptr<MCadShape> shape, int kind);
    void ResolvePlacements();
    void ResolveBlock(MGroupShape* block, int depth);
    std::unique_ptr<MCadShape> Place(const Placement& placement, int depth);
    // A copy of the block with its base point at the point, or null at the expansion limit.
    std::unique_ptr<MGroupShape> PlaceCopy(const MGroupShape& block, const Placement& placement,
                                           const MFloatPoint& point);
    // Puts the resolved placements in place of their placeholders (the empty ones go). marks, when
    // given, are the placeholders' positions in the array (ascending), which spares looking at the
    // other shapes.
    void ReplacePlaceholders(MShapeArray& shapes, MGroupShape* owner, int depth,
                             const std::vector<int>* marks = nullptr);
    // Notes where the drawing's placeholder went (AppendShape's answer).
    void RecordLayerMark(int layer, int index);
    void DropPlaceholders();
    void ReportLosses();
    void OpenPolyline();
    std::unique_ptr<MCadShape> ClosePolyline();
    void ApplyStyle(MCadShape* shape, bool inEntities);
    void ResolveByBlock(MCadShape* shape, COLORREF color, int lineStyle, bool keepByBlock);
    // The colour number and line style a layer's table entry gives (256 and 0 without one).
    struct LayerTables {
        int color = 256;
        int lineStyle = 0;
    };
    const LayerTables& TablesOfLayer(const CString& layer) const;
    // After a change of the tables.
    void ForgetLayerTables();
    COLORREF EntityColor() const;
    int EntityLineStyle() const;
    int LayerIndex(const CString& name);
    std::string DecodeText(std::string_view raw) const;
    // Cuts a text (or a layer name) longer than kMaxTextBytes between two characters, and notes it.
    void CutLongText(std::string& text);
    static std::size_t WeightOf(const MCadShape* shape);
    void SetupText(MCadShape* shape);
    void PlaceText(MTextShape* text, const MFloatPoint& point);

    MTessarayDoc& m_doc;
    int m_autoScale = 0;
    int m_extentsValid = 1;
    MFloatRect m_limits;
    double m_paperScale = 1.0;
    CString m_fontName;
    MDXFEncoding m_encoding;

    int m_sectionState = 0;
    int m_tableState = 2;
    int m_blockState = 2;
    int m_entityKind = 0;
    std::string m_entityName;  // of the entity being collected
    GroupStore m_store;
    std::vector<double> m_list10;
    std::vector<double> m_list20;
    std::vector<double> m_bulges;  // 42 of each LWPOLYLINE vertex

    // Maps of the tables. Keys of line types and styles are upper case.
    std::unordered_map<std::string, int> m_styleFlags;
    std::unordered_map<std::string, int> m_lineTypes;
    std::unordered_map<std::string, int> m_layerColors;
    std::unordered_map<std::string, CString> m_layerLineTypes;
    std::unordered_map<std::string, int> m_layerIndex;
    CString m_lastLayerName;  // and its index, -1 when unknown
    int m_lastLayerIndex = -1;
    // What TablesOfLayer answered for each layer, and its last answer (drawings often keep to one
    // layer for a while); forgotten when the tables change.
    mutable std::unordered_map<std::string, LayerTables> m_layerTables;
    mutable const std::pair<const std::string, LayerTables>* m_lastLayerTables = nullptr;
    CString m_lineTypeName;
    std::vector<double> m_dashes;

    MGroupDictionary m_blocks;
    std::vector<MGroupShape*> m_openBlocks;

    std::unique_ptr<MPolygonShape> m_polyline;
    int m_polylineFlags = 0;
    Ocs m_polylineOcs;
    std::vector<Vertex> m_vertices;

    std::size_t m_expansionLimit = kDefaultExpansionLimit;
    std::size_t m_expanded = 0;
    // The lesser of m_expansionLimit and what the file's size allows, set when the reading ends.
    std::size_t m_expansionBudget = kDefaultExpansionLimit;
    bool m_expansionLimited = false;
    bool m_nestingLimited = false;  // a placement left out for blocks nested too deep
    std::size_t m_arcPointLimit = kDefaultArcPointLimit;
    std::size_t m_arcPoints = 0;   // added by bulged segments so far
    int m_arcsCut = 0;             // arcs given fewer points than their turn asks
    int m_unreadLines = 0;         // lines passed over where a group code belonged
    int m_unendedBlocks = 0;       // blocks without their ENDBLK
    bool m_limitsRefused = false;  // $LIMMIN and $LIMMAX out of range
    MDXFReadProgress* m_externalProgress = nullptr;
    bool m_measureTexts = false;

    // The placements live in their placeholders, which go as they are replaced; beside them only
    // the positions of the drawing's ones are kept (m_layerMarks).
    std::size_t m_placementCount = 0;
    // The positions of the drawing's placeholders in each layer; not used when one went astray.
    std::vector<std::vector<int>> m_layerMarks;
    bool m_layerMarksKnown = true;
    const MCadShape* m_builtPlaceholder = nullptr;             // by the entity just built
    std::unordered_map<const MGroupShape*, int> m_resolution;  // 1 resolving, 2 resolved
    KindCounts m_skipped;
    // What one copy of each block loses, its nested placements included once they are resolved.
    std::unordered_map<const MGroupShape*, KindCounts> m_blockSkipped;
    // How far each placed block's numbers reach from its base point (ReachOf).
    std::unordered_map<const MGroupShape*, double> m_blockReach;
    // How many groups deep a copy of each resolved block goes (NestingOf): a block resolved near
    // the top and placed again further down must still end within the nesting limit.
    std::unordered_map<const MGroupShape*, int> m_blockNesting;
    bool m_cutShort = false;
    bool m_longLine = false;  // the reading stopped at a line too long
    bool m_textsCut = false;  // a text longer than kMaxTextBytes
    bool m_prepared = false;
    bool m_paperChosen = false;
    MFloatPoint m_keptOrigin;
    std::unique_ptr<CFile> m_file;  // opened by Prepare
    std::size_t m_pieceSize = MDXFPairSource::kDefaultPieceSize;
};
