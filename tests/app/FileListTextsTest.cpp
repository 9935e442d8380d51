// The file dialog's list in Japanese: the toolkit gives its types in English and its dates in the
// system's locale, whatever the program's.
#include <gtest/gtest.h>

#include <QAbstractProxyModel>
#include <QDir>
#include <QFileSystemModel>
#include <QLocale>
#include <QRegularExpression>
#include <QStandardItemModel>
#include <fstream>
#include <memory>

#include "app/FileListTexts.h"
#include "platform/ui/WinApp.h"
#include "tests/support/TestSupport.h"

namespace {

TEST(FileListTexts, TypesAndDatesAreJapaneseWhileNamesAndSizesStayTheToolkits) {
    const QLocale previous;
    AfxSetToolkitLocale();
    EXPECT_EQ(QLocale().language(), QLocale::Japanese);

    const std::string dir = MakeTempDir("file-list-texts");
    std::ofstream(dir + "/plan.qfd") << "x";
    std::ofstream(dir + "/README") << "x";
    const struct {
        std::string path;
        const char* type;
    } rows[] = {{dir, "フォルダー"}, {dir + "/plan.qfd", "qfd ファイル"}, {dir + "/README", "ファイル"}};
    QStandardItemModel files(0, 4);
    for (const auto& row : rows) {
        QList<QStandardItem*> items;
        for (const char* text : {"name", "1 KB", "Folder", "9 Dec 2026 21:50"}) {
            auto* item = new QStandardItem(QString::fromUtf8(text));
            item->setData(QString::fromStdString(row.path), QFileSystemModel::FilePathRole);
            items << item;
        }
        files.appendRow(items);
    }
    std::unique_ptr<QAbstractProxyModel> list(CreateFileListTexts(nullptr));
    list->setSourceModel(&files);
    const QRegularExpression japaneseDate(QStringLiteral("^\\d{4}/\\d{2}/\\d{2} \\d{1,2}:\\d{2}$"));
    for (int r = 0; r < 3; ++r) {
        SCOPED_TRACE(rows[r].path);
        EXPECT_EQ(list->index(r, 0).data().toString(), QStringLiteral("name"));
        EXPECT_EQ(list->index(r, 1).data().toString(), QStringLiteral("1 KB"));
        EXPECT_EQ(list->index(r, 2).data().toString(), QString::fromUtf8(rows[r].type));
        const QString date = list->index(r, 3).data().toString();
        EXPECT_TRUE(japaneseDate.match(date).hasMatch()) << date.toStdString();
    }
    QLocale::setDefault(previous);
}

}  // namespace
