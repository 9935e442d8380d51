// The way out of the process. Once the program is ending (AfxWinMain says so before ExitInstance),
// a large structure need not be taken apart object by object: the system takes the memory back at
// once, where deleting a drawing of a million shapes takes a second. Builds that look for leaks and
// faults (the sanitizers) still take everything apart.
#pragma once

#include <memory>

// From here on the process only ends.
void AfxSetProcessEnding();
// Whether what is left may stay as it is: the process is ending and the build checks no leaks.
bool AfxMayLeaveAtExit();
// Keeps the object, reachable and undeleted, until the process ends.
void AfxKeepUntilExit(const void* object);

template <class T>
void AfxKeepUntilExit(std::unique_ptr<T>& owned) {
    AfxKeepUntilExit(static_cast<const void*>(owned.release()));
}
