// Registration of the model's serializable classes, in a fixed order. Idempotent.
#pragma once

void RegisterModelClasses();
