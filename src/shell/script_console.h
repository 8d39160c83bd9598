#pragma once
// The script console: JavaScript run by QJSEngine, with the program's public
// operations as the object "qv" (qv.RunMacro("Lobby On"), qv.sendRS232(...)).
// Running code calls its function main(), as the console always has.

#include <QJSEngine>
#include <QObject>
#include <QString>

namespace qv::shell {

class ScriptConsole : public QObject {
    Q_OBJECT
public:
    // api is exposed to scripts as "qv"; its Q_INVOKABLE methods and slots are callable.
    explicit ScriptConsole(QObject* api, QObject* parent = nullptr);

    struct Outcome {
        bool ok = true;
        QString error;  // "Scripting Error N:   description" when not ok
        QString result;
    };

    // Resets the engine, evaluates the code and calls main() when the code defines one.
    Outcome run(const QString& code, const QString& fileName = QStringLiteral("console"));

    static constexpr const char* kTitle = "Quorvel Scripting";
    // A script still running after this long is stopped, so a runaway loop
    // cannot freeze the building's automation.
    static constexpr int kTimeLimitMs = 30000;

private:
    void reset();

    QObject* m_api;
    std::unique_ptr<QJSEngine> m_engine;
};

}  // namespace qv::shell
