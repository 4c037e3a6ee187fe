#include "cli/settings_json.h"

#include <QJsonArray>
#include <QJsonDocument>

#include "fleet/setting_fields.h"

namespace ravelfin::cli {

namespace {

template <typename Range>
QJsonArray ByteArray(const Range& bytes) {
    QJsonArray array;
    for (std::uint8_t b : bytes)
        array.append(static_cast<int>(b));
    return array;
}

template <typename Range>
QJsonArray ArrayOfByteArrays(const Range& strings) {
    QJsonArray array;
    for (const Bytes& s : strings)
        array.append(ByteArray(s));
    return array;
}

QJsonObject CustomCardToJson(const CustomCardDefinition& card) {
    QJsonObject object;
    object["fields"] = ArrayOfByteArrays(card.fields);
    object["lengthLimits"] = ArrayOfByteArrays(card.lengthLimits);
    object["matchStrings"] = ArrayOfByteArrays(card.matchStrings);
    return object;
}

}  // namespace

QJsonObject SettingsToJson(const ReaderSettings& record) {
    QJsonObject object;
    object["InterfaceType"] = static_cast<qint64>(record.InterfaceType);
    object["ModelClass"] = static_cast<qint64>(record.ModelClass);
    object["FirmwareVersionNumber"] = record.FirmwareVersionNumber;
    object["ReconnectPending"] = static_cast<qint64>(record.ReconnectPending);
    for (const ByteSetting& s : ByteSettings())
        object[s.Name] = static_cast<int>(record.*s.Field);
    for (const StringSetting& s : StringSettings())
        object[s.Name] = ByteArray(record.*s.Field);
    object["SerialNumber"] = ByteArray(record.SerialNumber);
    object["addedFields"] = ArrayOfByteArrays(record.addedFields);
    object["custom"] = CustomCardToJson(record.custom);
    object["custom2"] = CustomCardToJson(record.custom2);
    object["formulas"] = ArrayOfByteArrays(record.formulas);
    return object;
}

std::string CompactJson(const QJsonValue& value) {
    if (value.isArray())
        return QJsonDocument(value.toArray()).toJson(QJsonDocument::Compact).toStdString();
    if (value.isObject()) {
        return QJsonDocument(value.toObject()).toJson(QJsonDocument::Compact).toStdString();
    }
    if (value.isDouble())
        return QString::number(value.toDouble()).toStdString();
    return QJsonDocument(QJsonArray{value}).toJson(QJsonDocument::Compact).toStdString();
}

}  // namespace ravelfin::cli
