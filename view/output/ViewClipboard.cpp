// The view's clipboard and object commands: copy and cut put the selection on the clipboard in the
// private format, as a metafile and as a bitmap; paste takes the private format first, then any
// picture as a bitmap shape; parts are placed from the parts bar. Objects of other programs cannot
// be created, linked or pasted as objects here (no object server exists on this system).
#include <algorithm>
#include <vector>

#include "document/IncomingShapes.h"
#include "document/TessarayDoc.h"
#include "document/UndoPackScope.h"
#include "document/parts/CadParts.h"
#include "model/Dib.h"
#include "model/shapes/containers/PackShape.h"
#include "model/shapes/picture/BitmapShape.h"
#include "platform/Archive.h"
#include "platform/File.h"
#include "platform/Strings.h"
#include "platform/gdi/DC.h"
#include "platform/gdi/SelectScope.h"
#include "platform/ui/Clipboard.h"
#include "platform/ui/CmdUI.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Cursor.h"
#include "platform/ui/Dialog.h"
#include "resources/ResourceIds.h"
#include "view/TessarayView.h"
#include "view/ViewFrame.h"
#include "view/ViewSelection.h"
#include "view/ViewTool.h"
#include "view/output/ViewMetafile.h"

namespace {

// The private format keeps every character (UTF-8); older builds of the program wrote, and read,
// only the code page form, which is still offered beside it and read when it is alone.
constexpr const char* kPrivateFormatName = "MTessaray Object Format UTF-8";
constexpr const char* kCodePageFormatName = "MTessaray Object Format";
constexpr const char* kNotPastedText = "次の図形は数値が正しくないため貼り付けませんでした:";
constexpr const char* kTextsCutText = "長すぎる文字列は途中までを貼り付けました。";
constexpr const char* kNoObjectEmbedding =
    "ｵﾌﾞｼﾞｪｸﾄの作成と貼り付け、ﾘﾝｸ、埋め込み先での編集はこのｼｽﾃﾑでは使えません。";
// The rendering of a bitmap gives up beyond this many pixels (the other renderings stay).
constexpr long long kMaxClipboardPixels = 64LL * 1024 * 1024;

// Paste special: the formats the clipboard offers that can be pasted.

void RegisterPasteSpecialTemplate() {
    static bool registered = false;
    if (registered) return;
    registered = true;
    CDialog::RegisterTemplate(
        IDD_PASTE_SPECIAL,
        {{DlgOp::Dialog, static_cast<int>(IDD_PASTE_SPECIAL), "形式を選択して貼り付け", 0, 0, 0},
         {DlgOp::Label, kIdStatic, "貼り付ける形式(&A):", 0, 0, 0},
         {DlgOp::Row, kIdStatic, nullptr, 0, 0, 0},
         {DlgOp::ListBox, IDC_PASTE_FORMATS, nullptr, 0, 30, 5},
         {DlgOp::Row, kIdStatic, nullptr, 0, 0, 0},
         {DlgOp::Label, kIdStatic, "ｵﾌﾞｼﾞｪｸﾄとしての貼り付けとﾘﾝｸはこのｼｽﾃﾑでは使えません。", 0, 0, 0},
         {DlgOp::Buttons, kIdStatic, nullptr, 0, 0, 0},
         {DlgOp::DefPushButton, kIdOk, "OK", 0, 0, 0},
         {DlgOp::PushButton, kIdCancel, "ｷｬﾝｾﾙ", 0, 0, 0},
         {DlgOp::EndDialog, kIdStatic, nullptr, 0, 0, 0}});
}

class MPasteSpecialDialog : public CDialog {
public:
    explicit MPasteSpecialDialog(std::vector<std::pair<UINT, std::string>> entries)
        : CDialog(IDD_PASTE_SPECIAL), m_entries(std::move(entries)) {}
    UINT m_chosen = 0;

protected:
    BOOL OnInitDialog() override {
        if (auto* list = GetDlgItemAs<CListBox>(IDC_PASTE_FORMATS)) {
            for (const auto& entry : m_entries)
                list->AddString(entry.second);
            list->SetCurSel(0);
        }
        return CDialog::OnInitDialog();
    }
    void OnOK() override {
        auto* list = GetDlgItemAs<CListBox>(IDC_PASTE_FORMATS);
        const int at = list ? list->GetCurSel() : -1;
        if (at < 0 || at >= static_cast<int>(m_entries.size())) return;
        m_chosen = m_entries[static_cast<std::size_t>(at)].first;
        CDialog::OnOK();
    }

private:
    std::vector<std::pair<UINT, std::string>> m_entries;
};

UINT CodePageClipboardFormat() {
    static const UINT format = RegisterClipboardFormat(kCodePageFormatName);
    return format;
}

bool IsPrivateFormat(UINT format) {
    return format == MTessarayView::GetPrivateClipboardFormat() || format == CodePageClipboardFormat();
}

// The private format the clipboard holds, the one that keeps every character first; 0 for none.
UINT AvailablePrivateFormat(const COleDataObject& data) {
    for (UINT format : {MTessarayView::GetPrivateClipboardFormat(), CodePageClipboardFormat()})
        if (data.IsDataAvailable(format)) return format;
    return 0;
}

std::vector<BYTE> ArchiveOf(CObject* object, CDocument* document, UINT mode) {
    CMemFile file;
    CArchive ar(&file, CArchive::store | mode);
    ar.m_pDocument = document;
    ar.WriteObject(object);
    ar.Close();
    return file.Detach();
}

MSelectionServices* SelectServices(MTessarayView& view) {
    return GetSelectionServices(view.GetSelectTool());
}

}  // namespace

