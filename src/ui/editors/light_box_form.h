#pragma once
// The light-box window: a box number, its area and first channel (the next
// two follow), a name per channel, and a levels button per channel.

#include "editors/area_names.h"
#include "editors/light_boxes.h"

#include <QWidget>

class QComboBox;
class QLabel;
class QLineEdit;

namespace qv::ui {

class Windows;

class LightBoxForm : public QWidget {
    Q_OBJECT
public:
    LightBoxForm(Windows& windows, QWidget* parent = nullptr);
    void reload();

private:
    void showBox();
    void fillChannels();
    void chooseFirst();
    void save();
    void newBox();
    void deleteBox();
    void openLevels(int offset);
    int area() const;
    int first() const;

    Windows& m_windows;
    editors::LightBoxStore m_store;
    editors::AreaNames m_names;
    QComboBox* m_box;
    QComboBox* m_area;
    QComboBox* m_first;
    QLabel* m_second;
    QLabel* m_third;
    QLineEdit* m_channelNames[3];
};

}  // namespace qv::ui
