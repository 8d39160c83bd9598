#pragma once
// The one row of Comms and of Config as plain values. Field names are the
// stored ones, so a setting is called the same in the file, the code and the
// configuration window. A table without its row gives the defaults below.

#include <QString>

namespace qv::store {

class Database;

struct CommsSettings {
    bool useTCP = false;        // the server link instead of the serial port
    QString hostname;           // primary server
    QString secondaryhostname;  // empty for none
    int comport = 1;            // serial port number, used when portname is empty
    QString portname;           // device path such as /dev/ttyUSB0; wins over comport
    bool USB = false;           // the gateway is a USB device
    int usbdelay = 15;          // ms of quiet before a USB read (stored as USBdelay)
    QString baud1 = QStringLiteral("9600");
    QString parity1 = QStringLiteral("None");  // only the first letter counts
    int databits1 = 8;
    QString stopbits1 = QStringLiteral("1");
};

struct ConfigSettings {
    // Permission switches: which functions the user may open.
    bool areanames = true;
    bool lightlevels = true;
    bool events = true;
    bool scheduler = true;
    bool email = true;
    bool customcode = true;
    bool ddeability = true;
    bool corvalin = true;
    bool rollcall = true;
    bool macros = true;
    bool directcontrol = true;
    bool plan = true;
    bool monitor = true;
    bool sensorlog = true;
    bool macrosrunning = true;
    // Stored and edited only.
    bool macroorvanet = true;
    bool macrowavfiles = true;
    bool macroemail = true;
    bool macrocustomcodes = true;
    bool macrorunmacros = true;
    bool macrocancelmacros = true;
    bool macrocorvalin = true;
    bool macrorollcall = true;
    bool macroorvanetchannels = true;
    bool editbuttons = true;

    bool enablemonitorlog = true;
    bool enablesensorlog = false;
    bool enableenergyusage = false;
    bool donotallowshutdown = false;
    bool UserCanSaveLightingPresets = false;
    bool UserCanSeekchannels = false;
    bool DayLightSaving = false;

    int buttonversion = 8;  // 4, 8, 12, 18 or 24 buttons
    int MonitorLogMaxRecords = 100000;
    int LoadFromMonitorLog = 100;  // 0-10000 records read back at start-up
    int SensorLogMaxRecords = 100000;
    double Latitude = -31.8;     // degrees, negative is south
    double Longitude = -115.95;  // degrees, negative is east
    double Timezone = 8.0;       // hours from GMT
    int releaserate = 80;        // ms between out-box messages, 50-300

    // The SMTP server of macro e-mails; an empty mailhost means mail is not set up.
    QString mailhost;
    int mailport = 25;
    QString mailtls = QStringLiteral("none");  // "none", "starttls" or "tls"
    QString mailuser;                          // empty: no login
    QString mailpassword;
    QString mailsender;  // the From address

    // An .ics file or a folder of them whose alarms run macros; empty for none.
    QString ReminderCalendarPath;

    // As stored; the configuration window keeps them in range when edited.
};

// Throw StoreError when the table cannot be read.
CommsSettings loadCommsSettings(Database& main);
ConfigSettings loadConfigSettings(Database& main);

}  // namespace qv::store
