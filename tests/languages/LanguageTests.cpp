#include "languages/UGCShortsLanguage.h"
#include "languages/VexoraContentLanguage.h"

#include <QSet>
#include <gtest/gtest.h>

using namespace vexora;

TEST(UGCShortsLanguage, LooksUpExactCodesOnly) {
    const auto portuguese = UGCShortsLanguage::byCode("pt");
    ASSERT_TRUE(portuguese);
    EXPECT_EQ(portuguese->name, QString::fromUtf8("Português"));
    for (const char* unknown : {"PT", "ru", ""}) EXPECT_EQ(UGCShortsLanguage::byCode(unknown), std::nullopt) << unknown;
}

TEST(VexoraContentLanguage, UniqueCodesLabelsAndEveryLanguageInOneRegionGroup) {
    const auto& all = VexoraContentLanguage::all();
    QSet<QString> codes;
    for (const auto& language : all) codes.insert(language.code);
    EXPECT_EQ(codes.size(), all.size()) << "codes are unique";

    const auto british = VexoraContentLanguage::byCode("en-gb");
    ASSERT_TRUE(british);
    EXPECT_EQ(british->label, "English (UK)") << "a native name like the English one is not repeated";
    EXPECT_EQ(VexoraContentLanguage::byCode("en-GB"), std::nullopt);
    EXPECT_EQ(VexoraContentLanguage::byCode("es")->label, QString::fromUtf8("Español (Spanish)"));

    QStringList titles;
    qsizetype grouped = 0;
    for (const auto& [region, members] : VexoraContentLanguage::grouped()) {
        titles.append(title(region));
        grouped += members.size();
    }
    EXPECT_EQ(titles, (QStringList{"Core", "Europe", "Asia", "Middle East", "Africa & Other"}));
    EXPECT_EQ(grouped, all.size()) << "every language is in a group";
}
