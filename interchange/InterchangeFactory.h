// The readers and writers of this layer as the document finds them by file extension. Start-up
// installs the factory once; the document then imports and exports through it.
#pragma once

#include "document/Interchange.h"

class MTessarayInterchangeFactory : public MInterchangeFactory {
public:
    // DXF; null for the formats not built in.
    std::unique_ptr<MDocumentReader> CreateReader(MInterchangeFormat format, MTessarayDoc& doc) override;
    std::unique_ptr<MDocumentWriter> CreateWriter(MInterchangeFormat format, MTessarayDoc& doc) override;
};

// Installs the program-wide factory (a static object) and returns it.
MInterchangeFactory* InstallInterchangeFactory();
