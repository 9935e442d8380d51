// A device context that records an enhanced metafile, in memory or into a file, measured against
// a reference context (the class library's metafile context with its attribute context).
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/gdi/DC.h"

class QSaveFile;

class CMetaFileDC : public CDC {
public:
    CMetaFileDC();
    ~CMetaFileDC() override;

    // Starts a metafile measured against reference (its resolution and size; null: the screen).
    // path empty: kept in memory. frame: the picture in 0.01 mm (null: the reference's whole
    // device). description: application and title, each followed by a NUL, and a closing NUL.
    // A file that cannot be created answers FALSE and leaves nothing behind.
    BOOL CreateEnhanced(CDC* reference, const std::string& path, const RECT* frame,
                        const std::string& description);
    // Finishes the metafile. A file is written whole (a temporary file replaces the target) and
    // FALSE answers a failure, leaving any earlier file as it was. A memory metafile's bytes go to
    // *bytes when given.
    BOOL CloseEnhanced(std::vector<BYTE>* bytes = nullptr);
    // Whether CreateEnhanced succeeded and CloseEnhanced has not run yet.
    BOOL IsRecording() const;

private:
    std::unique_ptr<QSaveFile> m_file;
    bool m_recording = false;
};
