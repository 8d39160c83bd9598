// The plan view against quorvel-sim: indicators take the colour of the
// preset the network reports, one area at a time or all at once, and a
// navigation shows a view.

#include "features/plan/plan_feed.h"
#include "net/builders.h"
#include "shell/engine.h"
#include "shell/feature_set.h"
#include "ui/plan/floating_preset_combo_form.h"
#include "ui/plan/indicator_setup_form.h"
#include "ui/plan/plan_view_form.h"
#include "ui/plan/plan_view_tree_tool_box_form.h"
#include "ui/support/ui_session.h"
#include "ui/window_names.h"
#include "ui/windows.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGraphicsRectItem>
#include <QMenu>
#include <QPushButton>
#include <QTableWidget>
#include <QTreeWidget>
#include <QtTest>

using qv::test::UiSession;

namespace {

// View 7 "Ground floor" shows floor.svg (file 1) with the indicators given as
// rows of (PlanIndicator_ID, Index, IndicatorLEFT, IndicatorTOP, Area, WMFFile_ID).
void addGroundFloorView(UiSession& session, const QString& indicators) {
    session.execOnMain(
        QStringLiteral("INSERT INTO TreeView (TreeView_ID, Label, ChildOf, WMFFile, \"Left\", Width, Top,"
                       " Height, iconsize) VALUES (7, 'Ground floor', 0, 'floor.svg', 0, 2000, 0, 1500, 2)"));
    session.execOnMain(QStringLiteral("INSERT INTO WMFFiles (WMFFile_ID, WMFFile) VALUES (1, 'floor.svg')"));
    session.execOnMain(
        QStringLiteral("INSERT INTO PlanIndicators (PlanIndicator_ID, \"Index\", IndicatorLEFT,"
                       " IndicatorTOP, Area, WMFFile_ID) VALUES ") +
        indicators);
}

// Colour lines as rows of (PlanAreaColour_ID, Area, WMFFile_ID, DefaultColour)
// and of (PlanAreaColour_ID, Preset, Colour, Icon), read by the plan at once.
void addColours(UiSession& session, const QString& areas, const QString& presets) {
    session.execOnMain(QStringLiteral("INSERT INTO PlanAreaColours (PlanAreaColour_ID, Area, WMFFile_ID,"
                                      " DefaultColour) VALUES ") +
                       areas);
    session.execOnMain(
        QStringLiteral("INSERT INTO PlanPresetColours (PlanAreaColour_ID, Preset, Colour, Icon) VALUES ") +
        presets);
    session.engine().features()->GetIndicatorChanges();
}

// The plan view opened on a view.
qv::ui::PlanViewForm* openPlanView(UiSession& session, int view) {
    session.windows().open(qv::ui::window::kPlanView, view);
    return session.windows().find<qv::ui::PlanViewForm>(qv::ui::window::kPlanView);
}

}  // namespace

class PlanViewTest : public QObject {
    Q_OBJECT
private slots:
    void indicatorsFollowTheReportedPresets();
    void lockArrowsAndThePresetsEntry();
    void indicatorSetupEntersAndDeletesLines();
    void treeAddsRenamesDeletesAndShowsViews();
    void metafileDrawingsShowAndABrokenOneIsPassedOver();
};

