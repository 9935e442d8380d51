// The file dialogs of Open and Save As: Qt's file dialogs with the program's filters, starting in
// the folder of the last file opened or saved (profile "FILEPATH"/"LASTOPEN"). Tests replace the
// dialogs with a handler that answers at once (for every kind of prompt).
#pragma once

#include <functional>
#include <string>

// open: an open dialog (else a save dialog). path: in, the proposed name; out, the chosen path.
// TRUE when the user confirmed.
using FilePromptHandler = std::function<bool(bool open, std::string& path)>;
// Installs a handler (empty: the dialogs again) and returns the previous one.
FilePromptHandler SetFilePromptHandler(FilePromptHandler handler);

bool PromptFileName(bool open, std::string& path);
// The open dialog for a drawing to start from, in the folder of the last one ("FILEPATH"/"TEMPLATE").
bool PromptTemplateName(std::string& path);
