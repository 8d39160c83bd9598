#include "ui/support/ui_session.h"

#include "clock/clock.h"
#include "comms/serial_link.h"
#include "store/database.h"
#include "store/store.h"
#include "store/store_error.h"
#include "support/qt_support.h"
#include "ui/main_window/main_window.h"
#include "ui/window_catalogue.h"

#include <QCoreApplication>
#include <QLoggingCategory>
#include <QSqlQuery>
#include <QTest>

namespace qv::test {

QApplication& uiApp() {
    static int argc = 1;
    static char name[] = "quorvel-ui-tests";
    static char* argv[] = {name, nullptr};
    if (auto* existing = qobject_cast<QApplication*>(QCoreApplication::instance())) return *existing;
    static QApplication* app = new QApplication(argc, argv);
    return *app;
}

void execOnFile(const QString& dataDir, const QString& sql, const QVariantList& values, store::DbKind kind) {
    try {
        store::Database::open(store::DataPaths{dataDir}.pathOf(kind), kind).run(sql, values);
    } catch (const store::StoreError& error) {
        QFAIL(error.what());
    }
}

void click(QWidget* window, const char* name) {
    auto* button = child<QAbstractButton>(window, name);
    QVERIFY2(button, name);
    button->click();
}

UiSession::UiSession() : UiSession(Options{}) {}

UiSession::UiSession(Options options)
    : m_options(std::move(options)),
      m_settings(m_data.filePath(QStringLiteral("user.ini")), QSettings::IniFormat),
      m_sim(QStringLiteral(QUORVEL_SIM_PATH)) {
    uiApp();
    // Warnings only: the start-up and maintenance lines would bury a failure.
    QLoggingCategory::setFilterRules(QStringLiteral("quorvel.*.info=false\nquorvel.*.debug=false"));
    qputenv("XDG_RUNTIME_DIR", m_runtime.path().toUtf8());
    ui::setMessageBoxHook([this](const ui::BoxRequest& request, bool* yes) {
        boxes.push_back(request);
        if (request.question) {
            *yes = answers.empty() ? true : answers.front();
            if (!answers.empty()) answers.pop_front();
        }
        return true;
    });
}

UiSession::~UiSession() {
    if (m_mainWindow) m_mainWindow->hide();
    if (m_windows) m_windows->closeAll();
    m_mainWindow.reset();
    if (m_engine && m_engine->started()) {
        bool done = false;
        m_engine->shutdown([&] { done = true; });
        waitUntil([&] { return done; }, 15000);
    }
    m_windows.reset();
    m_engine.reset();
    m_sim.stop();
    ui::setMessageBoxHook({});
}

bool UiSession::waitUntil(const std::function<bool()>& condition, int timeoutMs) {
    return test::waitUntil(condition, timeoutMs);
}

bool UiSession::sawBox(const QString& text) const {
    for (const auto& box : boxes)
        if (box.text == text) return true;
    return false;
}

bool UiSession::startSimulator() {
    return !m_sim.start(QStringList{QStringLiteral("--quiet")} + m_options.simArguments, &m_why, simLink())
                .isEmpty();
}

bool UiSession::runEngine(bool keepRunning) {
    if (!m_clock) m_clock = std::make_unique<qv::SystemClock>();
    qv::Clock& clock = m_options.clock ? *m_options.clock : *m_clock;
    m_engine = std::make_unique<shell::Engine>(shell::EngineDeps{
        clock, comms::SerialLink::factory(), m_settings, nullptr, m_options.channelSeekStepMs});
    if (keepRunning) {
        m_windows = std::make_unique<ui::Windows>(*m_engine, nullptr);
        ui::addAllWindows(*m_windows);
    }
    std::optional<shell::StartResult> result;
    m_engine->start({m_data.path(), simLink()}, [&](const shell::StartResult& r) { result = r; });
    if (!waitUntil([&] { return result.has_value(); }, 20000) || !result->ok) {
        m_why = result ? result->fatalMessage : QStringLiteral("the engine did not start in time");
        return false;
    }
    if (keepRunning) {
        if (m_options.mainWindow) {
            m_mainWindow = std::make_unique<ui::MainWindow>(*m_engine, *m_windows, m_settings);
            m_windows->setMainWindow(m_mainWindow.get());
            m_mainWindow->show();
        }
        return true;
    }
    bool done = false;
    m_engine->shutdown([&] { done = true; });
    waitUntil([&] { return done; }, 15000);
    m_engine.reset();
    return done;
}

bool UiSession::start() {
    if (!startSimulator()) return false;
    if (m_options.seed) {
        if (!runEngine(false)) return false;
        m_options.seed(m_data.path());
    }
    return runEngine(true);
}

void UiSession::execOnMain(const QString& sql, const QVariantList& values) {
    m_engine->mainDatabase().run(sql, values);
}

QVariant UiSession::valueOnMain(const QString& sql, const QVariantList& values) {
    return m_engine->mainDatabase().value(sql, values);
}

}  // namespace qv::test