void PlanViewTest::indicatorsFollowTheReportedPresets() {
    UiSession session;
    QVERIFY2(session.start(), qPrintable(session.why()));
    // A view of floor.svg with indicator 1 for area 5 and indicator 2 for area 6;
    // preset 3 of area 5 is red, preset 4 of both areas is blue (red in the low byte).
    addGroundFloorView(session, QStringLiteral("(1, 1, 100, 100, 5, 1), (2, 2, 600, 100, 6, 1)"));
    addColours(session, QStringLiteral("(1, 5, 1, 8421504), (2, 6, 1, 8421504)"),
               QStringLiteral("(1, 3, 255, ''), (1, 4, 16711680, ''), (2, 4, 16711680, '')"));
    QDir(session.dataDir()).mkpath(QStringLiteral("Planview Drawings"));
    QVERIFY(QFile::copy(QStringLiteral(QUORVEL_DEMO_FLOOR),
                        session.dataDir() + QStringLiteral("/Planview Drawings/floor.svg")));

    auto* form = openPlanView(session, 7);
    QVERIFY(form);
    QCOMPARE(form->currentView(), 7);
    QGraphicsRectItem* five = form->indicator(1);
    QGraphicsRectItem* six = form->indicator(2);
    QVERIFY(five && six);
    QCOMPARE(five->rect().width(), 150.0);

    session.engine().sendRS232(*qv::net::GoAreaPreset(5, 3));
    QVERIFY(UiSession::waitUntil([&] { return five->brush().color() == QColor(Qt::red); }));
    QCOMPARE(five->toolTip(), QStringLiteral("Area 5 in Preset 3"));
    QCOMPARE(six->brush().color(), QColor(Qt::lightGray));

    session.engine().sendRS232(*qv::net::GoAreaPreset(0, 4));
    QVERIFY(UiSession::waitUntil([&] { return six->brush().color() == QColor(Qt::blue); }));
    QCOMPARE(five->brush().color(), QColor(Qt::blue));
    // The drawing is shown under the indicators.
    QVERIFY(form->scene()->items().size() == 3);

    // A macro's navigation shows the view and writes the monitor record.
    form->hide();
    session.engine().features()->plan().NavigatePlanView(7);
    QVERIFY(form->isVisible());
}

// With LockPlanview set a click on an indicator neither selects it, opens
// its menu nor drags it; unlocked, Shift+arrow moves ten times as far as an
// arrow alone and the place is stored at once. The menu's Presets entry asks
// for an area while the indicator has no colour line; with one it opens the
// floating preset for the area, whose Go sends the chosen preset.
void PlanViewTest::lockArrowsAndThePresetsEntry() {
    UiSession session;
    QVERIFY2(session.start(), qPrintable(session.why()));
    addGroundFloorView(session, QStringLiteral("(1, 1, 500, 500, 5, 1)"));
    auto* form = openPlanView(session, 7);
    QVERIFY(form);
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form));
    QGraphicsRectItem* item = form->indicator(1);
    QVERIFY(item);
    const auto centre = [&] { return form->mapFromScene(item->sceneBoundingRect().center()); };
    const auto stored = [&] {
        return session
            .valueOnMain(QStringLiteral("SELECT IndicatorLEFT || ' ' || IndicatorTOP FROM PlanIndicators"
                                        " WHERE \"Index\" = 1"))
            .toString();
    };

    session.userSettings().setValue(QStringLiteral("Client/LockPlanview"), 1);
    QTest::mouseClick(form->viewport(), Qt::RightButton, {}, centre());
    QCOMPARE(form->selectedIndicator(), 0);
    QVERIFY(!form->indicatorMenu());
    const QPoint from = centre();
    QTest::mousePress(form->viewport(), Qt::LeftButton, {}, from);
    QMouseEvent move(QEvent::MouseMove, from + QPoint(60, 40),
                     form->viewport()->mapToGlobal(from + QPoint(60, 40)), Qt::NoButton, Qt::LeftButton,
                     Qt::NoModifier);
    QApplication::sendEvent(form->viewport(), &move);
    QTest::mouseRelease(form->viewport(), Qt::LeftButton, {}, from + QPoint(60, 40));
    QTest::keyClick(form, Qt::Key_Right);
    QCOMPARE(item->pos(), QPointF(500, 500));
    QCOMPARE(stored(), QStringLiteral("500.0 500.0"));

    session.userSettings().setValue(QStringLiteral("Client/LockPlanview"), 0);
    QTest::mouseClick(form->viewport(), Qt::LeftButton, {}, centre());
    QCOMPARE(form->selectedIndicator(), 1);
    QTest::keyClick(form, Qt::Key_Right);
    QCOMPARE(stored(), QStringLiteral("510.0 500.0"));
    QTest::keyClick(form, Qt::Key_Down, Qt::ShiftModifier);
    QCOMPARE(stored(), QStringLiteral("510.0 600.0"));
    QTest::mouseClick(form->viewport(), Qt::RightButton, {}, centre());
    QVERIFY(form->indicatorMenu() && form->indicatorMenu()->isVisible());
    form->indicatorMenu()->actions().first()->trigger();
    QVERIFY(session.sawBox(qv::plan::PlanIndicators::kNeedArea));

    addColours(session, QStringLiteral("(1, 5, 1, 0)"), QStringLiteral("(1, 3, 255, '')"));
    QTest::mouseClick(form->viewport(), Qt::RightButton, {}, centre());
    QVERIFY(form->indicatorMenu());
    form->indicatorMenu()->actions().first()->trigger();
    auto* floating = session.windows().find<qv::ui::FloatingPresetComboForm>(qv::ui::window::kFloatingPreset);
    QVERIFY(floating);
    QCOMPARE(floating->windowTitle(), QStringLiteral("Area 5:  "));
    auto* presets = floating->findChild<QComboBox*>(QStringLiteral("PresetCombo"));
    QVERIFY(presets);
    QCOMPARE(presets->count(), 96);
    presets->setCurrentIndex(presets->findData(3));
    floating->findChild<QPushButton*>(QStringLiteral("GoButton"))->click();
    QVERIFY(UiSession::waitUntil([&] { return session.engine().areaState().GetPresetforArea(5) == 3; }));
    QVERIFY(UiSession::waitUntil([&] { return item->brush().color() == QColor(Qt::red); }));
}

