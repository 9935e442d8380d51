// The drawing view: maps the document onto the window (zoom, scrolling, centring of the sheet),
// paints the drawing and its overlays (grid, layers by the display mode, the current tool's
// tracker, origin cross, print-area frame, crosshair and snap marker), hands mouse input and
// commands to the current tool, and shows one tab per layer in its tab row.
//
// The coordinate conversions and scale fields are MCadView's; this class supplies its window
// services (client device contexts on the persistent surface, preparation, invalidation).
#pragma once

#include <array>
#include <memory>
#include <optional>

#include "document/DocumentView.h"
#include "model/CadView.h"
#include "model/geometry/FloatRect.h"
#include "resources/ResourceIds.h"
#include "view/TabScrollView.h"

class COleDataObject;
class MBitmapShape;
class MCadShape;
class MGrid;
class MIncomingShapes;
class MLayer;
class MTessarayDoc;
class MViewTool;

// The snap modes are suspended (command "一時無効"): the tools' snapping reports no snap kinds.
// Program-wide, 0 at every start.
int& SnapSuspended();

class MTessarayView : public MTabScrollView, public MCadView, public MDocumentView {
public:
    // The user origin (grid, origin cross, typed coordinates) from the document, which owns it.
    void FollowDocumentOrigin();
    MTessarayView();
    ~MTessarayView() override;

    // Attaches the view to its document (the document lists it among its views); null detaches.
    void SetDocument(MTessarayDoc* doc);
    MTessarayDoc* GetDocument() const { return m_document; }

    // ----- window services of the coordinate object ---------------------------------------------
    std::unique_ptr<CDC> GetClientDC() override;
    void OnPrepareDC(CDC* dc) override;
    void OnPrepareDC(CDC* dc, CPrintInfo* info) override;
    void InvalidateRect(const CRect* rect, BOOL erase = TRUE) override;
    // The search gives up once the pointer has left the spot it was asked about (MPointerWatch).
    MSnapQuery SnapQueryAt(int x, int y, WORD kinds) override;

    // ----- what the document asks of its view ---------------------------------------------------
    MCadView* GetCadView() override { return this; }
    MDocumentTool* GetCurrentTool() override;
    void RemoveLayerTab(int index) override;
    void InsertLayerTab(int index, const CString& name) override;
    void SetLayerTabName(int index, const CString& name) override;
    void OnLayersReplayed() override;
    void OnPaperReplayed() override;
    BOOL ExportMetafile(const std::string& path) override;
    void SendViewCommand(UINT id) override;
    void OnUpdate(CDocumentView* sender, long hint, CObject* hintObject) override;

    // ----- zoom and scrolling -------------------------------------------------------------------
    // Scale, scroll sizes (the sheet never exceeds 32767 pixels: the zoom is halved until it fits)
    // and a new grid.
    void RecalcScrollSizes();
    // RecalcScrollSizes, then the offset that centres a sheet smaller than the client area.
    virtual void UpdateScrollSizes();
    // Sets the zoom (times the current one when relative) and scrolls the centre point into the
    // middle of the client area.
    void ZoomAt(const MFloatPoint& centre, double factor, BOOL relative);
    // The whole sheet fills the client area in its tighter dimension.
    void ZoomToPaper();
    // The centre of the client area in drawing units.
    MFloatPoint GetClientCentre();
    // Chooses the paper scale of a drawing that asks to be fitted and centres it on the sheet.
    void FitPaperScaleToDrawing();
    // Moves the shape so that its extent is centred in the client area.
    void PlaceAtViewCentre(MCadShape* shape);
    BOOL OnScrollBy(CSize sizeScroll, BOOL bDoScroll = TRUE) override;
    CPoint GetCentreOffset() const { return m_centreOffset; }
    double GetZoom() const { return zoom; }
    const MFloatPoint& GetGridPitch() const { return m_gridPitch; }
    void SetGridPitch(double x, double y);
    MGrid* GetGrid() const { return m_grid.get(); }

    // ----- rendering and tool dispatch ----------------------------------------------------------
    void OnDraw(CDC* dc) override;
    BOOL OnEraseBkgnd(CDC* dc) override;
    void OnInitialUpdate() override;
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
    // Ends whatever is in progress (command 32768, cancel editing).
    void EndCurrentOperation();
    // Makes the select tool (32791) current; nothing when none is registered.
    void SwitchToSelectTool();
    // The current tool when it is the select tool, else null.
    MViewTool* GetSelectTool() const;
    BOOL HasSelection() const;
    MViewTool* GetTool() const { return m_currentTool; }
    // The point where the left button was last released (the tools store it): relative
    // coordinates and typed entries start there.
    const MFloatPoint& GetAnchorPoint() const { return m_anchorPoint; }
    void SetAnchorPoint(const MFloatPoint& point) { m_anchorPoint = point; }
    // The paper print area in paper millimetres; all zero when there is no printer.
    MFloatRect m_printArea;

