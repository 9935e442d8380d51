// The toolkit's own dialogs speak Japanese beside the program's menus.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFileInfo>
#include <QLibraryInfo>

#include "platform/ui/WinApp.h"

namespace {

TEST(ToolkitTranslations, TheToolkitsTextsAreJapanese) {
    const QString catalogue = QLibraryInfo::path(QLibraryInfo::TranslationsPath) + "/qtbase_ja.qm";
    if (!QFileInfo::exists(catalogue))
        GTEST_SKIP() << "qt6-translations-l10n is not installed (scripts/setup)";
    ASSERT_TRUE(AfxInstallToolkitTranslations());
    EXPECT_TRUE(AfxInstallToolkitTranslations()) << "a second call keeps the one catalogue";
    const QString cancel = QCoreApplication::translate("QPlatformTheme", "Cancel");
    EXPECT_NE(cancel, QStringLiteral("Cancel"));
    EXPECT_FALSE(cancel.isEmpty());
}

}  // namespace
