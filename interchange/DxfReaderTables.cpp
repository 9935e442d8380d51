// The reader's HEADER and TABLES: the limits, the version and code page, and the line types, layers
// and text styles the entities refer to.
#include <cmath>
#include <string>
#include <vector>

#include "document/Layer.h"
#include "document/TessarayDoc.h"
#include "interchange/DxfColor.h"
#include "interchange/DxfReader.h"
#include "interchange/DxfReaderKeywords.h"
#include "model/settings/LineStyle.h"
#include "platform/TextFile.h"

namespace {

int TableValue(std::string_view name) {
    if (name == "LTYPE") return kDxfLineTypes;
    if (name == "LAYER") return kDxfLayers;
    if (name == "STYLE") return kDxfStyles;
    if (name == "ENDTAB") return kDxfBetweenTables;
    return kDxfIgnoredTable;
}

}  // namespace

void MDXFReader::HandleHeader(int code, std::string_view value) {
    StoreGroup(code, value);
    const std::string& variable = m_store.variable;
    if (code == 10) {
        if (variable == "$LIMMIN")
            m_limits.left = m_store.points[0].x;
        else if (variable == "$LIMMAX")
            m_limits.right = m_store.points[0].x;
    } else if (code == 20) {
        if (variable == "$LIMMIN")
            m_limits.bottom = m_store.points[0].y;
        else if (variable == "$LIMMAX")
            m_limits.top = m_store.points[0].y;
    } else if (code == 1 && variable == "$ACADVER") {
        m_encoding.SetVersion(value);
    } else if (code == 3 && variable == "$DWGCODEPAGE") {
        m_encoding.SetCodePage(value);
    }
}

void MDXFReader::HandleTables(int code, std::string_view value) {
    switch (m_tableState) {
        case kDxfBetweenTables:
            if (code == 0 && DxfKeyword(value) == "TABLE") m_tableState = kDxfAfterTable;
            return;
        case kDxfAfterTable:
            if (code == 999) return;
            m_tableState = code == 2 ? TableValue(DxfKeyword(value)) : kDxfIgnoredTable;
            return;
        case kDxfLineTypes:
            HandleLineType(code, value);
            break;
        case kDxfLayers:
            HandleLayer(code, value);
            break;
        case kDxfStyles:
            HandleStyle(code, value);
            break;
        default:
            break;
    }
    if (code == 0 && DxfKeyword(value) == "ENDTAB") m_tableState = kDxfBetweenTables;
}

void MDXFReader::HandleLineType(int code, std::string_view value) {
    if (code == 2) {
        m_lineTypeName = DecodeDxfPercentCodes(m_encoding.Decode(value));
        m_dashes.clear();
    } else if (code == 49) {
        m_dashes.push_back(DxfReal(value));
    } else if (code == 0) {
        if (!m_lineTypeName.empty()) m_lineTypes[DxfUpper(m_lineTypeName)] = MatchLineStyle(m_dashes);
        ForgetLayerTables();
        m_lineTypeName.clear();
        m_dashes.clear();
    }
}

void MDXFReader::HandleLayer(int code, std::string_view value) {
    if (code == 2 || code == 6 || code == 62) {
        StoreGroup(code, value);
        return;
    }
    if (code != 0) return;
    // Entities name their layer in group 8, which has no "%%" codes: the entry's name is taken as
    // written so that the two always match.
    const CString& name = m_store.rawName;
    if (!name.empty()) {
        LayerIndex(name);
        m_layerColors[name] = m_store.color;
        m_layerLineTypes[name] = m_store.lineType;
        ForgetLayerTables();
    }
    ResetGroupStore(true);
}

void MDXFReader::HandleStyle(int code, std::string_view value) {
    if (code == 2 || code == 70) {
        StoreGroup(code, value);
        return;
    }
    if (code != 0) return;
    if (!m_store.rawName.empty()) m_styleFlags[DxfUpper(m_store.rawName)] = m_store.i70;
    ResetGroupStore(true);
}

int MDXFReader::LayerIndex(const CString& name) {
    if (m_lastLayerIndex >= 0 && name == m_lastLayerName) return m_lastLayerIndex;
    const auto it = m_layerIndex.find(name);
    int index = it != m_layerIndex.end() ? it->second : -1;
    if (index < 0) {
        // A name longer than the program's own file keeps is cut like a long text.
        std::string layerName = name;
        CutLongText(layerName);
        index = m_doc.AddLayer(new MLayer(layerName, TRUE, TRUE, TRUE));
        m_layerIndex.emplace(name, index);
    }
    m_lastLayerName = name;
    m_lastLayerIndex = index;
    return index;
}

int MDXFReader::MatchLineStyle(const std::vector<double>& dashes) {
    const std::size_t n = dashes.size();
    double length = 0.0;
    for (double d : dashes)
        length += std::fabs(d);
    if (n == 0 || !(length > 0.0) || !std::isfinite(length)) return 0;

    const MLineStyleTable& table = GetLineStyleTable();
    double bestError = 1e16, bestDifference = 1e16;
    int best = 0;
    for (int k = 0; k < table.GetSize(); ++k) {
        const MDoubleArray& style = table.GetAt(k).m_dashes;
        const std::size_t m = static_cast<std::size_t>(style.GetSize());
        if (m == 0) continue;
        double styleLength = 0.0;
        for (std::size_t j = 0; j < m; ++j)
            styleLength += std::fabs(style[static_cast<int>(j)]);
        const std::size_t count = std::max(n, m);
        const double h = static_cast<double>(count) * length / static_cast<double>(n);
        const double f = static_cast<double>(count) * styleLength / static_cast<double>(m);
        if (f == 0.0) continue;
        double error = 0.0;
        for (std::size_t j = 0; j < count; ++j) {
            const double e = dashes[j % n] / h - style[static_cast<int>(j % m)] / f;
            error += e * e;
        }
        const double difference = std::fabs(h - f);
        if (error < bestError || (error == bestError && difference < bestDifference)) {
            bestError = error;
            bestDifference = difference;
            best = k;
        }
    }
    return best;
}

COLORREF MDXFReader::ColorOfNumber(int number) {
    if (number >= 1 && number <= 255) return GetDXFPaletteColor(number);
    if (number < 0) return kNoColor;
    if (number == 0) return kByBlockColor;
    return 0;
}
