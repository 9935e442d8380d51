// The message boxes of the running program: AfxMessageBox shown as a Qt message box with the
// buttons Windows shows (Japanese texts). Tests keep their recorder instead.
#pragma once

// Installs the on-screen handler behind AfxMessageBox (see platform/Strings.h).
void AfxInstallMessageBoxUi();
// The answer (IDOK, IDYES, ...) a message box of `type` gives when the user closes it without
// choosing: Cancel where there is one, else No, else OK.
int AfxMessageBoxEscapeAnswer(unsigned int type);
