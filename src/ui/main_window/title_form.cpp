#include "ui/main_window/title_form.h"

#include "shell/engine.h"
#include "ui/common/icons.h"

#include <QVBoxLayout>

namespace qv::ui {

TitleForm::TitleForm(QWidget* parent) : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint) {
    setObjectName(QStringLiteral("TitleForm"));
    setAttribute(Qt::WA_StyledBackground);
    setStyleSheet(
        QStringLiteral("#TitleForm { background: #1f2a38; border: 2px solid #ffd54a; }"
                       "QLabel { color: #f0f0f0; }"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(28, 22, 28, 18);
    auto* picture = new QLabel(this);
    picture->setPixmap(icon(QStringLiteral("Quorvel")).pixmap(64, 64));
    picture->setAlignment(Qt::AlignCenter);
    auto* name = new QLabel(QStringLiteral("Quorvel"), this);
    QFont big = name->font();
    big.setPointSize(big.pointSize() * 2);
    big.setBold(true);
    name->setFont(big);
    name->setAlignment(Qt::AlignCenter);
    auto* version = new QLabel(shell::Engine::kVersionText, this);
    version->setAlignment(Qt::AlignCenter);
    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("StatusLabel"));
    m_status->setAlignment(Qt::AlignCenter);
    m_status->setMinimumWidth(360);
    m_progress = new QProgressBar(this);
    m_progress->setObjectName(QStringLiteral("ProgressBar1"));
    m_progress->setRange(0, 100);
    m_progress->hide();
    layout->addWidget(picture);
    layout->addWidget(name);
    layout->addWidget(version);
    layout->addSpacing(12);
    layout->addWidget(m_status);
    layout->addWidget(m_progress);
}

void TitleForm::setCaption(const QString& text) {
    m_status->setText(text);
    m_status->repaint();
}

void TitleForm::setProgress(int percent) {
    m_progress->setVisible(percent >= 0);
    if (percent < 0) return;
    m_progress->setValue(percent);
    // The read-back runs in one pass of the loop: paint now.
    m_progress->repaint();
}

}  // namespace qv::ui
