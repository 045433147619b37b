#include "foundation/JSONValue.h"

#include "foundation/JsonReader.h"

#include <QHashFunctions>

namespace vexora {

JSONValue::Kind JSONValue::kind() const {
    switch (storage_.index()) {
    case 0: return Kind::null;
    case 1: return Kind::boolean;
    case 2: return Kind::integer;
    case 3: return Kind::number;
    case 4: return Kind::string;
    case 5: return Kind::array;
    default: return Kind::object;
    }
}

Json JSONValue::toJson() const {
    return std::visit(
        [](const auto& value) -> Json {
            using T = std::decay_t<decltype(value)>;
            if constexpr (std::is_same_v<T, Array>) {
                Json array = Json::array();
                for (const auto& item : value) array.push_back(item.toJson());
                return array;
            } else if constexpr (std::is_same_v<T, Object>) {
                Json object = Json::object();
                for (const auto& [key, item] : value) object[key.toStdString()] = item.toJson();
                return object;
            } else {
                return Json(value);
            }
        },
        storage_);
}

JSONValue JSONValue::fromJson(const JsonReader& reader) {
    const Json& json = reader.value();
    switch (json.type()) {
    case Json::value_t::null: return JSONValue();
    case Json::value_t::boolean: return JSONValue(json.get<bool>());
    case Json::value_t::number_integer:
    case Json::value_t::number_unsigned:
    case Json::value_t::number_float:
        // Integer is tried before floating point, so 3 (and 3.0) read as integers.
        if (auto whole = jsonInteger(json)) return JSONValue(*whole);
        return JSONValue(json.get<double>());
    case Json::value_t::string: return JSONValue(json.get<QString>());
    case Json::value_t::array: {
        Array items;
        for (const auto& item : reader.array()) items.append(fromJson(item));
        return JSONValue(std::move(items));
    }
    case Json::value_t::object: {
        Object members;
        for (auto it = json.begin(); it != json.end(); ++it)
            members.emplace(QString::fromStdString(it.key()), fromJson(reader.member(it.key())));
        return JSONValue(std::move(members));
    }
    default: reader.fail(QStringLiteral("is not a JSON value"));
    }
}

size_t qHash(const JSONValue& value, size_t seed) {
    QtPrivate::QHashCombine combine;
    seed = combine(seed, int(value.kind()));
    switch (value.kind()) {
    case JSONValue::Kind::null: return seed;
    case JSONValue::Kind::boolean: return combine(seed, *value.asBool());
    case JSONValue::Kind::integer: return combine(seed, qint64(*value.asInteger()));
    case JSONValue::Kind::number: return combine(seed, *value.asNumber());
    case JSONValue::Kind::string: return combine(seed, *value.asString());
    case JSONValue::Kind::array:
        for (const auto& item : *value.asArray()) seed = combine(seed, qHash(item));
        return seed;
    case JSONValue::Kind::object:
        for (const auto& [key, item] : *value.asObject()) seed = combine(combine(seed, key), qHash(item));
        return seed;
    }
    return seed;
}

}  // namespace vexora
