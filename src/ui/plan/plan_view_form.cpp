#include "ui/plan/plan_view_form.h"

#include "features/plan/plan_feed.h"
#include "features/plan/plan_views.h"
#include "shell/engine.h"
#include "shell/feature_set.h"
#include "ui/common/units.h"

#include <QDir>
#include <QGraphicsPixmapItem>
#include <QGraphicsRectItem>
#include <QGraphicsScene>
#include <QImageReader>

namespace qv::ui {

namespace {
constexpr double kSizes[] = {400, 300, 150, 75, 50};
}

PlanViewForm::PlanViewForm(shell::Engine& engine, QWidget* parent)
    : QGraphicsView(parent), m_engine(engine), m_scene(new QGraphicsScene(this)) {
    setObjectName(QStringLiteral("PlanViewForm"));
    setWindowTitle(QStringLiteral("Planview"));
    setScene(m_scene);
    m_colouring = std::make_unique<plan::PlanColouring>(
        engine.mainDatabase(), [&engine](int area) { return engine.areaState().GetPresetforArea(area); });
    if (shell::FeatureSet* features = engine.features()) {
        connect(&features->plan(), &plan::PlanFeed::IndicatorChange, this, &PlanViewForm::IndicatorChange);
        connect(&features->plan(), &plan::PlanFeed::CheckAreaPresetArray, this,
                &PlanViewForm::CheckAreaPresetArray);
        connect(&features->plan(), &plan::PlanFeed::navigate, this, [this](int id) {
            showView(id);
            show();
            raise();
        });
    }
    resize(800, 600);
}

PlanViewForm::~PlanViewForm() = default;

void PlanViewForm::showView(int treeViewId) {
    const plan::PlanView view =
        plan::PlanViews(m_engine.mainDatabase(), QDir::toNativeSeparators(m_engine.paths().dir))
            .view(treeViewId);
    m_view = view.id;
    m_scene->clear();
    m_items.clear();
    // Drawings are named by file name and live in "Planview Drawings"; one
    // that cannot be read is passed over and the view applies all the same.
    const QString fileName =
        QFileInfo(QString(view.drawing).replace(QLatin1Char('\\'), QLatin1Char('/'))).fileName();
    const QString path = QDir(m_engine.paths().dir).filePath(QStringLiteral("Planview Drawings/") + fileName);
    QImageReader reader(path);
    if (view.width > 0 && view.height > 0) reader.setScaledSize(QSize(int(view.width), int(view.height)));
    const QImage image = reader.read();
    if (!image.isNull()) m_scene->addPixmap(QPixmap::fromImage(image))->setZValue(-1);
    const double size = kSizes[qBound(0, view.iconSize, 4)];
    m_colouring->setDrawing(view.drawing);
    for (const plan::Indicator& i : plan::PlanIndicators(m_engine.mainDatabase()).indicators(view.drawing)) {
        auto* item = m_scene->addRect(0, 0, size, size, QPen(Qt::black), QBrush(Qt::lightGray));
        item->setPos(i.left, i.top);
        item->setData(0, i.index);
        item->setData(1, QStringLiteral("Indicator %1").arg(i.index));
        m_items.insert(i.index, item);
    }
    paint(m_items.keys().toVector());
    if (view.width > 0 && view.height > 0) {
        setSceneRect(view.left, view.top, view.width, view.height);
        fitInView(sceneRect(), Qt::KeepAspectRatio);
    }
    CheckAreaPresetArray();
}

void PlanViewForm::IndicatorChange(int area, int preset) {
    paint(m_colouring->indicatorChange(area, preset));
}

void PlanViewForm::CheckAreaPresetArray() {
    paint(m_colouring->checkAreaPresetArray());
}

void PlanViewForm::paint(const QVector<int>& indices) {
    for (int index : indices) {
        QGraphicsRectItem* item = m_items.value(index);
        if (!item) continue;
        const plan::IndicatorLook look = m_colouring->looks().value(index);
        if (look.coloured) item->setBrush(colourFromStored(look.colour));
        item->setToolTip(look.toolTip);
    }
}

}  // namespace qv::ui
