#include "document/Interchange.h"

namespace {
MInterchangeFactory* g_factory = nullptr;
}  // namespace

MInterchangeFactory* GetInterchangeFactory() {
    return g_factory;
}

MInterchangeFactory* SetInterchangeFactory(MInterchangeFactory* factory) {
    MInterchangeFactory* previous = g_factory;
    g_factory = factory;
    return previous;
}
