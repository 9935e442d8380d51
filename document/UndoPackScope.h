// One user operation as one undo pack. The pack opens at construction, or with Open() before the
// first change when the scope is deferred (an operation that changes nothing then leaves the undo
// and redo rings alone). When the scope ends normally it pushes whatever pack is open; when an
// exception leaves it, the open pack is rolled back, so the drawing is as it was before.
//     MUndoPackScope pack(*doc);
//     doc->AddShape(shape, layer);
#pragma once

#include <exception>

#include "document/TessarayDoc.h"

class MDocumentView;

class MUndoPackScope {
public:
    enum Opening { kNow, kDeferred };

    // view: where a rollback shows what it restores (may be null).
    explicit MUndoPackScope(MTessarayDoc& doc, MDocumentView* view = nullptr, Opening opening = kNow)
        : m_doc(doc), m_view(view), m_exceptions(std::uncaught_exceptions()) {
        if (opening == kNow) Open();
    }
    ~MUndoPackScope() {
        if (std::uncaught_exceptions() <= m_exceptions) {
            m_doc.EndUndo();
            return;
        }
        try {
            m_doc.RollbackUndo(m_view);
        } catch (...) {
            // The handler that catches the first exception reports; the pack is gone either way.
        }
    }
    MUndoPackScope(const MUndoPackScope&) = delete;
    MUndoPackScope& operator=(const MUndoPackScope&) = delete;

    void Open() { m_doc.BeginUndo(); }

private:
    MTessarayDoc& m_doc;
    MDocumentView* const m_view;
    const int m_exceptions;
};
