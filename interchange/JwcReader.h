// The import of JW_CAD drawings (".jwc") into the open document: the paper and scale from the
// settings line, the marks, lines, arcs, texts and points of the records, and the document layers
// made from the JW layers that hold shapes, named from the file's group and layer names.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "document/Interchange.h"
#include "interchange/JwcReaderBase.h"
#include "model/PaperInfo.h"

class MTessarayDoc;

class MJWCReader : public MJWCReaderBase, public MDocumentReader {
public:
    static constexpr int kJWLayers = 256;
    // Variant flags of the header.
    enum : int { kFloatGroupScales = 1, kFixedPaperWidth = 2 };

    explicit MJWCReader(MTessarayDoc& doc);
    ~MJWCReader() override;

    // Asks the pen settings (cancel: 0 without a message), reads the file and checks it, before
    // the document is emptied. 0 with the message when the file cannot be read (62700), is no
    // JW_CAD drawing (249), is of an unknown variant (206), or is damaged (62700): counts,
    // addresses or values that do not fit the file. A refused file leaves the open drawing. A
    // scale that cannot be used is read as 1:1; that and records left out are told after the import.
    int Prepare(const std::string& path) override;
    // Prepares when that was not done, then imports the file.
    int Read(const std::string& path) override;
    // The check and the import of the file's bytes with the pens already set (SetPenSettings).
    int ReadBytes(std::string_view bytes);

    void AddShape(MCadShape* shape, int layer) override;
    // The document's paper scale.
    double GetUnitScale() const override;

    // The document layer of a JW layer, or -1.
    int GetDocumentLayer(int jwLayer) const;
    static CString DefaultLayerName(int jwLayer);

    MPaperSizeInfo m_paperSize;
    MPaperScaleInfo m_paperScale;
    double m_scaleDenominator = 1.0;
    int m_paperCode = 3;
    double m_paperWidthUnits = 518.0;
    std::int64_t m_markCount = 0;
    int m_variant = 0;

private:
    // Where the records lie in a file that passed the check, and its scale.
    struct Layout {
        double factor = 1.0;
        double scale = 1.0;
        std::uint64_t linesOffset = 0, arcsOffset = 0, textsOffset = 0, blockOffset = 0, stringLength = 0,
                      pointsOffset = 0, namesOffset = 0;
    };

    int Refuse(UINT id);
    // Everything is checked before the document changes; false after the message.
    bool Check(std::string_view bytes);
    // The scale (one that cannot be used is 1:1) and the paper of the settings line; false after
    // the message.
    bool CheckPaper(const std::vector<std::string>& tokens);
    // The import of bytes that passed the check.
    void Import(std::string_view bytes);
    void NameLayers(const BYTE* names);

    MTessarayDoc& m_doc;
    std::array<CString, kJWLayers> m_layerNames;
    std::array<int, kJWLayers> m_layerMap;
    Layout m_layout;
    std::string m_bytes;  // the file Prepare read and checked
    bool m_prepared = false;
};

// The paper entry of a JW_CAD paper code; any unknown code is A3.
MPaperSizeInfo GetJWCPaperSize(int code);
