#pragma once
// The command-line skeleton the programs share: help and version, a stray
// argument refused, numbers within a range, and what a program prints and
// returns when its command line says it should not run. Each program adds
// its own options to parser() and reads them after parse() said Run.

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QString>
#include <QStringList>

#include <optional>
#include <type_traits>

namespace qv::process {

enum class CommandLineOutcome { Run, Help, Version, Error };

template <typename Options>
struct ParsedCommandLine {
    using Outcome = CommandLineOutcome;
    Outcome outcome = Outcome::Run;
    QString text;  // the help text, the version line, or what was wrong
    Options options;

    // An error: the program does not run, and why.
    ParsedCommandLine fail(const QString& why) {
        outcome = Outcome::Error;
        text = why;
        return *this;
    }
};

// How the help and version options are offered. Empty descriptions give Qt's
// own (-h, --help, -?, --help-all and -v, --version).
struct CommandLineStyle {
    QString helpDescription;
    QString versionDescription;
    QString strayArgument = QStringLiteral("unexpected argument: %1");
};

class CommandLine {
public:
    CommandLine(QString program, const QString& description, CommandLineStyle style = {});

    QCommandLineParser& parser() { return m_parser; }
    const QCommandLineParser& parser() const { return m_parser; }

    // Run when the program's own options are to be read; else the help text,
    // the version line or what was wrong.
    template <typename Options>
    ParsedCommandLine<Options> parse(const QStringList& arguments) {
        ParsedCommandLine<Options> result;
        result.outcome = parseSkeleton(arguments, &result.text);
        return result;
    }

    // The option's number within [low, high], or nothing with the reason in *error.
    template <typename T>
    std::optional<T> number(const QCommandLineOption& option, T low, T high, QString* error) const {
        const QString text = m_parser.value(option);
        bool ok = false;
        T value{};
        if constexpr (std::is_floating_point_v<T>)
            value = static_cast<T>(text.toDouble(&ok));
        else if constexpr (std::is_unsigned_v<T>)
            value = static_cast<T>(text.toULongLong(&ok));
        else
            value = static_cast<T>(text.toLongLong(&ok));
        if (!ok || !(value >= low && value <= high)) {
            *error = QStringLiteral("--%1 %2: expected a number from %3 to %4")
                         .arg(option.names().constFirst(), text, QString::number(low), QString::number(high));
            return std::nullopt;
        }
        return value;
    }

private:
    CommandLineOutcome parseSkeleton(const QStringList& arguments, QString* text);

    QString m_program;
    CommandLineStyle m_style;
    QCommandLineParser m_parser;
    std::optional<QCommandLineOption> m_help;
    std::optional<QCommandLineOption> m_version;
};

// Nothing when the program should run. Otherwise prints the help or the
// version on standard output (exit code 0), or "program: what was wrong" on
// standard error (exit code 2), and returns the exit code.
std::optional<int> commandLineExit(const QString& program, CommandLineOutcome outcome, const QString& text);

template <typename Options>
std::optional<int> commandLineExit(const QString& program, const ParsedCommandLine<Options>& parsed) {
    return commandLineExit(program, parsed.outcome, parsed.text);
}

}  // namespace qv::process
