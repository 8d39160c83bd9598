#include "process/command_line.h"

#include <QCoreApplication>

#include <cstdio>
#include <utility>

namespace qv::process {

CommandLine::CommandLine(QString program, const QString& description, CommandLineStyle style)
    : m_program(std::move(program)), m_style(std::move(style)) {
    m_parser.setApplicationDescription(description);
    if (m_style.helpDescription.isEmpty()) {
        m_parser.addHelpOption();
    } else {
        m_help.emplace(QStringList{QStringLiteral("h"), QStringLiteral("help")}, m_style.helpDescription);
        m_parser.addOption(*m_help);
    }
    if (m_style.versionDescription.isEmpty()) {
        m_parser.addVersionOption();
    } else {
        m_version.emplace(QStringList{QStringLiteral("v"), QStringLiteral("version")},
                          m_style.versionDescription);
        m_parser.addOption(*m_version);
    }
}

CommandLineOutcome CommandLine::parseSkeleton(const QStringList& arguments, QString* text) {
    if (!m_parser.parse(arguments)) {
        *text = m_parser.errorText();
        return CommandLineOutcome::Error;
    }
    if (m_parser.isSet(QStringLiteral("help"))) {
        // Qt names the program after the application object's first argument,
        // which may be a path as typed, or missing when the options are read
        // before the object is made.
        const QString help = m_parser.helpText();
        const qsizetype options = help.indexOf(QLatin1String(" [options]"));
        *text = options < 0 || help.left(options).contains(QLatin1Char('\n'))
                    ? help
                    : QStringLiteral("Usage: ") + m_program + help.mid(options);
        return CommandLineOutcome::Help;
    }
    if (m_parser.isSet(QStringLiteral("version"))) {
        *text = QStringLiteral("%1 %2").arg(m_program, QCoreApplication::applicationVersion());
        return CommandLineOutcome::Version;
    }
    if (!m_parser.positionalArguments().isEmpty()) {
        *text = m_style.strayArgument.arg(m_parser.positionalArguments().constFirst());
        return CommandLineOutcome::Error;
    }
    return CommandLineOutcome::Run;
}

std::optional<int> commandLineExit(const QString& program, CommandLineOutcome outcome, const QString& text) {
    if (outcome == CommandLineOutcome::Run) return std::nullopt;
    const bool error = outcome == CommandLineOutcome::Error;
    QByteArray bytes = (error ? program + QStringLiteral(": ") + text : text).toLocal8Bit();
    if (!bytes.endsWith('\n')) bytes += '\n';
    std::FILE* out = error ? stderr : stdout;
    std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), out);
    std::fflush(out);
    return error ? 2 : 0;
}

}  // namespace qv::process
