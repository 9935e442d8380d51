// The profile: the program's settings by section and entry (the registry key of the current user on
// Windows). Sections may name subkeys with backslashes ("Recent File List", "Settings\\Bars").
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/WinTypes.h"

class CProfile {
public:
    virtual ~CProfile() = default;

    virtual int GetProfileInt(std::string_view section, std::string_view entry, int defaultValue) = 0;
    virtual BOOL WriteProfileInt(std::string_view section, std::string_view entry, int value) = 0;
    virtual std::string GetProfileString(std::string_view section, std::string_view entry,
                                         std::string_view defaultValue = {}) = 0;
    virtual BOOL WriteProfileString(std::string_view section, std::string_view entry, std::string_view value) = 0;
    // FALSE when the entry is missing.
    virtual BOOL GetProfileBinary(std::string_view section, std::string_view entry, std::vector<BYTE>& data) = 0;
    virtual BOOL WriteProfileBinary(std::string_view section, std::string_view entry, const void* data,
                                    std::size_t size) = 0;
    virtual BOOL HasEntry(std::string_view section, std::string_view entry) = 0;
    virtual BOOL DeleteEntry(std::string_view section, std::string_view entry) = 0;
    // Removes the section and every subkey below it.
    virtual BOOL DeleteSection(std::string_view section) = 0;
    // Removes everything the program stored.
    virtual BOOL DeleteAll() = 0;
    // Writes pending changes; FALSE when the store cannot be written.
    virtual BOOL Sync() { return TRUE; }
};

// Values in memory only: the default, and what tests use.
std::unique_ptr<CProfile> CreateMemoryProfile();
// The user's settings file "kel-vo/Tessaray.ini" under $XDG_CONFIG_HOME (or ~/.config).
std::unique_ptr<CProfile> CreateUserProfile();
// Removes the user's settings file, and its "kel-vo" folder when nothing else is left in it; the
// program-wide profile becomes an in-memory one, so nothing writes the file again. FALSE when a
// file or folder that should go is still there.
BOOL RemoveUserProfile();

template <class T>
class CProgramSlot;  // platform/ProgramState.h

// The program-wide profile. Starts as a memory profile; the application installs the user's.
CProgramSlot<std::unique_ptr<CProfile>>& AfxProfileSlot();
CProfile& AfxGetProfile();
std::unique_ptr<CProfile> AfxSetProfile(std::unique_ptr<CProfile> profile);
