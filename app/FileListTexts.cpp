#include "app/FileListTexts.h"

#include <QDateTime>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QIdentityProxyModel>
#include <QLocale>

namespace {

constexpr int kTypeColumn = 2;
constexpr int kDateColumn = 3;

class FileListTexts : public QIdentityProxyModel {
public:
    using QIdentityProxyModel::QIdentityProxyModel;

    QVariant data(const QModelIndex& index, int role) const override {
        const int column = index.column();
        if (role != Qt::DisplayRole || (column != kTypeColumn && column != kDateColumn))
            return QIdentityProxyModel::data(index, role);
        const QString path = index.data(QFileSystemModel::FilePathRole).toString();
        if (path.isEmpty()) return QIdentityProxyModel::data(index, role);
        const QFileInfo info(path);
        if (column == kDateColumn) return QLocale().toString(info.lastModified(), QLocale::ShortFormat);
        if (info.isDir()) return QStringLiteral("フォルダー");
        const QString suffix = info.suffix();
        return suffix.isEmpty() ? QStringLiteral("ファイル") : suffix + QStringLiteral(" ファイル");
    }
};

}  // namespace

QAbstractProxyModel* CreateFileListTexts(QObject* parent) {
    return new FileListTexts(parent);
}