MSelectionServices* GetSelectionServices(MViewTool* tool) {
    return dynamic_cast<MSelectionServices*>(tool);
}

UINT MTessarayView::GetPrivateClipboardFormat() {
    static const UINT format = RegisterClipboardFormat(kPrivateFormatName);
    return format;
}

void MTessarayView::RegisterClipboardCommands() {
    GetPrivateClipboardFormat();
    CodePageClipboardFormat();
    CCommandMap& map = Commands();
    auto canCopy = [this] { return HasSelection() && SelectServices(*this) != nullptr; };
    map.OnCommand(
        ID_EDIT_COPY, [this] { CopySelectionToClipboard(); },
        [canCopy](CCmdUI* ui) { ui->Enable(canCopy()); });
    map.OnCommand(
        ID_EDIT_CUT,
        [this] {
            CopySelectionToClipboard();
            if (MSelectionServices* select = SelectServices(*this)) select->DeleteSelection(this);
        },
        [canCopy](CCmdUI* ui) { ui->Enable(canCopy()); });
    auto canPaste = [] {
        return IsClipboardFormatAvailable(GetPrivateClipboardFormat()) ||
               IsClipboardFormatAvailable(CodePageClipboardFormat()) || IsClipboardFormatAvailable(CF_DIB);
    };
    map.OnCommand(
        ID_EDIT_PASTE, [this] { PasteFromClipboard(); }, [canPaste](CCmdUI* ui) { ui->Enable(canPaste()); });
    map.OnCommand(
        ID_EDIT_PASTE_SPECIAL, [this] { PasteSpecial(); },
        [canPaste](CCmdUI* ui) { ui->Enable(canPaste()); });
    map.OnCommand(
        ID_OLE_INSERT_NEW, [this] { InsertOleObject(); }, [](CCmdUI* ui) { ui->Enable(TRUE); });
    map.OnNotify(NM_DBLCLK, IDC_PARTS_LIST, [this](NMHDR*, LRESULT*) { InsertSelectedPart(); });
    map.OnNotify(NM_RETURN, IDC_PARTS_LIST, [this](NMHDR*, LRESULT*) { InsertSelectedPart(); });
}

// ----- copy -------------------------------------------------------------------------------------

