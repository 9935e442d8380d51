// The file dialog's list in the program's language. The toolkit's file list names its types in
// English ("Folder", "qfd File") and writes its dates in the system's locale ("9 Dec"); this
// layer over it gives the types in Japanese and the dates in the program's (Japanese) locale.
#pragma once

class QAbstractProxyModel;
class QObject;

// For QFileDialog::setProxyModel; reads each row's path (QFileSystemModel::FilePathRole).
QAbstractProxyModel* CreateFileListTexts(QObject* parent);
