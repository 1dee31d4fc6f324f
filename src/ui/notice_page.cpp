#include "ui/notice_page.h"

#include <QLabel>
#include <QVBoxLayout>

namespace quillon::ui {

NoticePage::NoticePage(const QString& labelName, const QString& notice, QWidget* parent)
    : QWidget(parent), m_label(new QLabel(notice, this)) {
    m_label->setObjectName(labelName);
    m_label->setAlignment(Qt::AlignCenter);
    m_label->setWordWrap(true);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_label);
}

void NoticePage::setNotice(const QString& text) { m_label->setText(text); }

QString NoticePage::notice() const { return m_label->text(); }

}  // namespace quillon::ui
