// The file dialogs of Open, Save As and Template: the program's filters, starting in the folder of
// the last file opened or saved (profile "FILEPATH"/"LASTOPEN", "TEMPLATE" for templates). A save
// names the file it writes: a name without extension takes the chosen filter's (".qfd" under "all
// files"), and replacing an existing file is asked about that final name. Tests replace the
// toolkit's dialog with a handler.
#pragma once

#include <functional>
#include <string>
#include <vector>

// What a file dialog is given and what the user answers in it.
struct FileDialogState {
    bool open = true;
    std::string title;
    // "Tessaray Files (*.qfd)", ..., "すべてのファイル (*.*)".
    std::vector<std::string> filters;
    // In: where the dialog starts (a folder, or a name in one); out: the name the user gave.
    std::string path;
    // In: the filter shown first; out: the filter in force at OK (0-based).
    int filter = 0;
    // An open dialog that also takes a name of a file that does not exist yet (to be created).
    bool createPrompt = false;
    // An open dialog that takes several existing files: they come back in `paths`.
    bool multiSelect = false;
    std::vector<std::string> paths;
    // Given to a chosen name without one (".qfp"); empty: none.
    std::string defaultExtension;
    // An open dialog whose caller completes the name as typed (drawings, proposed without their
    // extension): the dialog itself refuses no name.
    bool completesName = false;
};

// Runs the dialog; TRUE when the user confirmed.
using FilePromptHandler = std::function<bool(FileDialogState& dialog)>;
// Installs a handler in place of the toolkit's dialog (empty: the dialog again) and returns the
// previous one.
FilePromptHandler SetFilePromptHandler(FilePromptHandler handler);

// Runs a file dialog as it is given (the handler in tests); TRUE when the user confirmed a name.
// A chosen name without extension gets the default one; with multiSelect, `paths` holds the
// names (and `path` the first).
bool RunFileDialog(FileDialogState& state);

// open: an open dialog (else a save dialog). path: in, the proposed name; out, the chosen path.
// TRUE when the user confirmed. A confirmed save is remembered at once; an open only once the file
// has opened (RememberOpenedFile), so a file that fails is not where the next dialog starts.
bool PromptFileName(bool open, std::string& path);
// The open dialog for a drawing to start from, in the folder of the last one.
bool PromptTemplateName(std::string& path);
void RememberOpenedFile(const std::string& path);
void RememberTemplate(const std::string& path);
