// The window side of the DXF import: the paper dialog 178 before reading, and dialog 208
// "読み込み中", the modeless progress window with its text (control 1147) and the Cancel button
// (control 1307). While the progress window is open the main window is disabled, so that only
// Cancel reaches the program while the import dispatches window events.
#pragma once

#include <QPointer>
#include <memory>
#include <string>

#include "interchange/DxfImportUi.h"

class QLabel;
class QWidget;

class MDXFReadDialog : public MDXFReadProgress {
public:
    // Creates the window on the main window, disables the main window, shows and paints at once.
    MDXFReadDialog();
    // Closes the window and enables the main window again.
    ~MDXFReadDialog() override;
    MDXFReadDialog(const MDXFReadDialog&) = delete;
    MDXFReadDialog& operator=(const MDXFReadDialog&) = delete;

    void SetText(const std::string& text) override;
    void PumpMessages() override;
    // The Cancel button, Escape or the close box was pressed.
    BOOL IsCancelled() const override { return m_cancelled; }

    std::string GetText() const;
    QWidget* GetWindow() const;

private:
    QPointer<QWidget> m_window;
    QLabel* m_text = nullptr;
    QPointer<QWidget> m_disabledParent;
    BOOL m_cancelled = FALSE;
};

class MDXFImportDialogs : public MDXFImportUi {
public:
    // The paper dialog on the main window's view.
    int RunPaperDialog(MTessarayDoc& doc) override;
    std::unique_ptr<MDXFReadProgress> CreateProgress() override;
};
