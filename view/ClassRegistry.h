// The view layer's serializable classes, registered after the document's, and its shape class of
// the factory (the embedded object, type id 21).
#pragma once

void RegisterViewClasses();
