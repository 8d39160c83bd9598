#include "features/devices/roll_call_name.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

namespace qv::devices {

namespace {

// File names are limited to 255 bytes; ".db" is added.
constexpr int kMaxNameBytes = 250;

QString refusal(const QString& name, const QString& why) {
    return QStringLiteral("The roll call \"%1\" cannot be run: %2").arg(name, why);
}

bool isReservedDeviceName(const QString& name) {
    // Windows gives these names (with any extension) to devices, not files.
    static const QRegularExpression device(QStringLiteral("^(con|prn|aux|nul|com[0-9]|lpt[0-9])(\\..*)?$"),
                                           QRegularExpression::CaseInsensitiveOption);
    return device.match(name).hasMatch();
}

bool isOwnFileName(const QString& name) {
    // Roll calls share the folder with these files (name + ".db").
    static const QStringList own{QStringLiteral("sensorlog"), QStringLiteral("energyusage"),
                                 QStringLiteral("rollcalltemplate"), QStringLiteral("winrights")};
    return own.contains(name, Qt::CaseInsensitive);
}

}  // namespace

std::optional<QString> rollCallNameProblem(const QString& name) {
    if (name.trimmed().isEmpty()) return refusal(name, QStringLiteral("it has no name"));
    for (const QChar c : name) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7F)
            return refusal(name, QStringLiteral("its name holds a control character"));
        if (QStringLiteral("/\\:*?\"<>|").contains(c))
            return refusal(name, QStringLiteral("a file name cannot hold the character %1").arg(c));
    }
    if (name == QLatin1String(".") || name == QLatin1String("..") || name.startsWith(QLatin1Char('.')))
        return refusal(name, QStringLiteral("a file name cannot start with a dot"));
    if (name.endsWith(QLatin1Char('.')) || name.endsWith(QLatin1Char(' ')) ||
        name.startsWith(QLatin1Char(' ')))
        return refusal(name,
                       QStringLiteral("a file name cannot start or end with a blank, nor end with a dot"));
    if (isReservedDeviceName(name)) return refusal(name, QStringLiteral("that name belongs to a device"));
    if (isOwnFileName(name))
        return refusal(name, QStringLiteral("its results would replace one of the program's files"));
    if (name.toUtf8().size() > kMaxNameBytes)
        return refusal(name, QStringLiteral("its name is too long for a file name"));
    return std::nullopt;
}

QString rollCallResultsPath(const store::DataPaths& paths, const QString& name) {
    return QDir(paths.dir).filePath(name + QStringLiteral(".db"));
}

}  // namespace qv::devices