    // ----- clipboard, objects and metafiles (ViewClipboard.cpp, ViewMetafile.cpp) ---------------
    // The private clipboard format "MTessaray Object Format UTF-8", registered by the first view.
    static UINT GetPrivateClipboardFormat();
    void CopySelectionToClipboard();
    void PasteFromClipboard();
    void PasteSpecial();
    // Pastes the clipboard's data of that format; every failure is reported here and undone.
    void PasteFormat(COleDataObject& data, UINT format);
    void InsertOleObject();
    void InsertSelectedPart();
    // The shapes of the private format (either form) that incoming admits, in a pack placed at the
    // view centre; null without that format or when none is admitted.
    MCadShape* ReadShapeFromDataObject(COleDataObject& data, MIncomingShapes& incoming);
    // A picture of the clipboard as a new bitmap shape at the view centre; null without one.
    MBitmapShape* CreateBitmapShapeFromDataObject(COleDataObject& data);
    // Adds the shape (a pack: its members) as new shapes in one undo step; null reports 62790. The
    // shape, or a pack's members, belong to the drawing afterwards, or are deleted when that fails.
    void InsertPastedShape(MCadShape* shape);
    // The whole sheet as an enhanced metafile; FALSE (after message 62700) when it cannot be made.
    BOOL WriteMetafile(const std::string& path);

    // ----- printing (ViewPrint.cpp) ---------------------------------------------------------------
    // The print area in paper millimetres (centre, page size and print factor).
    MFloatRect GetPrintArea() const;
    // Page size (and, unless keepCentre, centre) from the application's printer; m_printArea follows.
    // The printer's orientation follows the sheet's unless the user chose one.
    void UpdatePrinterPage(BOOL keepCentre);
    // After the printer or its paper changed: the page anew, the centre kept only for the same page.
    void OnPrinterChanged();
    void FollowSheetOrientation();
    virtual BOOL OnPreparePrinting(CPrintInfo* info);
    virtual void OnBeginPrinting(CDC* dc, CPrintInfo* info);
    virtual void OnPrint(CDC* dc, CPrintInfo* info);
    virtual void OnEndPrinting(CDC* dc, CPrintInfo* info);
    // Commands 57607 (direct FALSE) and 57608 (direct TRUE), and 57609. TRUE when the page was
    // printed; FALSE when the dialog was cancelled or printing failed (the user has been told).
    BOOL OnFilePrint(BOOL direct);
    void OnFilePrintPreview();
    // Paper millimetres per millimetre of the printed page (values <= 0 print as 1).
    double m_printFactor = 1.0;
    // Centre of the print area in paper millimetres (the sheet spans y from -height to 0).
    MFloatPoint m_printCentre;
    // Printable page of the application's printer in millimetres (0 without a printer).
    double m_pageWidth = 0.0;
    double m_pageHeight = 0.0;

    // ----- layer tabs ---------------------------------------------------------------------------
    BOOL IsTabActive(int index) override;
    BOOL IsTabHidden(int index) override;
    BOOL IsTabPrintable(int index) override;
    BOOL IsTabSelectable(int index) override;
    void SetActiveTab(int index) override;
    void OnTabSelect(int index, UINT flags, int x, int y) override;
    void OnTabDblClk(int index, UINT flags, int x, int y) override;
    void OnTabRClick(int index, UINT flags, int x, int y) override;
    // The layer and its tab (forced, whatever its name) at index; appended for an index outside the
    // layers. The document owns the layer afterwards.
    void InsertLayerAt(int index, MLayer* layer);
    // Removes tab and layer (-1: the last) with an undo record; the tab row's current becomes 0.
    MLayer* RemoveLayerAt(int index);
    // Makes a tab current (-1: the last) unless it is already (or forced); TRUE when the view must
    // repaint for it.
    BOOL SelectLayerTab(int index, BOOL force);

