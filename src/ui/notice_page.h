#pragma once

#include <QWidget>

class QLabel;

namespace quillon::ui {

// A tab page that shows one notice until its editor exists ("Events", "WildePokemon").
class NoticePage : public QWidget {
    Q_OBJECT

public:
    NoticePage(const QString& labelName, const QString& notice, QWidget* parent = nullptr);
    void setNotice(const QString& text);
    QString notice() const;

private:
    QLabel* m_label;
};

}  // namespace quillon::ui
