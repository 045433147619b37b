#pragma once

#include "foundation/Json.h"

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>
#include <cstdint>
#include <optional>
#include <string_view>

namespace vexora {

// How dates are written: ISO 8601 in UTC with milliseconds ("2026-12-01T10:00:00.250Z"); empty
// for a date outside the years 1 to 9999, which has no such text.
QString isoDateText(const QDateTime& time);

// The value as a signed 64-bit integer: an integer in range, or a whole number such as 3.0.
std::optional<std::int64_t> jsonInteger(const Json& value);

// Reads one JSON value with exact keys, remembering where it is so that a decoding error
// names the offending key ("session.access_token", "items[3].id").
// Absent and null optional members read as none; a member of the wrong type is an error.
class JsonReader {
public:
    // Parses a whole body; invalid JSON or nesting deeper than `maxDepth` is a decoding error.
    static JsonReader parse(const QByteArray& body);
    static constexpr int maxDepth = 512;

    JsonReader(const Json& value, QString path);

    const Json& value() const { return *value_; }
    const QString& path() const { return path_; }
    bool isObject() const { return value_->is_object(); }

    bool has(std::string_view key) const;  // present and not null

    QString string() const;
    std::int64_t integer() const;
    double number() const;
    bool boolean() const;
    QList<JsonReader> array() const;
    // An ISO 8601 date that isoDateText can write back; any other is a decoding error.
    QDateTime date() const;

    JsonReader member(std::string_view key) const;                  // required
    std::optional<JsonReader> optionalMember(std::string_view key) const;

    QString requiredString(std::string_view key) const { return member(key).string(); }
    std::optional<QString> optionalString(std::string_view key) const;
    double requiredNumber(std::string_view key) const { return member(key).number(); }
    std::optional<double> optionalNumber(std::string_view key) const;
    std::optional<std::int64_t> optionalInteger(std::string_view key) const;
    std::optional<bool> optionalBool(std::string_view key) const;
    std::optional<QDateTime> optionalDate(std::string_view key) const;

    // A required array member whose items decode with `T::fromJson`.
    template <typename T>
    QList<T> requiredList(std::string_view key) const {
        QList<T> items;
        for (const JsonReader& item : member(key).array()) items.append(T::fromJson(item));
        return items;
    }

    [[noreturn]] void fail(const QString& problem) const;
    void requireObject() const;

private:
    QString childPath(std::string_view key) const;

    std::shared_ptr<const Json> owned_;  // set when this reader parsed the body itself
    const Json* value_;
    QString path_;
};

}  // namespace vexora