// Enter needs an area and a preset; a line entered gives the indicator its
// area and shows in the grid; the Delete key on a line removes it.
void PlanViewTest::indicatorSetupEntersAndDeletesLines() {
    UiSession session;
    QVERIFY2(session.start(), qPrintable(session.why()));
    addGroundFloorView(session, QStringLiteral("(4, 1, 500, 500, 0, 1)"));
    session.execOnMain(QStringLiteral("INSERT INTO AreaNames (Area, AreaName) VALUES (5, 'Lobby''s east')"));
    auto* form =
        qobject_cast<qv::ui::IndicatorSetupForm*>(session.windows().open(qv::ui::window::kIndicatorSetup, 4));
    QVERIFY(form);
    auto* areas = form->findChild<QComboBox*>(QStringLiteral("AreaCombo"));
    auto* presets = form->findChild<QComboBox*>(QStringLiteral("PresetCombo"));
    auto* grid = form->findChild<QTableWidget*>(QStringLiteral("ColourGrid"));
    auto* enter = form->findChild<QPushButton*>(QStringLiteral("EnterButton"));
    QVERIFY(areas && presets && grid && enter);
    QCOMPARE(grid->horizontalHeaderItem(0)->text(), QStringLiteral("If I hear Area"));
    QCOMPARE(grid->horizontalHeaderItem(3)->text(), QStringLiteral("Show this Icon"));

    areas->setCurrentIndex(0);  // area 0: nothing to enter
    enter->click();
    QVERIFY(session.sawBox(qv::plan::PlanIndicators::kSelectAreaPreset));

    areas->setCurrentIndex(areas->findText(QStringLiteral("5 Lobby's east")));
    presets->setCurrentIndex(presets->findData(3));
    form->setLineColour(Qt::red);
    enter->click();
    QCOMPARE(grid->rowCount(), 1);
    QCOMPARE(grid->item(0, 0)->text(), QStringLiteral("Lobby's east"));
    QCOMPARE(grid->item(0, 2)->background().color(), QColor(Qt::red));
    // The indicator's area, the preset and its colour, as stored.
    const QVariant stored = session.valueOnMain(
        QStringLiteral("SELECT i.Area || ' ' || p.Preset || ' ' || p.Colour FROM PlanIndicators i"
                       " JOIN PlanAreaColours c ON c.Area = i.Area AND c.WMFFile_ID = i.WMFFile_ID"
                       " JOIN PlanPresetColours p ON p.PlanAreaColour_ID = c.PlanAreaColour_ID"
                       " WHERE i.PlanIndicator_ID = 4"));
    QCOMPARE(stored.toString(), QStringLiteral("5 3 255"));
    QVERIFY(session.engine().features()->plan().hasIndicator(5));

    grid->setCurrentCell(0, 0);
    QTest::keyClick(grid, Qt::Key_Delete);
    QCOMPARE(grid->rowCount(), 0);
}

