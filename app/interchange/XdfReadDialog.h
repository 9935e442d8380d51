// Dialog 179 "XDF Reading": the modeless progress window of the XDF import, with the label
// "読み込み中", the file's path (control 1147) and a progress bar (control 1146), and the wait cursor
// for the whole import.
#pragma once

#include <memory>
#include <string>

#include "interchange/XdfReader.h"

class QLabel;
class QProgressBar;
class QWidget;
class CWaitCursor;

class MXDFReadDialog : public MXDFProgress {
public:
    MXDFReadDialog();
    ~MXDFReadDialog() override;

    void BeginWait() override;
    void EndWait() override;
    // Creates the window on the main window, shows and paints it at once.
    void Open(const std::string& path) override;
    void SetRange(int upper) override;
    void SetPos(int position) override;
    void Close() override;

    // The window's state, for tests.
    bool IsOpen() const { return m_window != nullptr; }
    int GetRange() const;
    int GetPos() const;
    std::string GetPathText() const;

private:
    void Repaint();

    std::unique_ptr<CWaitCursor> m_wait;
    QWidget* m_window = nullptr;
    QProgressBar* m_bar = nullptr;
    QLabel* m_path = nullptr;
};
