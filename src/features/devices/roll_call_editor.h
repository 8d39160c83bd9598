#pragma once
// The logic of RollCallForm: roll-call names and their members, the installed
// devices, and the actions taken when devices stay silent. The list readers
// throw StoreError; the changes answer an Outcome with the text to show.

#include "features/devices/roll_call_results.h"
#include "store/database.h"
#include "store/outcome.h"

#include <QStringList>

#include <vector>

namespace qv::devices {

struct DeviceTypeRow {
    int deviceId = 0;
    QString device;
    QString deviceCode;
};

struct InstalledDeviceRow {
    int deviceId = 0;
    int box = 0;
    QString description;
    QString device;  // the type's name, empty for a type that is gone
};

struct MemberKey {
    int deviceId = 0;
    int box = 0;
    bool operator==(const MemberKey&) const = default;
};

class RollCallEditor {
public:
    explicit RollCallEditor(store::Database& main);

    // RollCallNameCombo: every name with members or actions, sorted.
    QStringList rollCallNames();
    std::vector<DeviceTypeRow> deviceTypes();
    std::vector<InstalledDeviceRow> installedDevices();
    std::vector<MemberKey> members(const QString& name);
    std::optional<RollCallActionsRow> actions(const QString& name);

    // Ticking (included) or unticking an installed device for the roll call.
    store::Outcome setMember(const QString& name, int deviceId, int box, bool included);

    store::Outcome addInstalledDevice(int deviceId, const QString& boxText, const QString& description);
    // Also takes the device out of every roll call.
    store::Outcome deleteInstalledDevice(int deviceId, int box);
    // Its RollCall and RollCallActions rows.
    store::Outcome deleteRollCall(const QString& name);

    // Replaces the name's RollCallActions row. An unticked action is stored empty.
    store::Outcome saveActions(const QString& name, bool macroCheck, const QString& macro, bool emailCheck,
                               const QString& recipients);

private:
    store::Outcome failed(const QString& what, const std::exception& error);

    store::Database& m_main;
};

}  // namespace qv::devices
