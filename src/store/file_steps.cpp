#include "store/file_steps.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <filesystem>
#include <system_error>

namespace qv::store {

namespace fs = std::filesystem;

namespace {

fs::path fsPath(const QString& path) {
    return fs::path(QFile::encodeName(path).toStdString());
}

FileStep failure(const std::error_code& code) {
    return {false, code.value(), QString::fromLocal8Bit(code.message().c_str())};
}

}  // namespace

bool fileExists(const QString& path) {
    std::error_code code;
    return fs::exists(fsPath(path), code);
}

FileStep removeFile(const QString& path) {
    std::error_code code;
    if (fs::remove(fsPath(path), code)) return FileStep::success();
    if (!code) code = std::make_error_code(std::errc::no_such_file_or_directory);
    return failure(code);
}

FileStep copyReplacing(const QString& from, const QString& to) {
    const QString partial = to + QStringLiteral(".partial");
    std::error_code code;
    fs::remove(fsPath(partial), code);
    if (!fs::copy_file(fsPath(from), fsPath(partial), fs::copy_options::overwrite_existing, code)) {
        if (!code) code = std::make_error_code(std::errc::io_error);
        std::error_code ignored;
        fs::remove(fsPath(partial), ignored);
        return failure(code);
    }
    fs::rename(fsPath(partial), fsPath(to), code);
    if (code) {
        std::error_code ignored;
        fs::remove(fsPath(partial), ignored);
        return failure(code);
    }
    return FileStep::success();
}

FileStep renameReplacing(const QString& from, const QString& to) {
    std::error_code code;
    fs::rename(fsPath(from), fsPath(to), code);
    return code ? failure(code) : FileStep::success();
}

FileStep makeFolder(const QString& path, bool* created) {
    std::error_code code;
    const bool made = fs::create_directories(fsPath(path), code);
    if (created) *created = made;
    if (code) return failure(code);
    if (!fs::is_directory(fsPath(path), code))
        return failure(std::make_error_code(std::errc::not_a_directory));
    return FileStep::success();
}

QString asideName(const QString& path, const QString& tag, const QDateTime& now) {
    const QString base =
        path + QLatin1Char('.') + tag + QLatin1Char('-') + now.toString(QStringLiteral("yyyyMMdd-HHmmss"));
    QString name = base;
    for (int n = 2; fileExists(name) || fileExists(name + QStringLiteral("-wal")); ++n)
        name = base + QLatin1Char('-') + QString::number(n);
    return name;
}

FileStep setAside(const QString& path, const QString& tag, const QDateTime& now, QString* keptAs) {
    const QString target = asideName(path, tag, now);
    FileStep step = renameReplacing(path, target);
    if (!step.ok) return step;
    if (keptAs) *keptAs = target;
    const QString wal = path + QStringLiteral("-wal");
    if (fileExists(wal)) {
        const FileStep walStep = renameReplacing(wal, target + QStringLiteral("-wal"));
        if (!walStep.ok) {
            // A stale journal beside the restored file would be replayed into
            // it; put the file back rather than risk that.
            renameReplacing(target, path);
            return walStep;
        }
    }
    removeFile(path + QStringLiteral("-shm"));
    return FileStep::success();
}

}  // namespace qv::store
