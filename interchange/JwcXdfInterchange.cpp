#include "interchange/JwcXdfInterchange.h"

#include "interchange/JwcReader.h"
#include "interchange/JwcWriter.h"
#include "interchange/XdfReader.h"

std::unique_ptr<MDocumentReader> MJWCXDFInterchangeFactory::CreateReader(MInterchangeFormat format,
                                                                         MTessarayDoc& doc) {
    switch (format) {
        case MInterchangeFormat::kJwc:
            return std::make_unique<MJWCReader>(doc);
        case MInterchangeFormat::kXdf:
            return std::make_unique<MXDFReader>(doc);
        default:
            return m_next ? m_next->CreateReader(format, doc) : nullptr;
    }
}

std::unique_ptr<MDocumentWriter> MJWCXDFInterchangeFactory::CreateWriter(MInterchangeFormat format,
                                                                         MTessarayDoc& doc) {
    if (format == MInterchangeFormat::kJwc) return std::make_unique<MJWCWriter>(doc);
    return m_next ? m_next->CreateWriter(format, doc) : nullptr;
}

MInterchangeFactory* InstallJWCXDFInterchange() {
    static MJWCXDFInterchangeFactory factory;
    MInterchangeFactory* current = GetInterchangeFactory();
    if (current != &factory) {
        factory.SetNext(current);
        SetInterchangeFactory(&factory);
    }
    return &factory;
}
