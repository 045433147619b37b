#pragma once

#include "client/UGCGenerationTraits.h"

#include <QList>
#include <QString>

namespace vexora {

struct AvatarTraitOption {
    QString value;  // sent to the service
    QString label;  // shown
};

// The choices of each avatar trait, in menu order.
struct UGCAvatarOptions {
    static const QList<AvatarTraitOption> genders;
    static const QList<AvatarTraitOption> origins;
    static const QList<AvatarTraitOption> ageRanges;
    static const QList<AvatarTraitOption> types;      // the role
    static const QList<AvatarTraitOption> locations;  // the scene

    static bool contains(const QList<AvatarTraitOption>& options, const QString& value);
    // Each trait drawn on its own, uniformly, from its table.
    static AvatarTraits randomTraits();
};

}  // namespace vexora
