#include "qt/Fonts.h"
#include "rtl/CodePage.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QStringList>
#include <gtest/gtest.h>

using namespace vcl::qt;

TEST(Fonts, MissingFacesGetAnInstalledFaceOfTheSameKind) {
    const QStringList families = QFontDatabase::families();
    for (const char* face : {"MS Sans Serif", "Wingdings", "No Such Face 123", ""}) {
        const QString family = SubstituteFamily(face);
        EXPECT_TRUE(families.contains(family)) << face << " -> " << family.toStdString();
        EXPECT_FALSE(QFontDatabase::isFixedPitch(family)) << face;
    }
    const QString mono = SubstituteFamily("Courier New");
    EXPECT_TRUE(families.contains(mono));
    EXPECT_TRUE(QFontInfo(MakeFont("Courier New", 10)).fixedPitch()) << mono.toStdString();
    // An installed face is used as it is, whatever the case of its name.
    ASSERT_FALSE(families.isEmpty());
    EXPECT_EQ(SubstituteFamily(families.first().toLower().toStdString()), families.first());
}

TEST(Fonts, PointSizeAndStyleAreKept) {
    const QFont f = MakeFont("MS Sans Serif", 8, FontStyle{true, true, true, false});
    EXPECT_EQ(f.pointSize(), 8);
    EXPECT_TRUE(f.bold());
    EXPECT_TRUE(f.italic());
    EXPECT_TRUE(f.underline());
    EXPECT_FALSE(f.strikeOut());
    EXPECT_EQ(QFontInfo(f).family(), SubstituteFamily("MS Sans Serif"));
    EXPECT_EQ(MakeFont("Arial", 0).pointSize(), 8);
    EXPECT_EQ(MakeFont("Arial", 24).pointSize(), 24);
}

TEST(Fonts, SubstitutesCoverTheScriptOfTheCodePage) {
    const int saved = vcl::GetAnsiCodePage();
    const std::pair<int, QFontDatabase::WritingSystem> pages[] = {{1251, QFontDatabase::Cyrillic},
                                                                  {1253, QFontDatabase::Greek},
                                                                  {1255, QFontDatabase::Hebrew},
                                                                  {1256, QFontDatabase::Arabic}};
    // DejaVu Sans, the last sans-serif candidate, covers all four where it is installed.
    const bool dejaVu = QFontDatabase::families().contains(QStringLiteral("DejaVu Sans"));
    for (const auto& [page, script] : pages) {
        vcl::SetAnsiCodePage(page);
        const QString family = SubstituteFamily("MS Sans Serif");
        if (dejaVu)
            EXPECT_TRUE(QFontDatabase::writingSystems(family).contains(script))
                << page << " -> " << family.toStdString();
    }
    vcl::SetAnsiCodePage(saved);
}
