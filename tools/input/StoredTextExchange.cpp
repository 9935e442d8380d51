#include "tools/input/StoredTextExchange.h"

#include <algorithm>

#include "model/helpers/StoredText.h"
#include "platform/Strings.h"
#include "platform/ui/Controls.h"
#include "platform/ui/DataExchange.h"
#include "resources/ResourceIds.h"

void DDX_StoredText(CDataExchange* pDX, int nIDC, std::string& text) {
    if (!pDX->m_bSaveAndValidate)
        if (auto* edit = pDX->m_pDlgWnd->GetDlgItemAs<CEdit>(nIDC)) edit->SetLimitText(0);
    DDX_Text(pDX, nIDC, text);
    if (!pDX->m_bSaveAndValidate) return;
    // A multi-line edit ends its lines with CR LF; the drawing keeps the LF alone, so a CR takes
    // no room of a line.
    std::string kept = text;
    kept.erase(std::remove(kept.begin(), kept.end(), '\r'), kept.end());
    if (!CutToStoredText(kept)) return;
    text = std::move(kept);
    AfxMessageBox(IDS_TEXT_CUT_TO_STORED, MB_OK | MB_ICONINFORMATION);
}
