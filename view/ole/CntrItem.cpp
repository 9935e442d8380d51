#include "view/ole/CntrItem.h"

#include <cmath>

#include "document/TessarayDoc.h"
#include "model/Dib.h"
#include "model/helpers/TextStream.h"
#include "platform/Archive.h"
#include "platform/Strings.h"
#include "view/ole/OleClientShape.h"

IMPLEMENT_SERIAL(MCntrItem, CObject, 0)

MOleShown::MOleShown() = default;
MOleShown::~MOleShown() = default;
MOleShown::MOleShown(MOleShown&&) noexcept = default;
MOleShown& MOleShown::operator=(MOleShown&&) noexcept = default;

void MOleShown::Read(const std::vector<BYTE>& record) {
    info = ReadOleItemPresentation(record.data(), record.size());
    picture.reset();
    if (info.dib.empty()) return;
    auto dib = std::make_unique<MDib>();
    if (dib->Attach(info.dib.data(), info.dib.size())) picture = std::move(dib);
    info.dib.clear();
    info.dib.shrink_to_fit();
}

MCntrItem::MCntrItem() = default;

MCntrItem::MCntrItem(CDocument* document) : m_sizeFromItem(1), m_document(document) {}

MCntrItem::~MCntrItem() = default;

void MCntrItem::SetRecord(std::vector<BYTE> record) {
    m_record = std::move(record);
    m_shown.Read(m_record);
}

void MCntrItem::Serialize(CArchive& ar) {
    if (ar.IsStoring()) {
        ar << static_cast<DWORD>(m_record.size());
        if (!m_record.empty()) ar.Write(m_record.data(), static_cast<UINT>(m_record.size()));
        return;
    }
    m_sizeFromItem = 0;
    DWORD n = 0;
    ar >> n;
    if (n > static_cast<DWORD>(kMaxBinaryBlock)) AfxThrowArchiveException(CArchiveException::badIndex);
    ar.CheckCount(n, 1);
    std::vector<BYTE> record(n);
    if (n) ar.Read(record.data(), n);
    SetRecord(std::move(record));
    if (!m_document) m_document = ar.m_pDocument;
}

void MCntrItem::OnChange(int code, DWORD) {
    if (code == OLE_CHANGED) UpdateSizeFromItem();
    if (code != OLE_CHANGED && code != OLE_CHANGED_STATE && code != OLE_CHANGED_ASPECT) return;
    if (m_document && m_shape) m_document->UpdateAllViews(nullptr, 1, m_shape);
}

void MCntrItem::WriteItemText(std::ostream& os) const {
    WriteBinaryBlock(os, m_record.data(), static_cast<int>(m_record.size()), TRUE);
}

BOOL MCntrItem::ReadItemText(CDocument* document, std::istream& is) {
    m_sizeFromItem = 0;
    int n = 0;
    std::unique_ptr<BYTE[]> bytes = ReadBinaryBlock(is, n);
    if (!bytes || n <= 0) {
        AfxMessageBox(kInvalidOleFile, MB_OK);
        return FALSE;
    }
    SetRecord(std::vector<BYTE>(bytes.get(), bytes.get() + n));
    if (!m_document) m_document = document;
    return TRUE;
}

void MCntrItem::UpdateSizeFromItem() {
    if (!m_sizeFromItem || !m_shape) return;
    const MOleItemPresentation& p = m_shown.info;
    if (p.width <= 0 || p.height <= 0) return;
    const auto* doc = dynamic_cast<MTessarayDoc*>(m_document);
    const double s = doc ? doc->GetPaperInfo().GetScale() : 1.0;
    if (!(s > 0) || !std::isfinite(s)) return;
    m_shape->SetSize(p.width * 0.01 / s, p.height * 0.01 / s);
    if (m_document) m_document->UpdateAllViews(nullptr, 1, m_shape);
    m_sizeFromItem = 0;
}
