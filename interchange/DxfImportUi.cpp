#include "interchange/DxfImportUi.h"

namespace {
MDXFImportUi* g_ui = nullptr;
int g_pumping = 0;
}  // namespace

MDXFImportUi* GetDXFImportUi() {
    return g_ui;
}

MDXFImportUi* SetDXFImportUi(MDXFImportUi* ui) {
    MDXFImportUi* previous = g_ui;
    g_ui = ui;
    return previous;
}

BOOL IsDXFImportPumping() {
    return g_pumping > 0 ? TRUE : FALSE;
}

MDXFImportPumpScope::MDXFImportPumpScope() {
    ++g_pumping;
}
MDXFImportPumpScope::~MDXFImportPumpScope() {
    --g_pumping;
}
