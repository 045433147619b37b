#pragma once

#include <QImage>
#include <QSize>

namespace vexora {

// What the panel shows where an avatar has no image yet: a pale gradient tile with a person
// silhouette, its corners rounded by `cornerRadius`. A null image for an empty size.
QImage avatarPlaceholderImage(QSize size, qreal cornerRadius);

}  // namespace vexora
