// Every entry point from the toolkit into the program (command and update handlers, mouse and key
// events, timers, dialogs) runs through AfxTryCall, so that a class-library exception is reported
// to the user where it happened and never unwinds into Qt's event loop.
#pragma once

#include <exception>
#include <string>
#include <utility>

#include "platform/Exceptions.h"
#include "platform/WinTypes.h"

// The text shown for an exception: its GetErrorMessage, or a default for its kind.
std::string AfxExceptionMessage(const CException& e);
// Reports the exception being handled (call inside a catch block). A CUserException stays silent:
// the user has already been told.
void AfxReportCurrentException() noexcept;

// Runs f; an exception of any kind is reported and swallowed. FALSE when one was thrown.
template <class F>
BOOL AfxTryCall(F&& f) noexcept {
    try {
        std::forward<F>(f)();
        return TRUE;
    } catch (...) {
        AfxReportCurrentException();
        return FALSE;
    }
}

// As AfxTryCall, returning f's result, or `failed` when it threw.
template <class R, class F>
R AfxTryCallOr(R failed, F&& f) noexcept {
    try {
        return std::forward<F>(f)();
    } catch (...) {
        AfxReportCurrentException();
        return failed;
    }
}
