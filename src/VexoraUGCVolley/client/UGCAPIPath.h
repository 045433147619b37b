#pragma once

#include <QList>
#include <QString>
#include <optional>
#include <utility>

namespace vexora {

using QueryItems = QList<std::pair<QString, std::optional<QString>>>;

// The base path with its query: names and values percent-encoded (always escaping "+", "&"
// and "="), joined in order; no "?" when there is no item.
QString makePath(const QString& basePath, const QueryItems& items);

// An id as one path segment: "/", "?" and "#" (and anything outside a path) escaped.
QString encodedPathSegment(const QString& id);

}  // namespace vexora
