#include "ui/editors/light_box_form.h"

#include "shell/engine.h"
#include "store/store_error.h"
#include "ui/common/message_box.h"
#include "ui/window_names.h"
#include "ui/windows.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>
#include <set>

namespace qv::ui {

namespace {

const QString kChooseBoxFirst = QStringLiteral("select a Light Box number first");
const QString kNeedChannel = QStringLiteral(
    "You must select a Channel number and assign a name for it before saving this LightBox number");

QPushButton* button(const QString& name, const QString& text, QWidget* parent) {
    auto* b = new QPushButton(text, parent);
    b->setObjectName(name);
    return b;
}

}  // namespace

LightBoxForm::LightBoxForm(Windows& windows, QWidget* parent)
    : QWidget(parent, Qt::Window),
      m_windows(windows),
      m_store(windows.engine().mainDatabase()),
      m_names(windows.engine().mainDatabase()) {
    setObjectName(QStringLiteral("CorvalinLightBoxForm"));
    setWindowTitle(tr("Corvalin Light Boxes"));
    m_box = new QComboBox(this);
    m_box->setObjectName(QStringLiteral("LightBoxCombo"));
    m_box->setEditable(true);
    m_box->setInsertPolicy(QComboBox::NoInsert);
    m_area = new QComboBox(this);
    m_area->setObjectName(QStringLiteral("AreaCombo"));
    m_first = new QComboBox(this);
    m_first->setObjectName(QStringLiteral("FirstChannelCombo"));
    m_second = new QLabel(this);
    m_second->setObjectName(QStringLiteral("SecondChannelLabel"));
    m_third = new QLabel(this);
    m_third->setObjectName(QStringLiteral("ThirdChannelLabel"));

    auto* top = new QFormLayout;
    top->addRow(tr("Light box number"), m_box);
    top->addRow(tr("Area"), m_area);
    auto* channels = new QGridLayout;
    channels->addWidget(new QLabel(tr("Channel"), this), 0, 0);
    channels->addWidget(new QLabel(tr("Description"), this), 0, 1);
    channels->addWidget(m_first, 1, 0);
    channels->addWidget(m_second, 2, 0);
    channels->addWidget(m_third, 3, 0);
    const char* boxNames[] = {"FirstChannelTextBox", "SecondChannelTextBox", "ThirdChannelTextBox"};
    for (int i = 0; i < 3; ++i) {
        m_channelNames[i] = new QLineEdit(this);
        m_channelNames[i]->setObjectName(QString::fromLatin1(boxNames[i]));
        channels->addWidget(m_channelNames[i], i + 1, 1);
        auto* levels = button(QStringLiteral("Channel%1Levelsbutton").arg(i + 1), tr("Levels..."), this);
        channels->addWidget(levels, i + 1, 2);
        connect(levels, &QPushButton::clicked, this, [this, i] { openLevels(i); });
    }
    channels->setColumnStretch(1, 1);
    channels->setColumnMinimumWidth(0, 140);

    auto* buttons = new QHBoxLayout;
    auto* create = button(QStringLiteral("NewButton"), tr("New"), this);
    auto* saveButton = button(QStringLiteral("SaveButton"), tr("Save"), this);
    auto* remove = button(QStringLiteral("DeleteButton"), tr("Delete"), this);
    auto* cancel = button(QStringLiteral("CancelButton"), tr("Cancel"), this);
    buttons->addStretch();
    for (auto* b : {create, saveButton, remove, cancel}) buttons->addWidget(b);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(channels);
    layout->addStretch();
    layout->addLayout(buttons);
    resize(460, 260);

    connect(m_box, &QComboBox::activated, this, [this] { showBox(); });
    connect(m_area, &QComboBox::activated, this, [this] { fillChannels(); });
    connect(m_first, &QComboBox::activated, this, [this] { chooseFirst(); });
    connect(create, &QPushButton::clicked, this, &LightBoxForm::newBox);
    connect(saveButton, &QPushButton::clicked, this, &LightBoxForm::save);
    connect(remove, &QPushButton::clicked, this, &LightBoxForm::deleteBox);
    connect(cancel, &QPushButton::clicked, this, &QWidget::close);
    reload();
}

int LightBoxForm::area() const {
    return m_area->currentIndex() < 0 ? -1 : m_area->currentData().toInt();
}

int LightBoxForm::first() const {
    return m_first->currentIndex() < 0 ? 0 : m_first->currentData().toInt();
}

void LightBoxForm::reload() {
    const QString box = m_box->currentText();
    try {
        std::set<int> numbers;
        for (const auto& row : m_store.boxes()) numbers.insert(row.box);
        m_box->clear();
        for (int n : numbers) m_box->addItem(QString::number(n), n);
        auto areas = m_names.areas();
        std::sort(areas.begin(), areas.end(), [](const auto& a, const auto& b) {
            return a.name.compare(b.name, Qt::CaseInsensitive) < 0;
        });
        m_area->clear();
        for (const auto& row : areas) m_area->addItem(row.name, row.number);
    } catch (const store::StoreError& e) {
        showMessage(this, BoxKind::Critical, QString::fromUtf8(e.what()));
    }
    m_box->setCurrentText(box);
    showBox();
}

void LightBoxForm::newBox() {
    m_box->setCurrentIndex(-1);
    m_box->setEditText({});
    m_area->setCurrentIndex(-1);
    m_first->clear();
    m_second->clear();
    m_third->clear();
    for (auto* name : m_channelNames) name->clear();
    m_box->setFocus();
}

void LightBoxForm::showBox() {
    bool number = false;
    const int box = m_box->currentText().toInt(&number);
    if (!number) return;
    try {
        std::vector<editors::LightBoxChannel> rows;
        for (const auto& row : m_store.boxes())
            if (row.box == box) rows.push_back(row);
        if (rows.empty()) return;
        m_area->setCurrentIndex(m_area->findData(rows[0].area));
        fillChannels();
        m_first->setCurrentIndex(m_first->findData(rows[0].channel));
        m_second->setText(QString::number(rows[0].channel + 1));
        m_third->setText(QString::number(rows[0].channel + 2));
        for (std::size_t i = 0; i < 3; ++i)
            m_channelNames[i]->setText(i < rows.size() ? rows[i].name : QString());
    } catch (const store::StoreError& e) {
        showMessage(this, BoxKind::Critical, QString::fromUtf8(e.what()));
    }
}

void LightBoxForm::fillChannels() {
    bool number = false;
    const int box = m_box->currentText().toInt(&number);
    if (!number) {
        showMessage(this, BoxKind::Critical, kChooseBoxFirst);
        return;
    }
    m_second->clear();
    m_third->clear();
    m_first->clear();
    for (int c = 1; c <= 253; ++c) m_first->addItem(QString::number(c), c);
    m_first->setCurrentIndex(-1);
    try {
        for (const auto& row : m_store.boxes())
            if (row.area == area() && row.box != box && row.channel >= 1 && row.channel <= 253)
                m_first->setItemText(row.channel - 1,
                                     QStringLiteral("%1 (used, box# %2)").arg(row.channel).arg(row.box));
    } catch (const store::StoreError& e) {
        showMessage(this, BoxKind::Critical, QString::fromUtf8(e.what()));
    }
}

void LightBoxForm::chooseFirst() {
    const int c = first();
    if (!showResult(this, m_store.checkFirstChannel(m_box->currentText().toInt(), area(), c))) {
        m_first->setCurrentIndex(-1);
        m_second->clear();
        m_third->clear();
        return;
    }
    m_second->setText(QString::number(c + 1));
    m_third->setText(QString::number(c + 2));
}

void LightBoxForm::save() {
    const QStringList names{m_channelNames[0]->text().trimmed(), m_channelNames[1]->text().trimmed(),
                            m_channelNames[2]->text().trimmed()};
    if (!showResult(this, editors::LightBoxStore::checkEntries(m_box->currentText(), area(), first(), names)))
        return;
    if (m_second->text().isEmpty() || m_third->text().isEmpty()) {
        showMessage(this, BoxKind::Exclamation, kNeedChannel);
        return;
    }
    if (showResult(this, m_store.saveBox(m_box->currentText().toInt(), area(), first(), names))) reload();
}

void LightBoxForm::deleteBox() {
    bool number = false;
    const int box = m_box->currentText().toInt(&number);
    if (!number) return;
    if (showResult(this, m_store.deleteBox(box))) {
        newBox();
        reload();
    }
}

void LightBoxForm::openLevels(int offset) {
    if (area() < 0 || first() <= 0) {
        showMessage(this, BoxKind::Exclamation, editors::LightBoxStore::kNeedAreaAndChannels);
        return;
    }
    m_windows.open(window::kLightBoxLevels, QVariantList{area(), first() + offset});
}

}  // namespace qv::ui
