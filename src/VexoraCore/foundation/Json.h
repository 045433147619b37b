#pragma once

#include <QByteArray>
#include <QString>
#include <nlohmann/json.hpp>
#include <optional>

// QString travels as a UTF-8 JSON string.
template <>
struct nlohmann::adl_serializer<QString> {
    static void to_json(nlohmann::json& json, const QString& text) { json = text.toStdString(); }
    static void from_json(const nlohmann::json& json, QString& text) {
        text = QString::fromStdString(json.get<std::string>());
    }
};

namespace vexora {

using Json = nlohmann::json;

// Sets `key` only when the value is present: optional keys are omitted, never sent as null.
template <typename T>
void putIfPresent(Json& json, const char* key, const std::optional<T>& value) {
    if (value) json[key] = *value;
}

// The compact UTF-8 encoding of a JSON value; invalid UTF-8 is replaced, never thrown on.
QByteArray encodeJson(const Json& value);

}  // namespace vexora
