// The container item of an embedded or linked object. No object server exists on this system, so
// the item is the object's stored record, kept byte for byte as it was read (from a drawing file,
// the clipboard or a duplicate) and written back unchanged; what can be shown of it (class name,
// cached picture and extent) is read from it once.
//
// Archive form: the record's length (DWORD) and the record. Text form: the record as one binary
// block (deflated when the compression option is on).
#pragma once

#include <iosfwd>
#include <memory>
#include <vector>

#include "platform/Object.h"
#include "view/ole/OleItemRecord.h"

class CDocument;
class MDib;
class MOleClientShape;

// What can be shown of a record: its description and its cached picture as an image (null when
// the record holds none that can be shown).
struct MOleShown {
    MOleShown();
    ~MOleShown();
    MOleShown(MOleShown&&) noexcept;
    MOleShown& operator=(MOleShown&&) noexcept;
    void Read(const std::vector<BYTE>& record);

    MOleItemPresentation info;
    std::unique_ptr<MDib> picture;
};

// The notifications an object sends its item (the ones the shape reacts to).
enum : int { OLE_CHANGED = 0, OLE_CHANGED_STATE = 4, OLE_CHANGED_ASPECT = 5 };

class MCntrItem : public CObject {
    DECLARE_SERIAL(MCntrItem)
public:
    // An item of no document, for loading (sizeFromItem 0).
    MCntrItem();
    // A new object's item, registered with the document (sizeFromItem 1).
    explicit MCntrItem(CDocument* document);
    ~MCntrItem() override;
    MCntrItem(const MCntrItem&) = delete;
    MCntrItem& operator=(const MCntrItem&) = delete;

    // Loading sets sizeFromItem to 0 and joins the archive's document when the item has none. A
    // damaged record raises the archive exception and leaves the item as it was.
    void Serialize(CArchive& ar) override;
    // The object changed: OLE_CHANGED takes the size once and redraws the shape; the state and
    // aspect changes only redraw it.
    void OnChange(int code, DWORD param);
    // The record as a binary block, compression requested.
    void WriteItemText(std::ostream& os) const;
    // Reads the block into the record (sizeFromItem 0). Without bytes: the message "Invalid ole
    // file" and FALSE, the item unchanged.
    BOOL ReadItemText(CDocument* document, std::istream& is);
    // Only while sizeFromItem is set and the object's extent is known: the shape takes the
    // object's natural size on paper (extent in 0.01 mm divided by the paper scale), all views
    // redraw it, and sizeFromItem becomes 0.
    void UpdateSizeFromItem();

    const std::vector<BYTE>& GetRecord() const { return m_record; }
    // Takes the record and reads what can be shown of it.
    void SetRecord(std::vector<BYTE> record);
    const MOleShown& GetShown() const { return m_shown; }
    CDocument* GetDocument() const { return m_document; }
    void SetDocument(CDocument* document) { m_document = document; }

    int m_sizeFromItem = 0;
    // The shape owning this item (not owned).
    MOleClientShape* m_shape = nullptr;

private:
    std::vector<BYTE> m_record;
    MOleShown m_shown;
    CDocument* m_document = nullptr;
};

// The message of a record that cannot be read.
inline constexpr const char* kInvalidOleFile = "Invalid ole file";
// The message of a shape that has nothing to write.
inline constexpr const char* kOleItemNull = "OLE item is NULL at Write";
