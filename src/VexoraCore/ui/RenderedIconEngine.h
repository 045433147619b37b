#pragma once

#include <QIcon>
#include <QImage>
#include <QList>
#include <functional>

namespace vexora {

// An icon drawn by a function at exactly the size asked for, each size once and only when first
// asked: nothing is rendered up front for sizes that may never show. `sides` are what it reports
// as available; `themeName` is the name it gives hosts that look icons up in the theme.
QIcon renderedIcon(std::function<QImage(QSize)> render, QList<int> sides, QString themeName = {});

}  // namespace vexora