void MTessarayView::CopySelectionToClipboard() {
    if (!HasSelection()) return;
    MSelectionServices* select = SelectServices(*this);
    if (!select) return;
    std::unique_ptr<MPackShape> pack(select->CreateSelectionPack(this));
    if (!pack) return;
    MScreenScaleRestorer restore(*this);
    COleDataSource source;

    // The private format: the pack with its run-time class in an archive, in both forms.
    source.CacheGlobalData(GetPrivateClipboardFormat(), ArchiveOf(pack.get(), m_document, CArchive::utf8));
    source.CacheGlobalData(CodePageClipboardFormat(), ArchiveOf(pack.get(), m_document, 0));

    // An enhanced metafile at zoom 1 on the reference device.
    std::vector<BYTE> emf = RenderShapeMetafile(*this, pack.get());
    if (!emf.empty()) source.CacheGlobalData(CF_ENHMETAFILE, std::move(emf));

    // A bitmap at zoom 1, three pixels larger than the draw extent on every side, on white.
    std::unique_ptr<CDC> client = GetClientDC();
    SetScale(client.get(), 1.0);
    CRect r = DocToLogicalRect(pack->GetDrawExtent());
    r.NormalizeRect();
    r.InflateRect(3, 3);
    if (select->GetSelectedCount() == 1) {
        auto* bitmap = dynamic_cast<MBitmapShape*>(select->GetSelectedShape(0));
        if (bitmap && bitmap->HasImage()) {
            CMemFile file;
            CArchive ar(&file, CArchive::store);
            bitmap->GetImage()->WritePackedDib(ar);
            ar.Close();
            source.CacheGlobalData(CF_DIB, file.Detach());
        }
    }
    if (static_cast<long long>(r.Width()) * r.Height() <= kMaxClipboardPixels) {
        CDC memory;
        CBitmap picture;
        if (memory.CreateCompatibleDC(client.get()) &&
            picture.CreateCompatibleBitmap(client.get(), r.Width(), r.Height())) {
            CSelectScope selectPicture(&memory, &picture);
            memory.SetWindowOrg(r.left, r.top);
            memory.PatBlt(r.left, r.top, r.Width(), r.Height(), WHITENESS);
            pack->Draw(this, &memory);
            memory.Flush();
            source.CacheBitmap(picture);
        }
    }
    RecalcScale();
    source.SetClipboard();
}

// ----- paste ------------------------------------------------------------------------------------

MCadShape* MTessarayView::ReadShapeFromDataObject(COleDataObject& data, MIncomingShapes& incoming) {
    const UINT format = AvailablePrivateFormat(data);
    std::vector<BYTE> bytes;
    if (!format || !data.GetData(format, bytes) || bytes.empty()) return nullptr;
    CMemFile file(std::move(bytes));
    CArchive ar(&file, CArchive::load | (format == GetPrivateClipboardFormat() ? CArchive::utf8 : 0));
    ar.m_pDocument = m_document;
    std::unique_ptr<CObject> object(ar.ReadOwnedObject(RUNTIME_CLASS(MCadShape)));
    auto* shape = dynamic_cast<MCadShape*>(object.get());
    if (!shape) return nullptr;
    object.release();
    // The shapes are placed from their extent, so none may be infinite as read or as measured (a
    // text's box comes from its height); the move itself may overflow, so they are checked after it.
    std::unique_ptr<MPackShape> pack = incoming.AdmitMembers(std::unique_ptr<MCadShape>(shape));
    if (pack) {
        pack->Recalc(this);
        pack = incoming.AdmitMembers(std::move(pack));
    }
    if (!pack) return nullptr;
    PlaceAtViewCentre(pack.get());
    return incoming.AdmitMembers(std::move(pack)).release();
}

MBitmapShape* MTessarayView::CreateBitmapShapeFromDataObject(COleDataObject& data) {
    std::vector<BYTE> dib;
    if (!data.IsDataAvailable(CF_DIB) || !data.GetData(CF_DIB, dib)) return nullptr;
    auto shape = std::make_unique<MBitmapShape>();
    const double scale = m_document ? m_document->GetPaperInfo().GetScale() : 1.0;
    if (!shape->SetDib(dib.data(), dib.size(), scale)) return nullptr;
    PlaceAtViewCentre(shape.get());
    return shape.release();
}

