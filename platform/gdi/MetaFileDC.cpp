#include "platform/gdi/MetaFileDC.h"

#include <QSaveFile>
#include <QString>

#include "platform/gdi/EmfBackend.h"

CMetaFileDC::CMetaFileDC() = default;

CMetaFileDC::~CMetaFileDC() {
    // An unfinished file is dropped: the target keeps what it had.
    if (m_file) m_file->cancelWriting();
}

BOOL CMetaFileDC::CreateEnhanced(CDC* reference, const std::string& path, const RECT* frame,
                                 const std::string& description) {
    if (m_recording) return FALSE;
    const EmfReference ref = reference ? EmfReferenceOf(reference) : ScreenEmfReference();
    RECT f;
    if (frame) {
        f = *frame;
    } else {
        f = RECT{0, 0, ref.millimeters.cx * 100, ref.millimeters.cy * 100};
    }
    std::unique_ptr<QSaveFile> file;
    if (!path.empty()) {
        file = std::make_unique<QSaveFile>(QString::fromStdString(path));
        if (!file->open(QIODevice::WriteOnly)) return FALSE;
    }
    m_file = std::move(file);
    AttachBackend(std::make_unique<EmfBackend>(ref, f, description));
    m_recording = true;
    return TRUE;
}

BOOL CMetaFileDC::IsRecording() const {
    return m_recording ? TRUE : FALSE;
}

BOOL CMetaFileDC::CloseEnhanced(std::vector<BYTE>* bytes) {
    if (!m_recording) return FALSE;
    m_recording = false;
    auto* recorder = dynamic_cast<EmfBackend*>(GetBackend());
    std::vector<BYTE> data = recorder ? recorder->Finish() : std::vector<BYTE>();
    DeleteDC();
    if (data.empty()) return FALSE;
    if (!m_file) {
        if (bytes) *bytes = std::move(data);
        return TRUE;
    }
    std::unique_ptr<QSaveFile> file = std::move(m_file);
    const qint64 n = static_cast<qint64>(data.size());
    if (file->write(reinterpret_cast<const char*>(data.data()), n) != n) {
        file->cancelWriting();
        return FALSE;
    }
    if (bytes) *bytes = std::move(data);
    return file->commit() ? TRUE : FALSE;
}
