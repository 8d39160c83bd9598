// The plan view's engine on real database files: the tree of views, the
// indicators and their colour lines, and the looks that follow the presets.

#include "features/plan/plan_feed.h"
#include "features/plan/plan_indicators.h"
#include "features/plan/plan_views.h"
#include "features/reactions/reactions_fixture.h"

#include <QHash>

namespace qv::plan {
namespace {

using reactions::test::MainDb;

int orphanViews(MainDb& db) {
    return db.count(
        QStringLiteral("SELECT COUNT(*) FROM TreeView t LEFT JOIN TreeView p ON t.ChildOf = p.TreeView_ID"
                       " WHERE t.ChildOf <> 0 AND p.TreeView_ID IS NULL"));
}

TEST(PlanViewsTest, EmptyTableGetsOneRootAndDeletingAViewLeavesNoOrphans) {
    MainDb db;
    PlanViews views(db.db, QStringLiteral("C:\\Quorvel"));
    QVector<PlanView> tree = views.build();
    ASSERT_EQ(tree.size(), 1);
    EXPECT_EQ(tree[0].label, QStringLiteral("Project"));
    EXPECT_EQ(tree[0].drawing, QStringLiteral("C:\\Quorvel\\planview.jpg"));
    EXPECT_EQ(views.build().size(), 1);  // a second opening adds nothing
    EXPECT_EQ(db.count(QStringLiteral("SELECT COUNT(*) FROM TreeView")), 1);

    const int root = tree[0].id;
    views.saveExtents(root, 10, 200, 20, 100, 3);
    const int floor = views.addView(root);
    views.rename(floor, QStringLiteral("Ground's floor"));
    const int room = views.addView(floor);
    const int corner = views.addView(room);
    const int other = views.addView(root);
    EXPECT_EQ(views.view(room).width, 200);
    EXPECT_EQ(views.view(corner).iconSize, 3);
    tree = views.build();
    ASSERT_EQ(tree.size(), 5);
    EXPECT_EQ(tree[2].path, QStringLiteral("Project\\Ground's floor\\New View"));

    views.remove(floor);
    EXPECT_EQ(orphanViews(db), 0);
    EXPECT_EQ(db.count(QStringLiteral("SELECT COUNT(*) FROM TreeView")), 2);
    EXPECT_EQ(views.view(other).id, other);
    EXPECT_EQ(views.view(corner).id, 0);
}

TEST(PlanViewsTest, BuildingDropsTheChildrenOfAMissingParent) {
    MainDb db;
    PlanViews views(db.db, QString());
    const int root = views.build()[0].id;
    db.exec(QStringLiteral("INSERT INTO TreeView (Label, ChildOf) VALUES ('Lost', 999), ('Lost too', 999)"));
    views.addView(root);
    EXPECT_EQ(views.build().size(), 2);
    EXPECT_EQ(db.count(QStringLiteral("SELECT COUNT(*) FROM TreeView WHERE ChildOf = 999")), 0);
}

TEST(PlanIndicatorsTest, PositionsIndicesAndColourLines) {
    MainDb db;
    PlanIndicators store(db.db);
    const QString drawing = QStringLiteral("Floor's plan.svg");
    EXPECT_EQ(store.lowestFreeIndex(drawing), 1);
    store.savePosition(drawing, 1, 100, 200);
    store.savePosition(drawing, 3, 300, 400);
    store.savePosition(drawing, 1, 110, 210);  // moves, adds nothing
    EXPECT_EQ(db.count(QStringLiteral("SELECT COUNT(*) FROM WMFFiles")), 1);
    QVector<Indicator> all = store.indicators(drawing);
    ASSERT_EQ(all.size(), 2);
    EXPECT_EQ(all[0].left, 110);
    EXPECT_EQ(store.lowestFreeIndex(drawing), 2);
    EXPECT_EQ(store.paste(drawing, 5, 0, 0), 2);

    store.enterLine(drawing, 1, 7, 2, 0x00ff00, QString());
    store.enterLine(drawing, 1, 7, 1, 0x0000ff, QStringLiteral("lamp.png"));
    store.enterLine(drawing, 1, 7, 2, 0xff0000, QString());  // replaces the preset-2 line
    QVector<ColourLine> lines = store.lines(drawing, 7);
    ASSERT_EQ(lines.size(), 2);
    EXPECT_EQ(lines[0].preset, 1);
    EXPECT_EQ(lines[1].colour, 0xff0000);
    EXPECT_EQ(store.indicators(drawing)[0].area, 7);
    EXPECT_TRUE(store.areasWithIndicators()[7]);
    EXPECT_FALSE(store.areasWithIndicators()[5]);
    store.deleteLine(drawing, 7, 1);
    EXPECT_EQ(store.lines(drawing, 7).size(), 1);

    const int id = store.indicators(drawing)[0].id;
    store.setChannel(id, 4, true);
    store.setSwitching(id, 4, true);
    store.setChannel(id, 6, true);
    store.setChannel(id, 6, false);
    EXPECT_EQ(store.channels(id), (QHash<int, bool>{{4, true}}));
    store.remove(drawing, 1);
    EXPECT_EQ(store.indicators(drawing).size(), 2);
    EXPECT_EQ(db.count(QStringLiteral("SELECT COUNT(*) FROM PlanIndicatorChannels")), 0);
}

TEST(PlanColouringTest, PresetColourDefaultColourAndAreaZero) {
    MainDb db;
    PlanIndicators store(db.db);
    const QString drawing = QStringLiteral("floor.svg");
    db.exec(QStringLiteral("INSERT INTO AreaNames (Area, AreaName) VALUES (5, 'Foyer')"));
    db.exec(QStringLiteral("INSERT INTO PresetNames (Area, Preset, PresetName) VALUES (5, 3, 'Evening')"));
    store.savePosition(drawing, 1, 0, 0);
    store.savePosition(drawing, 2, 50, 0);
    store.enterLine(drawing, 1, 5, 3, 0x0000ff, QStringLiteral("moon.png"));
    store.setDefaultColour(drawing, 5, 0x808080);
    store.enterLine(drawing, 2, 6, 1, 0x00ff00, QString());
    store.savePosition(QStringLiteral("other.svg"), 1, 0, 0);  // another drawing's indicator stays out

    QHash<int, int> presets{{5, 3}, {6, 1}};
    PlanColouring colouring(db.db, [&](int area) { return presets.value(area); });
    colouring.setDrawing(drawing);
    EXPECT_EQ(colouring.looks().size(), 2);
    EXPECT_FALSE(colouring.looks()[1].coloured);

    EXPECT_EQ(colouring.indicatorChange(5, 3), QVector<int>{1});
    EXPECT_EQ(colouring.looks()[1].colour, 0x0000ff);
    EXPECT_EQ(colouring.looks()[1].icon, QStringLiteral("moon.png"));
    EXPECT_EQ(colouring.looks()[1].toolTip, QStringLiteral("Area Foyer in Preset Evening"));

    colouring.indicatorChange(5, 4);
    EXPECT_EQ(colouring.looks()[1].colour, 0x808080);
    EXPECT_TRUE(colouring.looks()[1].icon.isEmpty());
    EXPECT_EQ(colouring.looks()[1].toolTip,
              QStringLiteral("Area Foyer Preset 4 (no colour mapped for this)"));

    QVector<int> all = colouring.checkAreaPresetArray();
    std::sort(all.begin(), all.end());
    EXPECT_EQ(all, (QVector<int>{1, 2}));
    EXPECT_EQ(colouring.looks()[1].colour, 0x0000ff);
    EXPECT_EQ(colouring.looks()[2].colour, 0x00ff00);
}

TEST(PlanEditingTest, LockRefusesPressesAndModifiedArrowsMoveTenTimesAsFar) {
    EXPECT_EQ(pressAction(true, false), PressAction::None);
    EXPECT_EQ(pressAction(true, true), PressAction::None);
    EXPECT_EQ(pressAction(false, true), PressAction::Menu);
    EXPECT_EQ(pressAction(false, false), PressAction::Drag);
    for (int key = 0; key < 4; ++key) {
        const QPointF plain = arrowStep(key, false);
        EXPECT_EQ(arrowStep(key, true), plain * 10);
        EXPECT_EQ(std::abs(plain.x()) + std::abs(plain.y()), 10);
    }
    EXPECT_EQ(arrowStep(0, false), QPointF(-10, 0));
    EXPECT_EQ(arrowStep(3, false), QPointF(0, 10));
}

// Heard messages travel the decoder's road: only areas with an indicator
// reach the plan view one by one; a preset for all areas asks for all.
TEST(PlanFeedTest, DecoderStepFollowsTheHasIndicatorTableAndNavigationIsRecorded) {
    MainDb db;
    qv::test::RecordingMonitor monitor;
    reactions::test::Network network(monitor);
    PlanIndicators(db.db).enterLine(QStringLiteral("floor.svg"), 1, 5, 3, 0xff, QString());
    PlanFeed feed(db.db, monitor, network.clock);
    network.inbox.addReactions(&feed);
    QVector<QPair<int, int>> changes;
    int allAreas = 0;
    QObject::connect(&feed, &PlanFeed::IndicatorChange, [&](int a, int p) { changes.push_back({a, p}); });
    QObject::connect(&feed, &PlanFeed::CheckAreaPresetArray, [&] { ++allAreas; });

    network.hear(*net::GoAreaPreset(5, 3));
    EXPECT_TRUE(changes.isEmpty());  // the table is not loaded yet
    feed.GetIndicatorChanges();
    network.hear(*net::GoAreaPreset(5, 3));
    network.hear(*net::GoAreaPreset(6, 2));  // no indicator for area 6
    network.hear(*net::GoAreaPreset(0, 4));
    EXPECT_EQ(changes, (QVector<QPair<int, int>>{{5, 3}}));
    EXPECT_EQ(allAreas, 1);

    int shown = 0;
    QObject::connect(&feed, &PlanFeed::navigate, [&](int id) { shown = id; });
    feed.NavigatePlanView(42);
    EXPECT_EQ(shown, 42);
    ASSERT_FALSE(monitor.records.empty());
    EXPECT_EQ(monitor.records.back().MsgType, QStringLiteral("Planview"));
    EXPECT_EQ(monitor.records.back().comment, QStringLiteral("Planview Navigates!"));
}

}  // namespace
}  // namespace qv::plan
