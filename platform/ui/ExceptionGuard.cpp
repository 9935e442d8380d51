#include "platform/ui/ExceptionGuard.h"

#include <new>

#include "platform/Strings.h"
#include "resources/ResourceIds.h"

std::string AfxExceptionMessage(const CException& e) {
    std::string text = e.GetErrorMessage();
    if (!text.empty()) return text;
    if (dynamic_cast<const CMemoryException*>(&e)) return AfxLoadString(IDS_EXCEPTION_MEMORY);
    if (dynamic_cast<const CNotSupportedException*>(&e)) return AfxLoadString(IDS_EXCEPTION_NOT_SUPPORTED);
    if (dynamic_cast<const CInvalidArgException*>(&e)) return AfxLoadString(IDS_EXCEPTION_INVALID_ARG);
    return AfxLoadString(IDS_EXCEPTION_INTERNAL);
}

void AfxReportCurrentException() noexcept {
    try {
        std::string text;
        try {
            throw;
        } catch (const CUserException&) {
            return;
        } catch (const CException& e) {
            text = AfxExceptionMessage(e);
        } catch (const std::bad_alloc&) {
            text = AfxLoadString(IDS_EXCEPTION_MEMORY);
        } catch (...) {
            text = AfxLoadString(IDS_EXCEPTION_INTERNAL);
        }
        AfxMessageBox(text, MB_OK | MB_ICONEXCLAMATION);
    } catch (...) {
        // Reporting itself failed (a handler threw, or no memory is left): nothing more can be said.
    }
}
