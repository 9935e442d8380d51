// The foreign formats the document opens and saves by extension. The readers and writers live in a
// higher layer (interchange/: MDXFReader, MJWCReader, MXDFReader, MDXFWriter, MJWCWriter); it
// installs a factory with SetInterchangeFactory. Without one those extensions are not importable:
// such files go through the signature check like any other.
#pragma once

#include <memory>
#include <string>

#include "model/geometry/FloatRect.h"
#include "platform/WinTypes.h"

class MTessarayDoc;

enum class MInterchangeFormat { kDxf, kJwc, kXdf };

// A reader fills the reset document it was made for: shapes with AppendShape, layers with AddLayer
// and RemoveLayer, the paper with SetPaper.
class MDocumentReader {
public:
    virtual ~MDocumentReader() = default;
    // Runs before the document is emptied: checks the file and asks what must be asked. 0 refuses
    // (the reader has told the user why, or the user cancelled) and the open drawing stays.
    virtual int Prepare(const std::string& path) { return 1; }
    // Nonzero on success.
    virtual int Read(const std::string& path) = 0;
    // What a DXF read leaves for the view's first update; the document takes these after a
    // successful read.
    virtual int GetFitOnFirstUpdate() const { return 0; }
    virtual int GetExtentsValid() const { return 0; }
    virtual MFloatRect GetExtents() const { return {}; }
};

class MDocumentWriter {
public:
    virtual ~MDocumentWriter() = default;
    // Nonzero on success.
    virtual int Write(const std::string& path) = 0;
};

class MInterchangeFactory {
public:
    virtual ~MInterchangeFactory() = default;
    // Null when the format cannot be read (or written).
    virtual std::unique_ptr<MDocumentReader> CreateReader(MInterchangeFormat format, MTessarayDoc& doc) = 0;
    virtual std::unique_ptr<MDocumentWriter> CreateWriter(MInterchangeFormat format, MTessarayDoc& doc) = 0;
};

// The program-wide factory; null until installed. Returns the previous one.
MInterchangeFactory* GetInterchangeFactory();
MInterchangeFactory* SetInterchangeFactory(MInterchangeFactory* factory);