    // ----- layer, settings and edit commands (TessarayViewLayerCommands.cpp) --------------------
    void OnLayerSettings();
    // A new layer at the current tab, or after the last one (append).
    void OnInsertLayer(BOOL append);
    void OnMoveLayer();
    void OnCopyLayer();
    void OnGridSettings();
    void OnPaperSettings();
    void OnOptions();
    void OnSelectAll();
    void OnEditClear();
    // Trims the name; TRUE when it is a valid layer name that no layer but `own` has. Otherwise
    // message 62699 and FALSE.
    BOOL CheckLayerName(CString& name, const MLayer* own);

    // ----- input ------------------------------------------------------------------------------
    void OnClientLButtonDown(UINT flags, int x, int y) override;
    void OnClientLButtonUp(UINT flags, int x, int y) override;
    void OnClientMouseMove(UINT flags, int x, int y) override;
    void OnClientLButtonDblClk(UINT flags, int x, int y) override;
    void OnClientRButtonDown(UINT flags, int x, int y) override;
    BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message) override;
    BOOL OnMouseWheel(UINT nFlags, short zDelta, CPoint pt) override;
    void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags) override;
    void OnSize(UINT nType, int cx, int cy) override;
    void OnMButtonDown(UINT nFlags, CPoint point) override;

    // The status panes' texts: "(%6g, %6g)" of the current point and of its offset from the anchor.
    std::string FormatPositionPane();
    std::string FormatOffsetPane();

private:
    void RegisterCommands();
    void RegisterViewCommands();
    void RegisterClipboardCommands();
    void RegisterPrintCommands();
    void RegisterLayerCommands();
    // The frame's zoom box to the zoom in force, unless the user is typing into it.
    void ShowZoomInFrame();
    BOOL RouteOwn(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo);
    void SwitchTool(MViewTool* chosen);
    // Follows a mouse message: erases the crosshair and marker, lets the tool act, then draws
    // both at the tool's current point.
    template <class ToolCall>
    void TrackPointer(UINT flags, int x, int y, ToolCall call);
    void DrawOriginCross(CDC* dc);
    void DrawPrintArea(CDC* dc);
    void DrawCrosshair(CDC* dc);
    void DrawMarker(CDC* dc);
    // Erases the crosshair and marker before the surface moves or the mapping changes (a scrolled
    // or repainted part would otherwise hold them cut or displaced); TRUE when they were shown.
    bool HideCrosshair();
    // Places both at the tracked point across the whole client area at the mapping in force, and
    // draws them.
    void ShowCrosshair();
    MFloatPoint TrackedPoint() const;
    WORD DisplayFlags() const;
    MLayer* GetLayer(int index) const;
    int LayerCount() const;
    void SetCurrentLayer(int index);
    void ToggleLayerFlag(int flag);
    void SetOtherLayerMode(WORD mode);
    // Grid pitch and user origin from the document, then the scale, sheet and grid.
    void FollowDocumentPaper();
    // Whether the sheet at the current zoom stays inside the scroll view's 16-bit range.
    bool SheetFits();
    // Recalculates every shape and notes the mapping it was done for.
    void RecalcDrawing();
    // Whether the last RecalcDrawing still holds: shapes keep sizes in pixels and paper millimetres.
    bool RecalculatedForMapping() const;
    // The scales and offsets the shapes' sizes in pixels and paper millimetres follow.
    std::array<double, 6> CurrentMapping() const;
    // FitPaperScaleToDrawing up to the move: the drawing is left for one recalculation at the
    // mapping it will be shown at.
    void FitAndCentreDrawing();

    MTessarayDoc* m_document = nullptr;
    MFloatPoint m_anchorPoint;
    bool m_initialised = false;
    // The whole-sheet first view of the drawing stands until the user zooms: resizes refit it.
    bool m_firstViewPending = false;
    // The first update of a window that is not on screen: its zoom invalidates without painting.
    bool m_paintWhenShown = false;
    // The mapping of the last RecalcDrawing, while no shape has changed since.
    std::optional<std::array<double, 6>> m_recalculatedMapping;
    // Device offset that centres the sheet in a larger client area.
    CPoint m_centreOffset;
    MFloatPoint m_gridPitch{1000.0, 1000.0};
    std::unique_ptr<MGrid> m_grid;
    // Whether the crosshair and marker are on the surface (none before the pointer first moves).
    bool m_crossShown = false;
    CPoint m_crossH[2];
    CPoint m_crossV[2];
    CPoint m_markerPoint;
    int m_markerShown = 0;
    MViewTool* m_currentTool = nullptr;
    // The pointer's drawing point when no tool follows it.
    MFloatPoint m_cursorPoint;
};
