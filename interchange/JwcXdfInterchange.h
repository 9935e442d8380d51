// The document's access to the JW_CAD and XDF formats: reads ".JWC" and ".XDF", writes ".JWC", and
// passes every other format on to the next factory (the DXF one), so the formats can be installed
// as one chain with SetInterchangeFactory.
#pragma once

#include "document/Interchange.h"

class MJWCXDFInterchangeFactory : public MInterchangeFactory {
public:
    explicit MJWCXDFInterchangeFactory(MInterchangeFactory* next = nullptr) : m_next(next) {}

    std::unique_ptr<MDocumentReader> CreateReader(MInterchangeFormat format, MTessarayDoc& doc) override;
    std::unique_ptr<MDocumentWriter> CreateWriter(MInterchangeFormat format, MTessarayDoc& doc) override;

    MInterchangeFactory* GetNext() const { return m_next; }
    void SetNext(MInterchangeFactory* next) { m_next = next; }

private:
    MInterchangeFactory* m_next;
};

// Puts the JW_CAD and XDF factory in front of the factory installed now (the DXF one), once; the
// program calls it at start-up after installing that factory. Returns the JW_CAD and XDF factory.
MInterchangeFactory* InstallJWCXDFInterchange();
