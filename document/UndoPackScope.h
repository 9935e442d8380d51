// One user operation as one undo pack: the scope opens the pack and, when it ends normally, pushes
// it onto the undo ring. Edits inside record into the pack as usual.
//     MUndoPackScope pack(*doc);
//     doc->AddShape(shape, layer);
#pragma once

#include <exception>

#include "document/TessarayDoc.h"

class MUndoPackScope {
public:
    explicit MUndoPackScope(MTessarayDoc& doc) : m_doc(doc), m_exceptions(std::uncaught_exceptions()) {
        m_doc.BeginUndo();
    }
    ~MUndoPackScope() {
        if (std::uncaught_exceptions() > m_exceptions)
            LeftByException();
        else
            m_doc.EndUndo();
    }
    MUndoPackScope(const MUndoPackScope&) = delete;
    MUndoPackScope& operator=(const MUndoPackScope&) = delete;

private:
    // The pack stays open for the handler that catches the exception (the tools and paste cancel
    // it). Rolling the recorded changes back belongs here.
    void LeftByException() {}

    MTessarayDoc& m_doc;
    const int m_exceptions;
};
