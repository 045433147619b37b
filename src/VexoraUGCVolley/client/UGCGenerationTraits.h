#pragma once

#include "foundation/Json.h"

#include <QString>

namespace vexora {

// The look of a generated avatar, as the trait values the service takes.
struct AvatarTraits {
    QString gender;
    QString origin;
    QString ageRange;
    QString type;      // the role
    QString location;  // the scene
    bool operator==(const AvatarTraits&) const = default;

    void writeTo(Json& body) const {
        body["gender"] = gender;
        body["origin"] = origin;
        body["age_range"] = ageRange;
        body["type"] = type;
        body["location"] = location;
    }
};

}  // namespace vexora
