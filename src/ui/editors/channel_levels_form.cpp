#include "ui/editors/channel_levels_form.h"

#include "shell/engine.h"
#include "store/store_error.h"
#include "ui/common/message_box.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace qv::ui {

ChannelLevelsForm::ChannelLevelsForm(shell::Engine& engine, int area, int channel, QWidget* parent)
    : QWidget(parent, Qt::Window), m_store(engine.mainDatabase()) {
    setObjectName(QStringLiteral("CorvalinChannelLevelsForm"));
    setWindowTitle(tr("Light Box Channel Levels"));
    m_areaLabel = new QLabel(this);
    m_areaLabel->setObjectName(QStringLiteral("AreaLabel"));
    m_channelLabel = new QLabel(this);
    m_channelLabel->setObjectName(QStringLiteral("ChannelLabel"));
    m_list = new QListWidget(this);
    m_list->setObjectName(QStringLiteral("LevelList"));
    m_level = new QLineEdit(this);
    m_level->setObjectName(QStringLiteral("LevelTextBox"));
    m_level->setMaximumWidth(60);
    m_percent = new QLabel(this);
    m_percent->setObjectName(QStringLiteral("PercentLabel"));
    m_percent->setMinimumWidth(m_percent->fontMetrics().horizontalAdvance(QStringLiteral("(100.0%)")) + 4);
    m_name = new QLineEdit(this);
    m_name->setObjectName(QStringLiteral("ChannelLevelDescTextbox"));
    m_favourites = new QComboBox(this);
    m_favourites->setObjectName(QStringLiteral("FavouritesCombo"));
    m_favourites->setPlaceholderText(tr("levels named on other boxes"));
    auto* enterButton = new QPushButton(tr("Enter"), this);
    enterButton->setObjectName(QStringLiteral("EnterButton"));
    auto* deleteButton = new QPushButton(tr("Delete"), this);
    deleteButton->setObjectName(QStringLiteral("DeleteButton"));

    auto* where = new QFormLayout;
    where->addRow(tr("Area"), m_areaLabel);
    where->addRow(tr("Channel"), m_channelLabel);
    auto* levelRow = new QHBoxLayout;
    levelRow->addWidget(m_level);
    levelRow->addWidget(m_percent);
    levelRow->addStretch();
    where->addRow(tr("Level (0-255)"), levelRow);
    where->addRow(tr("Description"), m_name);
    where->addRow(tr("Favourites"), m_favourites);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(enterButton);
    buttons->addWidget(deleteButton);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(where);
    layout->addWidget(m_list);
    layout->addLayout(buttons);
    resize(360, 340);

    connect(m_level, &QLineEdit::textChanged, this, [this](const QString& text) {
        m_percent->setText(QStringLiteral("(") + QString::number(text.toInt() / 255.0 * 100.0, 'f', 1) +
                           QStringLiteral("%)"));
    });
    connect(m_favourites, &QComboBox::activated, this, [this](int index) {
        if (index < 0) return;
        m_level->setText(m_favourites->itemData(index).toString());
        m_name->setText(m_favourites->itemData(index, Qt::UserRole + 1).toString());
    });
    connect(enterButton, &QPushButton::clicked, this, &ChannelLevelsForm::enter);
    connect(m_name, &QLineEdit::returnPressed, this, &ChannelLevelsForm::enter);
    connect(deleteButton, &QPushButton::clicked, this, &ChannelLevelsForm::deleteLevel);
    m_level->setText(QStringLiteral("0"));
    showChannel(area, channel);
}

void ChannelLevelsForm::showChannel(int area, int channel) {
    m_area = area;
    m_channel = channel;
    m_areaLabel->setText(QString::number(area));
    m_channelLabel->setText(QString::number(channel));
    reload();
}

void ChannelLevelsForm::reload() {
    m_list->clear();
    try {
        if (const int id = m_store.channelId(m_area, m_channel))
            for (const auto& level : m_store.levels(id)) {
                auto* item =
                    new QListWidgetItem(QStringLiteral("%1  %2").arg(level.level).arg(level.name), m_list);
                item->setData(Qt::UserRole, level.level);
            }
        m_favourites->clear();
        for (const auto& favourite : m_store.favourites(m_area, m_channel)) {
            m_favourites->addItem(QStringLiteral("%1, %2").arg(favourite.level).arg(favourite.name),
                                  QString::number(favourite.level));
            m_favourites->setItemData(m_favourites->count() - 1, favourite.name, Qt::UserRole + 1);
        }
        m_favourites->setCurrentIndex(-1);
    } catch (const store::StoreError& e) {
        showMessage(this, BoxKind::Critical, QString::fromUtf8(e.what()));
    }
}

void ChannelLevelsForm::enter() {
    if (!showResult(this, m_store.addLevel(m_area, m_channel, m_level->text(), m_name->text()))) return;
    m_name->clear();
    reload();
}

void ChannelLevelsForm::deleteLevel() {
    const auto* item = m_list->currentItem();
    if (!item) return;
    if (showResult(this, m_store.deleteLevel(m_area, m_channel, item->data(Qt::UserRole).toInt()))) reload();
}

}  // namespace qv::ui
