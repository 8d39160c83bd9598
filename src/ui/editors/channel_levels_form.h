#pragma once
// The named levels of one light-box channel: the list by level, a level and
// a name to enter, and a delete command.

#include "editors/light_boxes.h"

#include <QWidget>

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;

namespace qv::shell {
class Engine;
}

namespace qv::ui {

class ChannelLevelsForm : public QWidget {
    Q_OBJECT
public:
    ChannelLevelsForm(shell::Engine& engine, int area, int channel, QWidget* parent = nullptr);
    void showChannel(int area, int channel);

private:
    void reload();
    void enter();
    void deleteLevel();

    editors::LightBoxStore m_store;
    int m_area = 0;
    int m_channel = 0;
    QLabel* m_areaLabel;
    QLabel* m_channelLabel;
    QListWidget* m_list;
    QLineEdit* m_level;
    QLabel* m_percent;
    QLineEdit* m_name;
    QComboBox* m_favourites;
};

}  // namespace qv::ui
