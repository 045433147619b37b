#include "workflow/UGCAvatarOptions.h"

#include <QRandomGenerator>
#include <algorithm>

namespace vexora {

const QList<AvatarTraitOption> UGCAvatarOptions::genders = {{"male", "Male"}, {"female", "Female"}};

const QList<AvatarTraitOption> UGCAvatarOptions::origins = {
    {"european", "European"}, {"asian", "Asian"},         {"african", "African"},
    {"latin", "Latin"},       {"middle_eastern", "Middle Eastern"}, {"south_asian", "South Asian"}};

const QList<AvatarTraitOption> UGCAvatarOptions::ageRanges = {{"18-25", "18-25"}, {"26-35", "26-35"}, {"36-50", "36-50"}};

const QList<AvatarTraitOption> UGCAvatarOptions::types = {
    {"tech_founder", "Tech Founder"}, {"vibe_coder", "Vibe Coder"}, {"student", "Student"}, {"executive", "Executive"}};

const QList<AvatarTraitOption> UGCAvatarOptions::locations = {
    {"coffee_shop", "Coffee Shop"},   {"dev_cave", "Dev Cave"},         {"street", "Street"},
    {"car", "Car"},                   {"home_office", "Home Office"},   {"podcast_studio", "Podcast Studio"},
    {"glass_office", "Glass Office"}, {"rooftop", "Rooftop"},           {"bedroom", "Bedroom"},
    {"park", "Park"},                 {"gym", "Gym"}};

bool UGCAvatarOptions::contains(const QList<AvatarTraitOption>& options, const QString& value) {
    return std::any_of(options.begin(), options.end(), [&](const AvatarTraitOption& option) { return option.value == value; });
}

namespace {

QString drawFrom(const QList<AvatarTraitOption>& options) {
    return options.at(int(QRandomGenerator::global()->bounded(quint32(options.size())))).value;
}

}  // namespace

AvatarTraits UGCAvatarOptions::randomTraits() {
    return AvatarTraits{drawFrom(genders), drawFrom(origins), drawFrom(ageRanges), drawFrom(types), drawFrom(locations)};
}

}  // namespace vexora
