// What the DXF import asks of the program window: the paper dialog before reading and the modeless
// progress dialog 208 ("読み込み中", static text 1147, Cancel button 1307) while it reads. The
// window layer implements both and installs itself with SetDXFImportUi; without it (tests, tools
// without a window) the import reads without asking and without showing progress.
//
// While a progress object exists the import pumps window messages through it, so the program must
// keep the user from changing or closing the document meanwhile: while IsDXFImportPumping answers
// TRUE the main window takes no commands and refuses to close.
#pragma once

#include <memory>
#include <string>

#include "platform/WinTypes.h"

class MTessarayDoc;

class MDXFReadProgress {
public:
    virtual ~MDXFReadProgress() = default;
    // The static text of the dialog ("Reading...%d").
    virtual void SetText(const std::string& text) = 0;
    // Dispatches the pending window messages (a quit message ends the dispatching), so that the
    // Cancel button can be pressed.
    virtual void PumpMessages() = 0;
    // The Cancel button was pressed.
    virtual BOOL IsCancelled() const = 0;
};

class MDXFImportUi {
public:
    virtual ~MDXFImportUi() = default;
    // The paper dialog (178) on the main window's view, its values loaded from the document's paper;
    // IDOK leaves the chosen paper in the default paper (GetDefaultPaper). Returns the dialog's
    // result: IDOK, IDCANCEL or another value (read without applying a paper).
    virtual int RunPaperDialog(MTessarayDoc& doc) = 0;
    // The progress dialog, created, shown and painted; it goes when the object is destroyed.
    virtual std::unique_ptr<MDXFReadProgress> CreateProgress() = 0;
};

// TRUE while a DXF import runs with a progress dialog (and so dispatches window messages).
BOOL IsDXFImportPumping();

// Marks the lifetime of a reading that pumps messages; nests.
class MDXFImportPumpScope {
public:
    MDXFImportPumpScope();
    ~MDXFImportPumpScope();
    MDXFImportPumpScope(const MDXFImportPumpScope&) = delete;
    MDXFImportPumpScope& operator=(const MDXFImportPumpScope&) = delete;
};

// The program-wide window side of the import; null until installed. Returns the previous one.
MDXFImportUi* GetDXFImportUi();
MDXFImportUi* SetDXFImportUi(MDXFImportUi* ui);
