// The temporary files a save writes beside its target before it renames them into place. Each is
// named after the file it will become: "<target's name>.tessaray-XXXXXX.tmp", the six characters
// chosen by mkstemps, the target's name cut on a whole character when the whole would pass the
// system's limit on a name. No user's file is named so, and a file named so by another program is
// still the temporary of a save of that target: that is what lets a later save remove the ones a
// killed save left, and nothing else.
#pragma once

#include <string>
#include <string_view>

// The folder of a path: "." for a bare name, "/" for a file in the root.
std::string FolderOfPath(std::string_view path);

// Creates a new, empty, private temporary file for target in target's folder, closed on exec.
// Returns its descriptor and sets path; -1 with errno set when it cannot be made.
int MakeSaveTemporary(const std::string& target, std::string& path);

// Whether name (a file name without folder) is one that MakeSaveTemporary gives for target.
bool IsSaveTemporaryOf(const std::string& target, std::string_view name);

// Removes the temporary files of target and of its backup (".XBK") that saves killed before their
// end left in its folder: regular files of this user, named as MakeSaveTemporary names them, last
// changed before this process started and at least ten minutes ago, so that no save still under
// way loses its file. Files of any other name stay. Returns the number removed.
int RemoveStaleSaveTemporaries(const std::string& target);