// An empty table gets its root "Project"; a new view goes under the chosen
// one, a rename is stored, a click shows the view and deleting the root
// (after the question) leaves no view behind. A different picture, the
// template dragged onto it and Save view are stored for the view.
void PlanViewTest::treeAddsRenamesDeletesAndShowsViews() {
    UiSession session;
    QVERIFY2(session.start(), qPrintable(session.why()));
    QSettings& settings = session.userSettings();
    for (const auto& [key, value] : {std::pair{"Top", 40}, {"Left", 30}, {"Width", 300}, {"Height", 420}})
        settings.setValue(QStringLiteral("Client/Planviewtreetoolbox") + QLatin1String(key), value);
    auto* tree =
        qobject_cast<qv::ui::PlanViewTreeToolBoxForm*>(session.windows().open(qv::ui::window::kPlanTree));
    QVERIFY(tree);
    QCOMPARE(QRect(tree->pos(), tree->size()), QRect(30, 40, 300, 420));
    QCOMPARE(tree->tree()->topLevelItemCount(), 1);
    QTreeWidgetItem* root = tree->tree()->topLevelItem(0);
    QCOMPARE(root->text(0), QStringLiteral("Project"));
    tree->tree()->setCurrentItem(root);
    tree->addView();
    root = tree->tree()->topLevelItem(0);
    QCOMPARE(root->childCount(), 1);
    QTreeWidgetItem* child = root->child(0);
    QCOMPARE(child->text(0), QStringLiteral("New View"));
    child->setText(0, QStringLiteral("Bob's floor"));
    const auto count = [&](const QString& sql) { return session.valueOnMain(sql).toInt(); };
    QCOMPARE(count(QStringLiteral("SELECT COUNT(*) FROM TreeView WHERE Label = 'Bob''s floor'")), 1);
    const int childId = child->data(0, Qt::UserRole).toInt();
    QTest::mouseClick(tree->tree()->viewport(), Qt::LeftButton, {},
                      tree->tree()->visualItemRect(child).center());
    auto* view = session.windows().find<qv::ui::PlanViewForm>(qv::ui::window::kPlanView);
    QVERIFY(view);
    QCOMPARE(view->currentView(), childId);
    QVERIFY(QTest::qWaitForWindowExposed(view));

    // A different picture is copied into the drawings folder and stored for
    // the view; the template dragged onto it adds indicator 1 where dropped.
    tree->loadPicture(QStringLiteral(QUORVEL_PLAN_DATA "/square.wmf"));
    QVERIFY(QFile::exists(session.dataDir() + QStringLiteral("/Planview Drawings/square.wmf")));
    QCOMPARE(
        count(QStringLiteral("SELECT COUNT(*) FROM TreeView WHERE WMFFile = 'square.wmf' AND Width > 900")),
        1);
    QVERIFY(view->loadProblem().isEmpty());
    QWidget* templ = view->templateIndicator();
    const QPoint drop = view->mapFromScene(QPointF(400, 300));
    QTest::mousePress(templ, Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseRelease(templ, Qt::LeftButton, {}, drop - templ->pos());
    QVERIFY(view->indicator(1));
    QCOMPARE(view->indicator(1)->toolTip(), QStringLiteral("Indicator 1"));
    QCOMPARE(count(QStringLiteral("SELECT COUNT(*) FROM PlanIndicators i JOIN WMFFiles w USING (WMFFile_ID)"
                                  " WHERE w.WMFFile = 'square.wmf' AND i.\"Index\" = 1"
                                  " AND abs(IndicatorLEFT - 400) < 3 AND abs(IndicatorTOP - 300) < 3")),
             1);
    // Save view stores what is shown after zooming in.
    view->scale(2, 2);
    tree->findChild<QPushButton*>(QStringLiteral("SaveViewButton"))->click();
    QCOMPARE(
        count(QStringLiteral("SELECT COUNT(*) FROM TreeView WHERE WMFFile = 'square.wmf' AND Width < 700")),
        1);
    // The plan view's place is stored when it closes.
    view->move(60, 50);
    view->resize(640, 480);
    view->close();
    QCOMPARE(settings.value(QStringLiteral("Client/PlanviewLeft")).toInt(), 60);
    QCOMPARE(settings.value(QStringLiteral("Client/PlanviewHeight")).toInt(), 480);

    tree->tree()->setCurrentItem(tree->tree()->topLevelItem(0));
    tree->deleteView();
    QVERIFY(session.sawBox(QStringLiteral("You about to delete your entire project!\nAre you sure?")));
    QCOMPARE(count(QStringLiteral("SELECT COUNT(*) FROM TreeView WHERE Label <> 'Project'")), 0);
}

// The WMF and EMF files are made by data/make_metafiles.py: a red rectangle
// and a blue ellipse on 1000 x 1000 units, a green rectangle on 600 x 400.
void PlanViewTest::metafileDrawingsShowAndABrokenOneIsPassedOver() {
    UiSession session;
    QVERIFY2(session.start(), qPrintable(session.why()));
    const QString drawings = session.dataDir() + QStringLiteral("/Planview Drawings/");
    QDir().mkpath(drawings);
    for (const char* name : {"square.wmf", "square.emf"})
        QVERIFY(QFile::copy(QStringLiteral(QUORVEL_PLAN_DATA "/") + QLatin1String(name),
                            drawings + QLatin1String(name)));
    QFile broken(drawings + QStringLiteral("broken.emf"));
    QVERIFY(broken.open(QIODevice::WriteOnly) && broken.write(QByteArray(200, 'x')) == 200);
    broken.close();
    session.execOnMain(QStringLiteral(
        "INSERT INTO TreeView (TreeView_ID, Label, ChildOf, WMFFile, \"Left\", Width, Top, Height,"
        " iconsize) VALUES (8, 'W', 0, 'square.wmf', 0, 1000, 0, 1000, 2),"
        " (9, 'E', 0, 'square.emf', 0, 600, 0, 400, 2), (10, 'B', 0, 'broken.emf', 0, 800, 0, 600, 3)"));
    session.execOnMain(QStringLiteral("INSERT INTO WMFFiles (WMFFile_ID, WMFFile) VALUES (1, 'broken.emf')"));
    session.execOnMain(
        QStringLiteral("INSERT INTO PlanIndicators (\"Index\", IndicatorLEFT, IndicatorTOP, Area, WMFFile_ID)"
                       " VALUES (1, 100, 100, 5, 1)"));
    auto* form = openPlanView(session, 8);
    QVERIFY(form);
    const auto colourAt = [&](const QImage& shown, QPointF scenePoint) {
        return shown.pixelColor(form->mapFromScene(scenePoint));
    };
    const auto near = [](QColor a, QColor b) {
        return qAbs(a.red() - b.red()) < 40 && qAbs(a.green() - b.green()) < 40 &&
               qAbs(a.blue() - b.blue()) < 40;
    };
    QVERIFY2(form->loadProblem().isEmpty(), qPrintable(form->loadProblem()));
    QImage shown = form->viewport()->grab().toImage();
    QVERIFY(near(colourAt(shown, {300, 300}), Qt::red));
    QVERIFY(near(colourAt(shown, {750, 750}), Qt::blue));
    QVERIFY(!near(colourAt(shown, {750, 300}), Qt::red) && !near(colourAt(shown, {750, 300}), Qt::blue));

    form->showView(9);
    QVERIFY2(form->loadProblem().isEmpty(), qPrintable(form->loadProblem()));
    shown = form->viewport()->grab().toImage();
    QVERIFY(near(colourAt(shown, {300, 200}), Qt::green));
    QVERIFY(!near(colourAt(shown, {550, 350}), Qt::green));

    // A file that is no drawing: no box, the reason shown, the view's
    // extents, indicators and size applied all the same.
    form->showView(10);
    QCOMPARE(form->loadProblem(),
             QStringLiteral(
                 "The drawing broken.emf could not be converted: it is not a readable enhanced metafile"));
    QVERIFY(session.boxes.empty());
    QCOMPARE(form->sceneRect(), QRectF(0, 0, 800, 600));
    QVERIFY(form->indicator(1));
    QCOMPARE(form->indicator(1)->rect().width(), 75.0);
}

QTEST_MAIN(PlanViewTest)
#include "plan_view_test.moc"
