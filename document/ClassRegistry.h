// Registration of the document's serializable classes (after the model's), in a fixed order.
// Idempotent.
#pragma once

void RegisterDocumentClasses();
