// Six-character labels made from full names.
#include <gtest/gtest.h>

#include <random>
#include <set>
#include <string>
#include <vector>

#include "import/short_labels.h"

namespace marvist {
namespace {

using Labels = std::vector<std::string>;

Labels labels_of(const std::vector<std::string>& names) {
    const auto labels = short_labels(names);
    EXPECT_TRUE(labels.has_value());
    return labels.value_or(Labels{});
}

TEST(ShortLabels, OwnLabelsInCodePage437) {
    EXPECT_EQ(own_label("Professional"), "Profes");
    EXPECT_EQ(own_label("Ab"), "Ab    ");
    // e-acute and the box character are in the code page (0x82, 0xC4); the
    // euro sign and a CJK character are not.
    EXPECT_EQ(own_label("\xC3\xA9t\xE2\x94\x80\xE2\x82\xAC\xE4\xB8\xAD!x"), "\x82t\xC4?" "?!");
    EXPECT_EQ(own_label("a\tb\nc\r\x7F"), "a b c ") << "control characters become blanks";
}

TEST(ShortLabels, NamesSharingTheirFirstSixCharactersAreNumbered) {
    EXPECT_EQ(labels_of({"Professional", "Manual", "Profession", "Professor"}),
              (Labels{"Profe1", "Manual", "Profe2", "Profe3"}));
    // A number already held by another name is passed over.
    EXPECT_EQ(labels_of({"Profe2", "Professional", "Profession"}), (Labels{"Profe2", "Profe1", "Profe3"}));
    // Two or more digits take more of the name.
    std::vector<std::string> many;
    for (int k = 0; k < 12; ++k) many.push_back("Category " + std::to_string(k));
    const Labels numbered = labels_of(many);
    EXPECT_EQ(numbered[8], "Categ9");
    EXPECT_EQ(numbered[9], "Cate10");
    EXPECT_EQ(numbered[11], "Cate12");
    // Short names that meet only after the conversion, and padding kept.
    EXPECT_EQ(labels_of({"Ab\xE2\x82\xAC", "Ab\xE4\xB8\xAD", "Ab?x"}), (Labels{"Ab?1  ", "Ab?2  ", "Ab?x  "}));
    // Rows and columns are labelled apart, so the same names give the same
    // labels on both sides of a square table.
    EXPECT_EQ(labels_of({"Skilled manual", "Skilled office"}), labels_of({"Skilled manual", "Skilled office"}));
}

// True when label is a beginning of own (without trailing blanks) followed
// by a number and blanks.
bool numbered_from(const std::string& label, const std::string& own) {
    const std::string l = label.substr(0, label.find_last_not_of(' ') + 1);
    const std::string o = own.substr(0, own.find_last_not_of(' ') + 1);
    for (std::size_t split = 0; split < l.size(); ++split) {
        const std::string digits = l.substr(split);
        if (o.compare(0, split, l, 0, split) == 0 && split <= o.size() &&
            digits.find_first_not_of("0123456789") == std::string::npos && digits[0] != '0') {
            return true;
        }
    }
    return false;
}

// Whatever the names, every label is six characters and no two are alike.
TEST(ShortLabels, RandomNamesGetUniqueLabels) {
    std::mt19937 random(7);
    const std::vector<std::string> pieces = {"a", "b", "1", "2", " ", "\xC3\xA9", "\xE2\x82\xAC", "Lab", "Lab1"};
    for (int round = 0; round < 300; ++round) {
        std::set<std::string> distinct;
        while (distinct.size() < 1 + random() % 40) {
            std::string name;
            for (std::size_t k = 1 + random() % 5; k > 0; --k) name += pieces[random() % pieces.size()];
            distinct.insert(name);
        }
        const std::vector<std::string> names(distinct.begin(), distinct.end());
        const Labels labels = labels_of(names);
        ASSERT_EQ(labels.size(), names.size());
        EXPECT_EQ(std::set<std::string>(labels.begin(), labels.end()).size(), labels.size());
        for (std::size_t k = 0; k < labels.size(); ++k) {
            ASSERT_EQ(labels[k].size(), 6u);
            if (labels[k] != own_label(names[k])) {
                EXPECT_TRUE(numbered_from(labels[k], own_label(names[k]))) << names[k] << " -> " << labels[k];
            }
        }
    }
}

}  // namespace
}  // namespace marvist
