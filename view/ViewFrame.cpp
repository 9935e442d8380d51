#include "view/ViewFrame.h"

#include "document/parts/CadParts.h"
#include "platform/ui/WinApp.h"
#include "platform/ui/Wnd.h"

MViewFrame* GetViewFrame() {
    return dynamic_cast<MViewFrame*>(AfxGetMainWnd());
}

bool MViewFrame::AddPartsToCurrentList(std::unique_ptr<MCadParts>) {
    return false;
}