void MTessarayView::InsertPastedShape(MCadShape* shape) {
    if (!shape) {
        AfxMessageBox(IDS_PASTE_FAILED, MB_OK | MB_ICONEXCLAMATION);
        if (m_document) m_document->CancelUndo();
        return;
    }
    std::vector<MCadShape*> shapes, packs;
    TakeApartPacks(shape, shapes, packs);
    // Inner packs are only wrappers (deleting one leaves its members); the outer one stays with the
    // caller.
    auto deleteInnerPacks = [&] {
        for (MCadShape* p : packs)
            if (p != shape) delete p;
    };
    SwitchToSelectTool();
    if (MSelectionServices* select = SelectServices(*this)) {
        try {
            select->InsertShape(this, shape);
        } catch (...) {
            // The tool took none of them: nobody else knows them.
            for (MCadShape* s : shapes)
                delete s;
            deleteInnerPacks();
            throw;
        }
        deleteInnerPacks();
        return;
    }
    // Without the select tool the shapes go straight into the drawing, as one undo step.
    if (!m_document) {
        for (MCadShape* s : shapes)
            delete s;
        deleteInnerPacks();
        return;
    }
    deleteInnerPacks();
    std::size_t added = 0;
    try {
        MUndoPackScope pack(*m_document, this);
        for (; added < shapes.size(); ++added) {
            shapes[added]->Recalc(this);
            m_document->AddShape(shapes[added], -1);
        }
    } catch (...) {
        for (std::size_t i = added; i < shapes.size(); ++i)
            delete shapes[i];
        throw;
    }
    for (MCadShape* s : shapes)
        s->Invalidate(this, TRUE);
}

void MTessarayView::PasteFromClipboard() {
    COleDataObject data;
    data.AttachClipboard();
    const UINT format = AvailablePrivateFormat(data);
    PasteFormat(data, format ? format : CF_DIB);
}

// Both pastes end here, so a failure is reported the same way whichever of them was asked for.
void MTessarayView::PasteFormat(COleDataObject& data, UINT format) {
    auto outOfMemory = [this] {
        if (!m_document) return;
        m_document->ReportOutOfMemory(this);
        m_document->CancelUndo();
    };
    try {
        if (IsPrivateFormat(format)) {
            MIncomingShapes incoming;
            MCadShape* shape = ReadShapeFromDataObject(data, incoming);
            // The pasted object itself goes; its shapes (or, when it is no pack, itself) stay.
            std::unique_ptr<MCadShape> pack(dynamic_cast<MPackShape*>(shape) ? shape : nullptr);
            // Data whose every shape was dropped says so; it did not fail to read.
            if (shape || !incoming.HasLosses()) InsertPastedShape(shape);
            const std::string losses = incoming.LossText(kNotPastedText, kTextsCutText);
            if (!losses.empty()) AfxMessageBox(losses, MB_OK | MB_ICONINFORMATION);
        } else {
            InsertPastedShape(CreateBitmapShapeFromDataObject(data));
        }
    } catch (const CMemoryException&) {
        outOfMemory();
    } catch (const CException&) {
        AfxMessageBox(IDS_PASTE_FAILED, MB_OK | MB_ICONEXCLAMATION);
        if (m_document) m_document->CancelUndo();
    } catch (const std::bad_alloc&) {
        outOfMemory();
    }
}

void MTessarayView::PasteSpecial() {
    COleDataObject data;
    data.AttachClipboard();
    std::vector<std::pair<UINT, std::string>> entries;
    if (const UINT format = AvailablePrivateFormat(data)) {
        const std::string names = AfxLoadString(IDS_PRIVATE_FORMAT_NAMES);
        entries.emplace_back(format, names.substr(0, names.find('\n')));
    }
    if (data.IsDataAvailable(CF_DIB)) entries.emplace_back(CF_DIB, "ﾃﾞﾊﾞｲｽ独立ﾋﾞｯﾄﾏｯﾌﾟ");
    if (entries.empty()) {
        AfxMessageBox(IDS_PASTE_FAILED, MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    RegisterPasteSpecialTemplate();
    MPasteSpecialDialog dialog(entries);
    if (dialog.DoModal() != IDOK) return;
    PasteFormat(data, dialog.m_chosen);
}

// ----- objects and parts ------------------------------------------------------------------------

void MTessarayView::InsertOleObject() {
    SwitchToSelectTool();
    AfxMessageBox(kNoObjectEmbedding, MB_OK | MB_ICONINFORMATION);
}

void MTessarayView::InsertSelectedPart() {
    MViewFrame* frame = GetViewFrame();
    MCadParts* part = frame ? frame->GetSelectedParts() : nullptr;
    if (!part) return;
    SwitchToSelectTool();
    std::unique_ptr<MCadShape> shape(part->Instantiate(this));
    if (!shape) return;
    PlaceAtViewCentre(shape.get());
    MCadShape* placed = shape.release();
    std::unique_ptr<MCadShape> pack(dynamic_cast<MPackShape*>(placed) ? placed : nullptr);
    InsertPastedShape(placed);
}
