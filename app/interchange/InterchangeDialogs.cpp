#include "app/interchange/InterchangeDialogs.h"

#include "app/interchange/DxfReadDialog.h"
#include "app/interchange/JwcSettingDialog.h"
#include "app/interchange/XdfReadDialog.h"
#include "interchange/JwcXdfInterchange.h"

void InstallJWCXDFImportUi() {
    static MJWCSettingDialogPrompt prompt;
    static MXDFReadDialog progress;
    SetJWCSettingPrompt(&prompt);
    SetXDFProgress(&progress);
    InstallJWCXDFInterchange();
}

void InstallDXFImportUi() {
    static MDXFImportDialogs dialogs;
    SetDXFImportUi(&dialogs);
}
