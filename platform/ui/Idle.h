// Idle processing: after input has been handled and the queue has drained, the application's
// OnIdle runs (update handlers of toolbars and status panes). A pass is scheduled with a zero
// timer after every input event and command, or on request.
#pragma once

// Schedules an idle pass unless one is pending.
void AfxRequestIdle();
// Runs the idle pass now (tests, and code that needs the bars current at once).
void AfxRunIdleNow();
// Watches the application's input so that every input event schedules an idle pass; idempotent.
void AfxInstallIdleHook();
