#include "app/preferences.h"

#include <QSettings>

namespace ravelfin {

namespace {
constexpr char kInterfaceTypeKey[] = "Settings/InterfaceType";
constexpr char kDeviceIndexKey[] = "Settings/DeviceIndex";

int ReadInt(const QSettings& store, const char* key, int fallback) {
    bool ok = false;
    const int value = store.value(QLatin1String(key), fallback).toInt(&ok);
    return ok ? value : fallback;
}
}  // namespace

Preferences LoadPreferences() {
    const QSettings store;
    Preferences loaded;
    loaded.InterfaceType = ReadInt(store, kInterfaceTypeKey, loaded.InterfaceType);
    loaded.DeviceIndex = ReadInt(store, kDeviceIndexKey, loaded.DeviceIndex);
    return loaded;
}

void SavePreferences(const Preferences& preferences) {
    QSettings store;
    store.setValue(QLatin1String(kInterfaceTypeKey), preferences.InterfaceType);
    store.setValue(QLatin1String(kDeviceIndexKey), preferences.DeviceIndex);
    store.sync();
}

}  // namespace ravelfin
