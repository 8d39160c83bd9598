#pragma once
// The start-up window: the program's name and version, one status label with
// each caption of the load sequence, and a progress bar while the monitor
// log is read back.

#include <QLabel>
#include <QProgressBar>
#include <QWidget>

namespace qv::ui {

class TitleForm : public QWidget {
    Q_OBJECT
public:
    explicit TitleForm(QWidget* parent = nullptr);

    void setCaption(const QString& text);
    // 0-100 shows the bar; -1 hides it.
    void setProgress(int percent);
    QString caption() const { return m_status->text(); }

private:
    QLabel* m_status;
    QProgressBar* m_progress;
};

}  // namespace qv::ui
