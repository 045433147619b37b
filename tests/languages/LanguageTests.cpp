#include "languages/UGCShortsLanguage.h"
#include "languages/VexoraContentLanguage.h"

#include <QSet>
#include <gtest/gtest.h>

using namespace vexora;

TEST(UGCShortsLanguage, LooksUpExactCodesOnly) {
    ASSERT_EQ(UGCShortsLanguage::all().size(), 6);
    EXPECT_EQ(UGCShortsLanguage::all().first().code, "en");
    const auto portuguese = UGCShortsLanguage::byCode("pt");
    ASSERT_TRUE(portuguese);
    EXPECT_EQ(portuguese->name, QString::fromUtf8("Português"));
    EXPECT_EQ(portuguese->label, "Portugues");
    EXPECT_EQ(portuguese->flag, QString::fromUtf8("🇵🇹"));
    for (const char* unknown : {"PT", "ru", ""}) EXPECT_EQ(UGCShortsLanguage::byCode(unknown), std::nullopt) << unknown;
}

TEST(VexoraContentLanguage, CatalogueLabelsAndLookup) {
    const auto& all = VexoraContentLanguage::all();
    ASSERT_EQ(all.size(), 55);
    QSet<QString> codes;
    for (const auto& language : all) codes.insert(language.code);
    EXPECT_EQ(codes.size(), 55) << "codes are unique";

    const auto british = VexoraContentLanguage::byCode("en-gb");
    ASSERT_TRUE(british);
    EXPECT_EQ(british->label, "English (UK)");
    EXPECT_EQ(VexoraContentLanguage::byCode("en-GB"), std::nullopt);
    EXPECT_EQ(VexoraContentLanguage::byCode("es")->label, QString::fromUtf8("Español (Spanish)"));
    EXPECT_EQ(VexoraContentLanguage::byCode("am")->label, QString::fromUtf8("አማርኛ (Amharic)"));
    EXPECT_EQ(all.last().code, "am");
}

TEST(VexoraContentLanguage, GroupsByRegionInOrder) {
    const auto groups = VexoraContentLanguage::grouped();
    ASSERT_EQ(groups.size(), 5);
    const QList<qsizetype> expectedCounts{13, 19, 14, 5, 4};
    const QStringList expectedTitles{"Core", "Europe", "Asia", "Middle East", "Africa & Other"};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(groups[i].second.size(), expectedCounts[i]);
        EXPECT_EQ(title(groups[i].first), expectedTitles[i]);
    }
    EXPECT_EQ(rawValue(groups[3].first), "middleEast");
    EXPECT_EQ(groups[2].second.first().code, "tw");
}
