// Helpers of the view tests: a drawing view in a real (offscreen) window over a document, a tool
// that records what the view asks of it, a tool array of such tools, and real mouse input.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>
#include <QWidget>
#include <QWindow>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "document/ClassRegistry.h"
#include "document/Layer.h"
#include "document/TessarayDoc.h"
#include "model/ClassRegistry.h"
#include "model/settings/LineStyle.h"
#include "model/settings/OptionRecord.h"
#include "model/shapes/curves/CircleShape.h"
#include "model/shapes/lines/LineShape.h"
#include "platform/gdi/DC.h"
#include "platform/gdi/QtGdi.h"
#include "platform/ui/CmdUI.h"
#include "platform/ui/QtView.h"
#include "tests/support/ImagePixels.h"
#include "tests/support/TestSupport.h"
#include "view/Grid.h"
#include "view/TessarayView.h"
#include "view/ViewTool.h"

Q_GUI_EXPORT void qt_handleMouseEvent(QWindow* window, const QPointF& local, const QPointF& global,
                                      Qt::MouseButtons state, Qt::MouseButton button, QEvent::Type type,
                                      Qt::KeyboardModifiers mods, int timestamp);

namespace viewtest {

// A tool that records the view's calls and follows the pointer without snapping.
class RecordingTool : public MViewTool {
public:
    RecordingTool(UINT id, CString title) : m_id(id), m_title(std::move(title)) {}

    UINT GetCommandId() const override { return m_id; }
    CString GetKey() const override { return m_title; }
    CString GetTitle() const override { return m_title; }
    BOOL IsAutoLayerCapable() const override { return FALSE; }
    CString GetAutoLayerName() const override { return {}; }
    void SetAutoLayerName(const CString&) override {}

    void Reset() override {
        ++resets;
        log.push_back("Reset");
    }
    void End(MTessarayView*, BOOL switching) override {
        ++ends;
        lastSwitching = switching;
        log.push_back(switching ? "End(TRUE)" : "End(FALSE)");
    }
    BOOL ReturnsToPreviousTool() override { return returnsToPrevious; }
    BOOL OnViewCmdMsg(MTessarayView* view, UINT id, int code, void* extra,
                      AFX_CMDHANDLERINFO* info) override {
        if (handles.count(id) == 0 && info) return FALSE;
        if (info) return TRUE;  // only asked whether a handler exists
        if (code == CN_COMMAND) commands.push_back(id);
        if (handles.count(id) == 0) return FALSE;
        if (code == CN_COMMAND) log.push_back("Command " + std::to_string(id));
        if (code == CN_UPDATE_COMMAND_UI) static_cast<CCmdUI*>(extra)->Enable(TRUE);
        return TRUE;
    }
    BOOL CanCancel() override { return cancellable; }
    void OnCancel(MTessarayView*) override { log.push_back("Cancel"); }
    void OnLButtonDown(MTessarayView* view, int x, int y, UINT) override { Follow(view, x, y, "Down"); }
    void OnLButtonUp(MTessarayView* view, int x, int y, UINT) override {
        Follow(view, x, y, "Up");
        view->SetAnchorPoint(current);
    }
    void OnMouseMove(MTessarayView* view, int x, int y, UINT) override { Follow(view, x, y, "Move"); }
    void OnLButtonDblClk(MTessarayView*, int, int, UINT) override { log.push_back("DblClk"); }
    void OnRButtonDown(MTessarayView*, int, int, UINT) override { log.push_back("RDown"); }
    BOOL OnSetCursor(MTessarayView*, int, int, UINT) override { return FALSE; }
    void DrawTracker(MTessarayView* view, CDC* dc) override {
        if (!tracker) return;
        const int old = dc->SetROP2(R2_XORPEN);
        CPen pen(PS_SOLID, 1, RGB(255, 255, 255));
        CPen* oldPen = dc->SelectObject(&pen);
        CGdiObject* oldBrush = dc->SelectStockObject(NULL_BRUSH);
        const CPoint a = view->DocToLogical(trackerFrom);
        const CPoint b = view->DocToLogical(current);
        dc->Rectangle(std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x) + 1, std::max(a.y, b.y) + 1);
        dc->SelectObject(oldPen);
        dc->SelectObject(oldBrush);
        dc->SetROP2(old);
    }
    void UpdatePrompt() override {}
    void GetCurrentPointDP(MFloatPoint* out, MTessarayView* view) override {
        *out = view->DocToUser(current);
    }
    void GetAnchorPointDP(MFloatPoint* out, MTessarayView* view) override {
        *out = view->DocToUser(current) - view->DocToUser(view->GetAnchorPoint());
    }
    int GetSnapMarkFlag() const override { return mark; }
    MFloatPoint GetCurrentPoint() const override { return current; }

    // Follows the pointer; with a tracker, erases and redraws it in XOR like a rubber band.
    void Follow(MTessarayView* view, int x, int y, const char* what) {
        std::unique_ptr<CDC> dc = view->GetPreparedClientDC();
        DrawTracker(view, dc.get());
        current = view->DeviceToDoc(dc.get(), CPoint(x, y));
        DrawTracker(view, dc.get());
        log.push_back(what);
    }

    UINT m_id;
    CString m_title;
    std::vector<std::string> log;
    std::vector<UINT> commands;
    std::set<UINT> handles;
    int resets = 0;
    int ends = 0;
    BOOL lastSwitching = FALSE;
    BOOL returnsToPrevious = FALSE;
    BOOL cancellable = FALSE;
    bool tracker = false;
    MFloatPoint trackerFrom;
    MFloatPoint current;
    int mark = 0;
};

