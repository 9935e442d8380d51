// The window side of the JW_CAD and XDF imports: installs the pen settings dialog as the JW_CAD
// prompt and the XDF progress window, and puts the JW_CAD and XDF formats in front of the installed
// interchange factory. The application calls it once at start-up, after installing the DXF factory.
#pragma once

void InstallJWCXDFImportUi();

// Installs the paper dialog and the progress window of the DXF import (MDXFImportDialogs).
void InstallDXFImportUi();
