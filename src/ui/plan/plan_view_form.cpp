#include "ui/plan/plan_view_form.h"

#include "features/plan/metafile.h"
#include "features/plan/plan_feed.h"
#include "features/plan/plan_views.h"
#include "shell/config/config_engine.h"
#include "shell/engine.h"
#include "shell/feature_set.h"
#include "ui/common/message_box.h"
#include "ui/common/units.h"
#include "ui/common/window_memory.h"
#include "ui/window_names.h"

#include <QActionGroup>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QWheelEvent>

#include <QBuffer>
#include <QDir>
#include <QGraphicsPixmapItem>
#include <QGraphicsRectItem>
#include <QGraphicsScene>
#include <QHideEvent>
#include <QImageReader>
#include <QShowEvent>

#include <cmath>
#include <utility>

namespace qv::ui {

namespace {
constexpr double kSizes[] = {400, 300, 150, 75, 50};
}

PlanViewForm::PlanViewForm(shell::Engine& engine, QWidget* parent)
    : QGraphicsView(parent), m_engine(engine), m_scene(new QGraphicsScene(this)) {
    setObjectName(QStringLiteral("PlanViewForm"));
    setWindowTitle(QStringLiteral("Planview"));
    setScene(m_scene);
    setDragMode(QGraphicsView::ScrollHandDrag);
    setTransformationAnchor(QGraphicsView::AnchorUnderMouse);
    setFocusPolicy(Qt::StrongFocus);
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
    // The template stays in the corner whatever the zoom: dragging it onto
    // the drawing adds an indicator there.
    m_template = new QLabel(viewport());
    m_template->setObjectName(QStringLiteral("templateIndicator"));
    m_template->setGeometry(8, 8, 24, 24);
    m_template->setStyleSheet(QStringLiteral("background: lightgray; border: 1px solid black;"));
    m_template->setToolTip(QStringLiteral(
        "Hi, I'm a status indicator, drag and place me somewhere. You can right mouse click me "
        "to configure me."));
    m_template->setCursor(Qt::OpenHandCursor);
    m_template->installEventFilter(this);
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
    m_dragged = nullptr;
    m_selected = 0;
    // Drawings are named by file name and live in "Planview Drawings"; one
    // that cannot be read is passed over and the view applies all the same.
    const QString fileName =
        QFileInfo(QString(view.drawing).replace(QLatin1Char('\\'), QLatin1Char('/'))).fileName();
    m_loadProblem.clear();
    // Drawn at its own size: the extents are a part of it in its own units.
    const QImage image = readDrawing(drawingPath(fileName), QSize(), &m_loadProblem);
    if (!image.isNull()) m_scene->addPixmap(QPixmap::fromImage(image))->setZValue(-1);
    m_sizeEntry = qBound(0, view.iconSize, 4);
    m_colouring->setDrawing(view.drawing);
    for (const plan::Indicator& i : plan::PlanIndicators(m_engine.mainDatabase()).indicators(view.drawing))
        addIndicatorItem(i.index, i.left, i.top);
    paint(m_items.keys().toVector());
    if (view.width > 0 && view.height > 0) {
        setSceneRect(view.left, view.top, view.width, view.height);
        fitInView(sceneRect(), Qt::KeepAspectRatio);
    }
    CheckAreaPresetArray();
    if (!fileName.isEmpty() && !m_loadProblem.isEmpty()) {
        // No box: the view is usable without its drawing. The reason stays
        // in the corner of the view and in the debug list.
        m_engine.debugLog().AddDebug(m_loadProblem);
        auto* note = m_scene->addSimpleText(m_loadProblem);
        note->setFlag(QGraphicsItem::ItemIgnoresTransformations);
        note->setPos(sceneRect().topLeft());
        note->setTransform(QTransform::fromTranslate(40, 12));  // beside the template
        note->setZValue(1);
    }
}

QString PlanViewForm::drawingPath(const QString& fileName) const {
    return QDir(m_engine.paths().dir).filePath(QStringLiteral("Planview Drawings/") + fileName);
}

bool PlanViewForm::usePicture(const QString& fileName) {
    if (m_view == 0 || locked()) return false;
    QString problem;
    const QImage image = readDrawing(drawingPath(fileName), QSize(), &problem);
    if (image.isNull()) {
        showMessage(this, BoxKind::Exclamation, problem);
        return false;
    }
    plan::PlanViews(m_engine.mainDatabase(), QDir::toNativeSeparators(m_engine.paths().dir))
        .setDrawing(m_view, fileName, 0, image.width(), 0, image.height());
    showView(m_view);
    return true;
}

void PlanViewForm::AddNewIndicator(const QPointF& at) {
    if (m_view == 0 || drawing().isEmpty() || locked()) return;
    const int index = plan::PlanIndicators(m_engine.mainDatabase()).paste(drawing(), 0, at.x(), at.y());
    addIndicatorItem(index, at.x(), at.y());
    m_colouring->setDrawing(drawing());
    paint({index});
}

bool PlanViewForm::eventFilter(QObject* watched, QEvent* event) {
    if (watched != m_template) return QGraphicsView::eventFilter(watched, event);
    if (event->type() == QEvent::MouseButtonPress) {
        m_placing = static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton && !locked();
        if (m_placing) m_template->setCursor(Qt::ClosedHandCursor);
        return true;
    }
    if (event->type() == QEvent::MouseButtonRelease && std::exchange(m_placing, false)) {
        m_template->setCursor(Qt::OpenHandCursor);
        const QPoint at =
            m_template->mapTo(viewport(), static_cast<QMouseEvent*>(event)->position().toPoint());
        if (viewport()->rect().contains(at) && !m_template->geometry().contains(at))
            AddNewIndicator(mapToScene(at));
        return true;
    }
    return QGraphicsView::eventFilter(watched, event);
}

QImage PlanViewForm::readDrawing(const QString& path, const QSize& size, QString* problem) {
    QByteArray svg;
    QBuffer buffer(&svg);
    QImageReader reader;
    if (plan::isMetafile(path)) {
        plan::MetafileSvg converted = plan::metafileToSvg(path);
        if (converted.svg.isEmpty()) {
            *problem = converted.error;
            return {};
        }
        svg = std::move(converted.svg);
        reader.setDevice(&buffer);
        reader.setFormat("svg");
    } else {
        reader.setFileName(path);
    }
    if (size.isValid()) reader.setScaledSize(size);
    QImage image = reader.read();
    if (image.isNull())
        *problem = QStringLiteral("The drawing %1 could not be loaded: %2")
                       .arg(QFileInfo(path).fileName(), reader.errorString());
    return image;
}

QGraphicsRectItem* PlanViewForm::addIndicatorItem(int index, double left, double top) {
    const double size = kSizes[m_sizeEntry];
    auto* item = m_scene->addRect(0, 0, size, size, QPen(Qt::black), QBrush(Qt::lightGray));
    item->setPos(left, top);
    item->setData(0, index);
    item->setData(1, QStringLiteral("Indicator %1").arg(index));
    item->setToolTip(QStringLiteral("Indicator %1").arg(index));
    m_items.insert(index, item);
    return item;
}

bool PlanViewForm::locked() const {
    const config::ConfigEngine* config = m_engine.configEngine();
    return config && config->lockPlanview();
}

void PlanViewForm::setIndicatorSize(int entry) {
    m_sizeEntry = qBound(0, entry, 4);
    const double size = kSizes[m_sizeEntry];
    for (QGraphicsRectItem* item : std::as_const(m_items)) item->setRect(0, 0, size, size);
}

void PlanViewForm::saveView() {
    if (m_view == 0 || locked()) return;
    const QRectF shown = mapToScene(viewport()->rect()).boundingRect();
    plan::PlanViews(m_engine.mainDatabase(), QDir::toNativeSeparators(m_engine.paths().dir))
        .saveExtents(m_view, shown.left(), shown.width(), shown.top(), shown.height(), m_sizeEntry);
}

void PlanViewForm::mousePressEvent(QMouseEvent* event) {
    auto* item = dynamic_cast<QGraphicsRectItem*>(itemAt(event->position().toPoint()));
    const int index = item ? item->data(0).toInt() : 0;
    if (index == 0) {
        QGraphicsView::mousePressEvent(event);  // panning the drawing
        return;
    }
    event->accept();
    const plan::PressAction action = plan::pressAction(locked(), event->button() == Qt::RightButton);
    if (action == plan::PressAction::None) return;
    m_selected = index;
    setFocus();
    if (action == plan::PressAction::Menu) {
        openMenu(index, event->globalPosition().toPoint());
    } else if (action == plan::PressAction::Drag) {
        m_dragged = item;
        m_dragOffset = mapToScene(event->position().toPoint()) - item->pos();
    }
}

void PlanViewForm::mouseMoveEvent(QMouseEvent* event) {
    if (!m_dragged) {
        QGraphicsView::mouseMoveEvent(event);
        return;
    }
    m_dragged->setPos(mapToScene(event->position().toPoint()) - m_dragOffset);
}

void PlanViewForm::mouseReleaseEvent(QMouseEvent* event) {
    if (!m_dragged) {
        QGraphicsView::mouseReleaseEvent(event);
        return;
    }
    QGraphicsRectItem* item = std::exchange(m_dragged, nullptr);
    plan::PlanIndicators(m_engine.mainDatabase())
        .savePosition(drawing(), item->data(0).toInt(), item->pos().x(), item->pos().y());
}

void PlanViewForm::keyPressEvent(QKeyEvent* event) {
    static const QHash<int, int> kKeys = {
        {Qt::Key_Left, 0}, {Qt::Key_Up, 1}, {Qt::Key_Right, 2}, {Qt::Key_Down, 3}};
    QGraphicsRectItem* item = m_items.value(m_selected);
    if (!item || !kKeys.contains(event->key()) || locked()) {
        QGraphicsView::keyPressEvent(event);
        return;
    }
    const bool far = event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
    item->setPos(item->pos() + plan::arrowStep(kKeys.value(event->key()), far));
    plan::PlanIndicators(m_engine.mainDatabase())
        .savePosition(drawing(), m_selected, item->pos().x(), item->pos().y());
    event->accept();
}

void PlanViewForm::wheelEvent(QWheelEvent* event) {
    const double factor = std::pow(1.0015, event->angleDelta().y());
    scale(factor, factor);
    event->accept();
}

void PlanViewForm::openMenu(int index, const QPoint& globalPos) {
    delete m_menu;
    m_menu = new QMenu(this);
    m_menu->setObjectName(QStringLiteral("indicatorMenu"));
    const int area = m_colouring->areas().value(index);
    m_menu->addAction(QStringLiteral("Presets"), this, [this, index] { presets(index); });
    m_menu->addAction(QStringLiteral("Light levels"), this,
                      [this, area] { emit openRequested(window::kLightLevels, area); });
    m_menu->addAction(QStringLiteral("Setup"), this, [this, index] {
        const QVector<plan::Indicator> all =
            plan::PlanIndicators(m_engine.mainDatabase()).indicators(drawing());
        for (const plan::Indicator& i : all)
            if (i.index == index) emit openRequested(window::kIndicatorSetup, i.id);
    });
    m_menu->addAction(QStringLiteral("Copy"), this, [this, area] { m_copiedArea = area; });
    QAction* paste =
        m_menu->addAction(QStringLiteral("Paste Area %1").arg(m_copiedArea), this, [this, index] {
            QGraphicsRectItem* from = m_items.value(index);
            const QPointF at = from ? from->pos() + QPointF(kSizes[m_sizeEntry], 0) : QPointF();
            const int added =
                plan::PlanIndicators(m_engine.mainDatabase()).paste(drawing(), m_copiedArea, at.x(), at.y());
            addIndicatorItem(added, at.x(), at.y());
            m_colouring->setDrawing(drawing());
            CheckAreaPresetArray();
        });
    paste->setEnabled(m_copiedArea >= 0);
    m_menu->addAction(QStringLiteral("Delete"), this, [this, index] {
        plan::PlanIndicators(m_engine.mainDatabase()).remove(drawing(), index);
        delete m_items.take(index);
        if (m_selected == index) m_selected = 0;
        m_colouring->setDrawing(drawing());
    });
    QMenu* sizes = m_menu->addMenu(QStringLiteral("Indicator size"));
    auto* group = new QActionGroup(sizes);
    for (int entry = 0; entry < 5; ++entry) {
        QAction* a = sizes->addAction(QString::number(kSizes[entry]), this,
                                      [this, entry] { setIndicatorSize(entry); });
        a->setCheckable(true);
        a->setChecked(entry == m_sizeEntry);
        group->addAction(a);
    }
    m_menu->popup(globalPos);
}

void PlanViewForm::presets(int index) {
    const plan::PresetsTarget target =
        plan::PlanIndicators(m_engine.mainDatabase()).presetsTarget(drawing(), index);
    if (target.area < 1 || target.area > 255) {
        showMessage(this, BoxKind::Information, plan::PlanIndicators::kNeedArea);
        return;
    }
    emit openRequested(window::kFloatingPreset, target.indicatorId);
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

// The place is read when the window first shows and written whenever it hides.
void PlanViewForm::showEvent(QShowEvent* event) {
    if (!std::exchange(m_placed, true))
        restoreWindowPlace(this, m_engine.userSettings(), QStringLiteral("Planview"));
    QGraphicsView::showEvent(event);
}

void PlanViewForm::hideEvent(QHideEvent* event) {
    if (!event->spontaneous()) saveWindowPlace(this, m_engine.userSettings(), QStringLiteral("Planview"));
    QGraphicsView::hideEvent(event);
}

}  // namespace qv::ui
