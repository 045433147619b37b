#pragma once

#include "foundation/Json.h"

#include <QList>
#include <QString>
#include <cstdint>
#include <map>
#include <variant>

namespace vexora {

class JsonReader;

// A generic JSON value, for bodies without a typed shape and free-form reply fields.
class JSONValue {
public:
    using Array = QList<JSONValue>;
    using Object = std::map<QString, JSONValue>;
    enum class Kind { string, integer, number, boolean, array, object, null };

    JSONValue() = default;  // null
    JSONValue(std::nullptr_t) {}
    JSONValue(bool value) : storage_(value) {}
    JSONValue(std::int64_t value) : storage_(value) {}
    JSONValue(int value) : storage_(std::int64_t(value)) {}
    JSONValue(double value) : storage_(value) {}
    JSONValue(QString value) : storage_(std::move(value)) {}
    JSONValue(const char* value) : storage_(QString::fromUtf8(value)) {}
    JSONValue(Array value) : storage_(std::move(value)) {}
    JSONValue(Object value) : storage_(std::move(value)) {}

    Kind kind() const;
    bool isNull() const { return kind() == Kind::null; }
    const QString* asString() const { return std::get_if<QString>(&storage_); }
    const std::int64_t* asInteger() const { return std::get_if<std::int64_t>(&storage_); }
    const double* asNumber() const { return std::get_if<double>(&storage_); }
    const bool* asBool() const { return std::get_if<bool>(&storage_); }
    const Array* asArray() const { return std::get_if<Array>(&storage_); }
    const Object* asObject() const { return std::get_if<Object>(&storage_); }

    bool operator==(const JSONValue& other) const { return storage_ == other.storage_; }

    Json toJson() const;
    // Decodes in the order null, Boolean, integer, floating point, string, array, object.
    static JSONValue fromJson(const JsonReader& reader);

private:
    std::variant<std::nullptr_t, bool, std::int64_t, double, QString, Array, Object> storage_;
};

size_t qHash(const JSONValue& value, size_t seed = 0);

}  // namespace vexora
