#include "view/ViewFrame.h"

#include "platform/ui/WinApp.h"
#include "platform/ui/Wnd.h"

MViewFrame* GetViewFrame() {
    return dynamic_cast<MViewFrame*>(AfxGetMainWnd());
}
