#include "platform/ProcessEnd.h"

#include <vector>

#include "platform/ProgramState.h"

namespace {

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kChecked = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kChecked = true;
#else
constexpr bool kChecked = false;
#endif
#else
constexpr bool kChecked = false;
#endif

// A program-wide slot, so that tests start from a process that is not ending.
CProgramSlot<bool>& EndingSlot() {
    static auto& slot = *new CProgramSlot<bool>;
    return slot;
}

bool& Ending() {
    return EndingSlot().Get();
}

}  // namespace

void AfxSetProcessEnding() {
    Ending() = true;
}

bool AfxMayLeaveAtExit() {
    return Ending() && !kChecked;
}

void AfxKeepUntilExit(const void* object) {
    // Held from a global, so that leak finders count it as reachable.
    static auto* kept = new std::vector<const void*>;
    if (object) kept->push_back(object);
}
