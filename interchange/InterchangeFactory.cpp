#include "interchange/InterchangeFactory.h"

#include "interchange/DxfReader.h"
#include "interchange/DxfWriter.h"

std::unique_ptr<MDocumentReader> MTessarayInterchangeFactory::CreateReader(MInterchangeFormat format,
                                                                           MTessarayDoc& doc) {
    switch (format) {
        case MInterchangeFormat::kDxf:
            return std::make_unique<MDXFReader>(doc);
        default:
            return nullptr;
    }
}

std::unique_ptr<MDocumentWriter> MTessarayInterchangeFactory::CreateWriter(MInterchangeFormat format,
                                                                           MTessarayDoc& doc) {
    switch (format) {
        case MInterchangeFormat::kDxf:
            return std::make_unique<MDXFWriter>(doc);
        default:
            return nullptr;
    }
}

MInterchangeFactory* InstallInterchangeFactory() {
    static MTessarayInterchangeFactory factory;
    SetInterchangeFactory(&factory);
    return &factory;
}