class FakeToolArray : public MViewToolArray {
public:
    int GetToolCount() const override { return static_cast<int>(tools.size()); }
    MDocumentTool* GetToolAt(int index) const override {
        return index >= 0 && index < GetToolCount() ? tools[static_cast<std::size_t>(index)].get() : nullptr;
    }
    RecordingTool* Add(UINT id, const CString& title) {
        tools.push_back(std::make_unique<RecordingTool>(id, title));
        return tools.back().get();
    }
    std::vector<std::unique_ptr<RecordingTool>> tools;
};

// A document of the default paper with the given layers ("Layer1" first) and a drawing view over
// it in a shown window of the given size, initially updated.
class ViewHarness {
public:
    explicit ViewHarness(int width = 800, int height = 600, int layers = 1) {
        RegisterModelClasses();
        RegisterDocumentClasses();
        doc.OnNewDocument();
        for (int i = 1; i < layers; ++i)
            doc.AddNewLayer();
        doc.SetModifiedFlag(FALSE);
        view = std::make_unique<MTessarayView>();
        view->SetDocument(&doc);
        view->Create(nullptr, 1);
        Window()->resize(width, height);
        Window()->show();
        QApplication::processEvents();
        view->OnInitialUpdate();
        QApplication::processEvents();
    }
    ~ViewHarness() { view.reset(); }

    QWidget* Window() const { return view->GetFrameWindow()->GetWidget(); }
    QWidget* Client() const { return view->GetWidget(); }

    // Adds a line in drawing units to a layer (the document owns it).
    MLineShape* AddLine(double x0, double y0, double x1, double y1, int layer = 0) {
        auto* line = new MLineShape(MFloatPoint(x0, y0), MFloatPoint(x1, y1));
        doc.AppendShape(line, layer);
        line->Recalc(view.get());
        return line;
    }
    MCircleShape* AddCircle(double cx, double cy, double r, int layer = 0) {
        auto* circle = new MCircleShape();
        circle->SetCircle(cx, cy, r);
        doc.AppendShape(circle, layer);
        circle->Recalc(view.get());
        return circle;
    }

    // Paints everything now and returns the surface.
    QImage Repaint() {
        view->Invalidate();
        view->UpdateWindow();
        return ViewSurfaceImage(*view).copy();
    }
    QImage Surface() const { return ViewSurfaceImage(*view).copy(); }

    // What an image device context of the client's size shows for the same drawing and zoom.
    QImage RenderReference() {
        CRect client;
        view->GetClientRect(&client);
        CDC dc;
        dc.CreateImageDC(client.Width(), client.Height());
        view->OnEraseBkgnd(&dc);
        view->OnPrepareDC(&dc, nullptr);
        view->OnDraw(&dc);
        return GetDCImage(dc)->copy();
    }

    // Real input through the top-level window, at a point of the view's client area. time 0 takes
    // the next event time.
    void MouseAt(QEvent::Type type, CPoint client, Qt::MouseButton button = Qt::NoButton,
                 Qt::MouseButtons state = Qt::NoButton, Qt::KeyboardModifiers mods = Qt::NoModifier,
                 int time = 0) {
        const QPoint inWindow = Client()->mapTo(Window(), QPoint(client.x, client.y));
        qt_handleMouseEvent(Window()->windowHandle(), QPointF(inWindow),
                            QPointF(Window()->mapToGlobal(inWindow)), state, button, type, mods,
                            time ? time : NextEventTime());
        QApplication::processEvents();
    }
    // Two clicks close enough in time to make a double click.
    void DoubleClick(CPoint client, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        const int t = NextEventTime();
        MouseAt(QEvent::MouseButtonPress, client, Qt::LeftButton, Qt::LeftButton, mods, t);
        MouseAt(QEvent::MouseButtonRelease, client, Qt::LeftButton, Qt::NoButton, mods, t + 10);
        MouseAt(QEvent::MouseButtonPress, client, Qt::LeftButton, Qt::LeftButton, mods, t + 20);
        MouseAt(QEvent::MouseButtonRelease, client, Qt::LeftButton, Qt::NoButton, mods, t + 30);
    }
    void Move(CPoint client, Qt::MouseButtons state = Qt::NoButton) {
        MouseAt(QEvent::MouseMove, client, Qt::NoButton, state);
    }
    void Click(CPoint client, Qt::MouseButton button = Qt::LeftButton) {
        MouseAt(QEvent::MouseButtonPress, client, button, button);
        MouseAt(QEvent::MouseButtonRelease, client, button, Qt::NoButton);
    }
    void Wheel(int delta, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        const QPoint p(20, 20);
        QWheelEvent e(QPointF(p), QPointF(Client()->mapToGlobal(p)), QPoint(), QPoint(0, delta), Qt::NoButton,
                      mods, Qt::NoScrollPhase, false);
        QApplication::sendEvent(Client(), &e);
    }
    void Key(int key) {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
        QApplication::sendEvent(Client(), &press);
        QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier);
        QApplication::sendEvent(Client(), &release);
    }
    // A point of the tab row (client coordinates) inside tab i, or (-1, -1).
    CPoint TabPoint(int i) {
        const CRect row = view->GetRowRect();
        const int y = row.top + row.Height() / 2;
        for (int x = row.left; x < row.right; ++x)
            if (view->TabHitTest(x, y) == i && view->TabHitTest(x + 3, y) == i) return CPoint(x + 2, y);
        return CPoint(-1, -1);
    }

    MTessarayDoc doc;
    std::unique_ptr<MTessarayView> view;

private:
    // Event times only grow, also across windows, so that no press is taken for a double click of
    // an earlier test's.
    static int NextEventTime() {
        static int time = 1000000;
        return time += 1000;
    }
};

using ::DifferentPixels;

inline COLORREF PixelAt(const QImage& image, int x, int y) {
    return FromQRgb(image.pixel(x, y));
}

}  // namespace viewtest
