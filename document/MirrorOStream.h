// The safe-save stream: an output text stream that never leaves a half-written file in place of a
// good one. In the backup and safe modes it writes a temporary file beside the target and, on Close,
// replaces the target in one atomic rename only when everything was written; the backup mode first
// keeps the old target as "<name>.XBK". The text is UTF-8 with "\n" inside and is written to disk
// as code page 932 with CRLF, encoded as it goes.
//
// At every moment the target is either the complete old file or the complete new one: the old
// target is never deleted before the new one is in place (a rename replaces it), and the backup is
// a copy of the target, never made by moving the target away; the copy keeps the old target's
// access and modification times, as a moved file would.
#pragma once

#include <memory>
#include <ostream>
#include <string>

#include "platform/WinTypes.h"

class MMirrorOStream : public std::ostream {
public:
    // The option SAVEBACKUPMODE; other values behave as kNormal.
    enum Mode { kNormal = 0, kBackup = 1, kSafe = 2 };

    MMirrorOStream();
    // Close is called; its result is lost, so callers that must know call Close themselves.
    ~MMirrorOStream() override;
    MMirrorOStream(const MMirrorOStream&) = delete;
    MMirrorOStream& operator=(const MMirrorOStream&) = delete;

    // Stores the target and the mode and opens the file to write: in kBackup and kSafe a new
    // temporary file beside the target (document/SaveTemporaries.h), otherwise the target itself
    // (truncated). Either way the temporaries that killed saves of this target left go first.
    // A failed open leaves the stream failed; precision is 15 in every case.
    BOOL Open(const std::string& path, int mode);
    // Commits (see the header comment). TRUE when the new file is in place; FALSE (and the stream
    // failed) when any write, sync, backup or rename failed: the temporary file is then removed and
    // the target and backup are as they were. Nothing to do when no file is open.
    BOOL Close();

    bool IsOpen() const;
    const std::string& GetTargetPath() const { return m_target; }
    // The file actually written; empty when writing the target directly.
    const std::string& GetTempPath() const { return m_temp; }
    int GetMode() const { return m_mode; }
    // errno of the first failure, 0 when none.
    int GetError() const { return m_error; }
    // Characters written so far that code page 932 has not (they became '?').
    std::size_t GetReplacedCount() const { return m_replaced; }

    // "<drive, folder and name>.XBK" of a target path.
    static std::string BackupPathOf(const std::string& target);

    // Steps of a save, for tests that inject failures or end the process at a precise point.
    enum Step { kStepOpen, kStepWrite, kStepSyncFile, kStepBackup, kStepRename, kStepSyncFolder };
    // Called before each step; returning an errno value other than 0 makes that step fail with it.
    using StepHook = int (*)(Step step);
    static StepHook SetStepHook(StepHook hook);
    // The installed hook's answer for a step; also asked by writers with a temporary file of their own.
    static int RunHook(Step step);

private:
    class Buffer;
    friend class Buffer;

    void Fail(int err);
    void Discard();
    BOOL MakeBackup(const std::string& target);

    std::unique_ptr<Buffer> m_buffer;
    std::string m_target;  // the caller's path, symbolic links resolved
    std::string m_temp;
    int m_mode = kNormal;
    int m_error = 0;
    std::size_t m_replaced = 0;
    bool m_targetExisted = false;
};
