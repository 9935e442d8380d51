#include "platform/ui/Beep.h"

#include <QApplication>

#include "platform/ProgramState.h"

namespace {

BeepHandler DefaultBeep() {
    return [](UINT) {
        if (qobject_cast<QApplication*>(QCoreApplication::instance())) QApplication::beep();
    };
}

}  // namespace

CProgramSlot<BeepHandler>& MessageBeepSlot() {
    static auto& slot = *new CProgramSlot<BeepHandler>(DefaultBeep);
    return slot;
}

BOOL MessageBeep(UINT type) {
    if (const BeepHandler& handler = MessageBeepSlot().Get()) handler(type);
    return TRUE;
}
